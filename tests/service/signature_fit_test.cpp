#include "service/signature_fit.h"

#include <gtest/gtest.h>

#include "domain/columns.h"
#include "domain/text_fields.h"
#include "platform/file_text.h"
#include "service/settings_key.h"
#include "service/signature_command.h"
#include "support/fakes.h"
#include "support/native_forms.h"

namespace velmo {
namespace {

using testing::TestPlatform;

}  // namespace

void PrintTo(const SignatureSize& size, std::ostream* out) {
    *out << size.lines << " lines, " << size.columns << " columns";
}

namespace {

// Lines and widest line counted the plain way: split at CR LF, Columns of
// each, up to the last line with text.
SignatureSize CountedByHand(TextView signature) {
    SignatureSize size;
    for (int line = 1; !signature.empty(); ++line) {
        const size_t end = std::min(signature.find(U"\r\n"), signature.size());
        if (end > 0)
            size.lines = line;
        size.columns = std::max(size.columns, static_cast<int>(Columns(signature.substr(0, end))));
        signature.remove_prefix(std::min(end + 2, signature.size()));
    }
    return size;
}

TEST(SignatureFitTest, MeasuresLinesAndDisplayColumns) {
    const struct {
        Text signature;
        SignatureSize size;
    } rows[] = {
        {U"", {0, 0}},
        {U"ab", {1, 2}},
        {U"ab\r\n", {1, 2}},
        {U"\r\n***\r\n* a *\r\n***", {4, 5}},  // the bordered layout's first empty line counts
        {U"\r\n\r\n", {0, 0}},
        {U"ab\r\n\r\n \r\n\r\n", {3, 2}},    // empty lines at the end show nothing
        {U"日本語\r\nabcde", {2, 6}},        // wide: two columns each
        {U"e\u0301e\u0301\r\n", {1, 2}},     // a mark joins the letter before
        {U"\U0001F44D\U0001F3FD!", {1, 3}},  // an emoji with its skin tone
        {U"a\nbb\rccc\r\n", {3, 3}},         // a CR or LF alone ends a line too
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(ToUtf8(row.signature));
        EXPECT_EQ(MeasureSignature(row.signature), row.size);
    }
}

class FittingEntriesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        session.fixedText = U"Ann Example";
        const Text quotes[] = {
            U"Short one.",
            // 15 characters, 30 columns.
            U"日本語の引用文です。短いですね",
            U"A quotation long enough to be wrapped over more than one row of forty columns.",
            U"Two\r\nlines",
        };
        for (const Text& quote : quotes)
            session.quoteList.Entries[static_cast<size_t>(++session.quoteList.EntryCount)] = quote;
    }
    TestPlatform p;
    SignatureSession session{{p.files, p.program, p.random}};
};

// Each signature is measured as the layout composes it, and the limits keep
// exactly the entries within both bounds.
TEST_F(FittingEntriesTest, KeepsTheEntriesWithinTheLimits) {
    const struct {
        const char* layout;
        SignatureOptions options;
        std::vector<SignatureSize> sizes;  // of entries 1 to 4
    } layouts[] = {
        {"plain, 40",
         {.variablePart = Check::On,
          .fixedPart = Check::On,
          .plainWidth = 40,
          .bordered = Check::Off},
         {{2, 11}, {2, 30}, {4, 38}, {3, 11}}},
        {"bordered, 40",
         {.variablePart = Check::On,
          .fixedPart = Check::Off,
          .bordered = Check::On,
          .borderedWidth = 40},
         {{4, 40}, {4, 40}, {6, 40}, {5, 40}}},
    };
    for (const auto& layout : layouts) {
        SCOPED_TRACE(layout.layout);
        session.options = layout.options;
        for (int entry = 1; entry <= 4; ++entry) {
            SCOPED_TRACE(entry);
            const Text signature =
                ComposeSignature(session.options, session.fixedText, session.quoteList.At(entry));
            EXPECT_EQ(EntrySignatureSize(session, entry), CountedByHand(signature));
            EXPECT_EQ(EntrySignatureSize(session, entry), layout.sizes[size_t(entry - 1)]);
        }
    }

    session.options = layouts[0].options;
    const struct {
        SizeLimits limits;
        std::vector<int> entries;
    } rows[] = {
        {{}, {1, 2, 3, 4}},
        {{.lines = 1}, {}},
        {{.lines = 2}, {1, 2}},
        {{.columns = 29}, {1, 4}},  // the Japanese quote takes 30 columns, not 15
        {{.columns = 30}, {1, 2, 4}},
        {{.lines = 3, .columns = 20}, {1, 4}},
        {{.lines = 4, .columns = 10}, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message()
                     << row.limits.lines.value_or(0) << "/" << row.limits.columns.value_or(0));
        EXPECT_EQ(FittingEntries(session, row.limits), row.entries);
    }
}

const Text kData = testing::Folder(U"opt/velmo");

// velmo-signature with limits: a random pick among the entries that fit,
// every one as likely; an entry asked for must fit; none at all is a failure.
TEST(SignatureFitCommandTest, PicksOnlyAmongTheSignaturesThatFit) {
    const SignatureOptions options{.variablePart = Check::On,
                                   .order = PartOrder::VariableFirst,
                                   .plainWidth = 40,
                                   .bordered = Check::Off};
    const auto run = [&](SignatureRequest request, std::deque<int> random) {
        TestPlatform p;
        p.files.files[kData + U"Variable.txt"] = EncodeFileText(
            U"\"Three\r\nshort\r\nlines\"\r\n\"Short one.\"\r\n"
            U"\"A quotation long enough to be wrapped over more than one row.\"\r\n"
            U"\"One more short one.\"\r\n");
        EXPECT_TRUE(p.settings.CreateKey(Text(UserKey)).value_or(false));
        EXPECT_TRUE(p.settings.SetValues(Text(SettingsKey), EncodeOptions(options, U"", U"", U""))
                        .value_or(false));
        p.random.values = std::move(random);
        SignatureOutcome out = MakeSignature({p.files, p.settings, p.program, p.random}, request);
        return std::make_pair(out, p.random.asked);
    };
    using Asked = std::vector<std::pair<int, int>>;

    // Entries 2 and 4 fit one line: the second of them is the fourth entry.
    auto [out, asked] = run({.limits = {.lines = 1}}, {2});
    ASSERT_EQ(out.failure, SignatureFailure::None);
    EXPECT_EQ(out.bytes, testing::NativeFileBytes("One more short one.\r\n\r\n\r\n\r\n"));
    EXPECT_EQ(out.size, (SignatureSize{1, 19}));
    EXPECT_EQ(asked, (Asked{{1, 2}}));

    std::tie(out, asked) = run({.limits = {.lines = 2, .columns = 10}}, {});
    ASSERT_EQ(out.failure, SignatureFailure::None);
    EXPECT_EQ(out.bytes, testing::NativeFileBytes("Short one.\r\n\r\n\r\n\r\n"));
    EXPECT_EQ(asked, (Asked{{1, 1}}));

    std::tie(out, asked) = run({.entry = 3, .limits = {.lines = 1}}, {});
    EXPECT_EQ(out.failure, SignatureFailure::TooLarge);
    EXPECT_EQ(out.size, (SignatureSize{2, 38}));
    EXPECT_TRUE(out.bytes.empty());

    // The fewest lines (entry 2) and the fewest columns (entry 1) apart.
    std::tie(out, asked) = run({.limits = {.lines = 1, .columns = 9}}, {});
    EXPECT_EQ(out.failure, SignatureFailure::NoneFits);
    EXPECT_EQ(out.size, (SignatureSize{1, 5}));
    EXPECT_TRUE(asked.empty());
}

}  // namespace
}  // namespace velmo

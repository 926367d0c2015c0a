#include "service/signature_command.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/file_text.h"
#include "platform/read_only_files.h"
#include "service/signature_files.h"
#include "support/fakes.h"
#include "support/native_forms.h"
#include "ui/startup.h"

namespace velmo {
namespace {

using testing::Folder;
using testing::Rooted;

const Text kData = Folder(U"opt/velmo");
const Text kSignature = Rooted(U"home/test/Documents/sig.txt");

// The user's files as the window program leaves them.
void PutFiles(testing::TestPlatform& p, const SignatureOptions& o) {
    p.files.files[kData + U"Fixed.fxt"] = EncodeFileText(U"\"Ann Example\"\r\n\"Straße 5\"\r\n");
    p.files.files[kData + U"Variable.txt"] = EncodeFileText(
        U"\"Short one.\"\r\n\"A quotation long enough to be wrapped over more than one row of "
        U"any of the widths, with \"\"quotes\"\" and ümlauts.\"\r\n\"Two\r\nlines\"\r\n");
    ASSERT_TRUE(p.settings.CreateKey(Text(UserKey)));
    ASSERT_TRUE(p.settings.SetValues(Text(SettingsKey), EncodeOptions(o, kSignature, U"", U"")));
}

SignatureOptions RandomOptions(std::mt19937& gen) {
    const auto pick = [&gen](int n) { return std::uniform_int_distribution<int>(0, n - 1)(gen); };
    const auto check = [&] { return static_cast<Check>(pick(3)); };
    const auto text = [&] {
        static const TextView kChars = U"*=-#~é<>|& ";
        Text t;
        for (int n = pick(4); n-- > 0;)
            t += kChars[static_cast<size_t>(pick(static_cast<int>(kChars.size())))];
        return t;
    };
    SignatureOptions o;
    o.toFile = pick(2) == 0 ? Check::On : Check::Greyed;
    o.variablePart = check();
    o.fixedPart = check();
    o.order = pick(2) == 0 ? PartOrder::FixedFirst : PartOrder::VariableFirst;
    o.output = static_cast<OutputForm>(pick(3));
    o.plainWidth = 40 + 20 * pick(4);
    o.bordered = check();
    o.blankRows = check();
    o.top = pick(2) == 0 ? TopBorder::Like : TopBorder::Repeat;
    o.topLike = Repeat(text() + U"*", 20 + pick(30));
    o.topRepeat = text();
    o.borderedWidth = 40 + 20 * pick(4);
    o.bottom = static_cast<BottomBorder>(pick(4));
    o.bottomLike = text();
    o.bottomRepeat = text();
    o.leftSide = text();
    o.indent = pick(5);
    o.rightSameAsLeft = check();
    o.rightSide = text();
    o.separator = static_cast<PartSeparator>(pick(5));
    return o;
}

// The window program at start-up and the command, with the same options and
// entry, make the same signature file.
TEST(SignatureCommandTest, PrintsAndWritesWhatTheWindowProgramWrites) {
    std::mt19937 gen(2026);
    for (int round = 0; round < 150; ++round) {
        const SignatureOptions o = RandomOptions(gen);
        const int entry = 1 + round % 3;
        SCOPED_TRACE("round " + std::to_string(round));

        testing::TestApp window;
        PutFiles(window, o);
        window.random.values = {entry};
        ASSERT_TRUE(Main(window.app));
        ASSERT_TRUE(window.files.files.count(kSignature));
        const std::string written = window.files.files[kSignature];

        testing::TestPlatform p;
        PutFiles(p, o);
        const SignaturePorts ports{p.files, p.settings, p.program, p.random};
        SignatureOutcome out = MakeSignature(ports, {o.output, entry, false});
        ASSERT_EQ(out.failure, SignatureFailure::None);
        EXPECT_EQ(out.bytes, written);
        EXPECT_FALSE(p.files.files.count(kSignature)) << "printing writes nothing";

        p.random.values = {entry};
        out = MakeSignature(ports, {std::nullopt, std::nullopt, true});
        ASSERT_EQ(out.failure, SignatureFailure::None);
        EXPECT_EQ(p.files.files[kSignature], written);
    }
}

struct FailureRow {
    const char* name;
    std::function<void(testing::TestPlatform&)> change;
    SignatureRequest request;
    SignatureFailure expected;
};

class SignatureFailureTest : public ::testing::TestWithParam<FailureRow> {};

TEST_P(SignatureFailureTest, IsReportedAndNothingIsWritten) {
    testing::TestPlatform p;
    SignatureOptions o;
    o.fixedPart = Check::On;
    o.toFile = Check::On;
    PutFiles(p, o);
    GetParam().change(p);
    const std::map<Text, std::string> before = p.files.files;
    // The settings only read, as the command has them.
    ReadOnlyFiles readOnly(p.files);
    RegFileStore settings(readOnly, testing::kTestSettingsFile);
    const SignatureOutcome out =
        MakeSignature({p.files, settings, p.program, p.random}, GetParam().request);
    EXPECT_EQ(out.failure, GetParam().expected);
    EXPECT_TRUE(out.bytes.empty());
    EXPECT_EQ(p.files.files, before);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, SignatureFailureTest,
    ::testing::Values(
        FailureRow{"NoSettings",
                   [](auto& p) { p.files.files.erase(testing::kTestSettingsFile); },
                   {},
                   SignatureFailure::NoSettings},
        FailureRow{"CorruptSettingsAreLeftAlone",
                   [](auto& p) { p.files.files[testing::kTestSettingsFile] = "not a registry"; },
                   {},
                   SignatureFailure::SettingsUnreadable},
        FailureRow{"QuoteListMissing",
                   [](auto& p) { p.files.files.erase(kData + U"Variable.txt"); },
                   {},
                   SignatureFailure::QuoteListUnreadable},
        FailureRow{"FixedTextMissing",
                   [](auto& p) { p.files.files.erase(kData + U"Fixed.fxt"); },
                   {},
                   SignatureFailure::FixedTextUnreadable},
        FailureRow{
            "EntryZero", [](auto&) {}, {std::nullopt, 0, false}, SignatureFailure::EntryOutOfRange},
        FailureRow{"EntryPastTheList",
                   [](auto&) {},
                   {std::nullopt, 4, false},
                   SignatureFailure::EntryOutOfRange},
        FailureRow{"WriteWithoutFileOutput",
                   [](auto& p) {
                       SignatureOptions o;
                       o.fixedPart = Check::On;
                       ASSERT_TRUE(p.settings.SetValues(Text(SettingsKey),
                                                        EncodeOptions(o, kSignature, U"", U"")));
                   },
                   {std::nullopt, std::nullopt, true},
                   SignatureFailure::NoSignatureFile},
        FailureRow{"WriteOverItsOwnQuoteList",
                   [](auto& p) { p.files.aliases[kSignature] = kData + U"Variable.txt"; },
                   {std::nullopt, std::nullopt, true},
                   SignatureFailure::SignatureFileRefused},
        FailureRow{"WriteFails",
                   [](auto& p) {
                       p.files.failWrites[kSignature] =
                           std::make_error_code(std::errc::permission_denied);
                   },
                   {std::nullopt, std::nullopt, true},
                   SignatureFailure::SignatureFileUnwritable}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(SignatureCommandTest, AnEmptyListGivesTheSignatureWithoutAQuote) {
    testing::TestPlatform p;
    SignatureOptions o;
    o.bordered = Check::Off;
    PutFiles(p, o);
    p.files.files[kData + U"Variable.txt"] = "";
    const SignatureOutcome out = MakeSignature({p.files, p.settings, p.program, p.random}, {});
    ASSERT_EQ(out.failure, SignatureFailure::None);
    // The fixed part, left out, leaves its empty row.
    EXPECT_EQ(out.bytes, EncodeFileText(NativeLineEnds(U"\r\nNo Quote Selected\r\n\r\n\r\n")));
}

}  // namespace
}  // namespace velmo

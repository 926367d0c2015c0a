#include "service/quotation_file.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/file_text.h"
#include "service/settings_key.h"
#include "service/signature_command.h"
#include "support/fakes.h"

namespace velmo {
namespace {

using testing::TestPlatform;

const Text kFortunes = testing::Rooted(U"usr/share/games/fortunes/fortunes");

// Every way the random numbers can fall picks each quotation equally often:
// with three, the 1 x 2 x 3 ways pick each twice.
TEST(QuotationFileTest, EachQuotationEquallyLikely) {
    TestPlatform p;
    p.files.files[kFortunes] = "A\n%\nB\n%\nC\n%\n";
    std::map<Text, int> picked;
    for (int second = 1; second <= 2; ++second) {
        for (int third = 1; third <= 3; ++third) {
            p.random.values = {1, second, third};
            p.random.asked.clear();
            const QuotationPick pick = PickQuotation(p.files, p.random, kFortunes, std::nullopt);
            ASSERT_TRUE(pick.file);
            EXPECT_EQ(pick.count, 3);
            ++picked[pick.quotation.value_or(U"none")];
            EXPECT_EQ(p.random.asked, (std::vector<std::pair<int, int>>{{1, 1}, {1, 2}, {1, 3}}));
        }
    }
    EXPECT_EQ(picked, (std::map<Text, int>{{U"A", 2}, {U"B", 2}, {U"C", 2}}));
}

TEST(QuotationFileTest, EntryCountAndFailure) {
    TestPlatform p;
    p.files.files[kFortunes] = EncodeFileText(U"A\r\n%\r\nB\r\nb\r\n%\r\n");
    EXPECT_EQ(PickQuotation(p.files, p.random, kFortunes, 2).quotation, U"B\r\nb");
    const QuotationPick beyond = PickQuotation(p.files, p.random, kFortunes, 3);
    EXPECT_EQ(beyond.count, 2);
    EXPECT_FALSE(beyond.quotation);
    EXPECT_TRUE(p.random.asked.empty());
    // UTF-16 is read as text, not counted in bytes.
    using namespace std::string_literals;
    p.files.files[kFortunes] =
        "\xFF\xFE"
        "A\0\n\0%\0\n\0B\0\r\0\n\0b\0"s;
    EXPECT_EQ(PickQuotation(p.files, p.random, kFortunes, 2).quotation, U"B\r\nb");
    EXPECT_EQ(PickQuotation(p.files, p.random, kFortunes, 3).count, 2);
    const QuotationPick missing =
        PickQuotation(p.files, p.random, testing::Rooted(U"none"), std::nullopt);
    EXPECT_FALSE(missing.file);
    EXPECT_EQ(missing.count, 0);
}

// --list takes its quotation from the file and leaves the user's own list
// unread and unchanged; --entry counts in the file.
TEST(QuotationFileTest, SignatureFromAnotherFile) {
    TestPlatform p;
    const Text own = testing::Folder(U"opt/velmo") + U"Variable.txt";
    p.files.files[own] = "\"own quotation\"\r\n";
    p.files.files[kFortunes] = "Fortune one\n%\nFortune two\n%\n";
    ASSERT_TRUE(p.settings.CreateKey(Text(UserKey)).value_or(false));
    SignatureOptions options;
    options.variablePart = Check::On;
    ASSERT_TRUE(p.settings.SetValues(Text(SettingsKey), EncodeOptions(options, U"", U"", U""))
                    .value_or(false));
    const std::map<Text, std::string> before = p.files.files;
    const SignaturePorts ports{p.files, p.settings, p.program, p.random};

    SignatureOutcome out = MakeSignature(ports, {std::nullopt, 2, false, kFortunes});
    ASSERT_EQ(out.failure, SignatureFailure::None);
    EXPECT_NE(out.bytes.find("Fortune two"), std::string::npos);
    EXPECT_EQ(out.bytes.find("own quotation"), std::string::npos);
    out = MakeSignature(ports, {std::nullopt, 3, false, kFortunes});
    EXPECT_EQ(out.failure, SignatureFailure::EntryOutOfRange);
    EXPECT_EQ(out.entries, 2);
    out = MakeSignature(ports, {std::nullopt, std::nullopt, false, own + U"x"});
    EXPECT_EQ(out.failure, SignatureFailure::QuoteListUnreadable);
    EXPECT_EQ(out.path, own + U"x");
    EXPECT_EQ(p.files.files, before);
}

}  // namespace
}  // namespace velmo

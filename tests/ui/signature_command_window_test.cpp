#include <gtest/gtest.h>

#include <random>

#include "domain/text_fields.h"
#include "platform/file_text.h"
#include "service/settings_key.h"
#include "service/signature_command.h"
#include "support/fakes.h"
#include "ui/startup.h"

namespace velmo {
namespace {

using testing::TestPlatform;

const Text kData = testing::Folder(U"opt/velmo");
const Text kFixed = kData + U"Fixed.fxt", kQuotes = kData + U"Variable.txt";
const Text kSignature = testing::Rooted(U"home/test/Documents/sig.txt");

// The user's files as the window program leaves them.
void PutFiles(TestPlatform& p, const SignatureOptions& o, bool emptyList = false) {
    p.files.files[kFixed] = EncodeFileText(U"\"Ann Example\"\r\n\"Straße 5\"\r\n");
    const Text quotes =
        U"\"Short one.\"\r\n\"A quotation long enough to be wrapped over more than "
        U"one row of any of the widths, with \"\"quotes\"\" and ümlauts.\"\r\n"
        U"\"Two\r\nlines\"\r\n";
    p.files.files[kQuotes] = emptyList ? "" : EncodeFileText(quotes);
    ASSERT_TRUE(p.settings.CreateKey(Text(UserKey)).value_or(false));
    ASSERT_TRUE(p.settings.SetValues(Text(SettingsKey), EncodeOptions(o, kSignature, U"", U""))
                    .value_or(false));
}

// Options of every kind; the layout's own details are ComposeSignatureTest's.
SignatureOptions RandomOptions(std::mt19937& gen) {
    const auto pick = [&gen](int n) { return std::uniform_int_distribution<int>(0, n - 1)(gen); };
    const auto check = [&] { return static_cast<Check>(pick(3)); };
    // Up to three of these characters, markup and a non-ASCII one among them.
    const auto text = [&] { return Text(U"*=-#~é<>|& ").substr(pick(11), pick(4)); };
    SignatureOptions o;
    o.toFile = pick(2) == 0 ? Check::On : Check::Greyed;
    o.variablePart = check();
    o.fixedPart = check();
    o.order = static_cast<PartOrder>(pick(2));
    o.output = static_cast<OutputForm>(pick(3));
    o.plainWidth = o.borderedWidth = 40 + 20 * pick(4);
    o.bordered = o.blankRows = o.rightSameAsLeft = check();
    o.top = static_cast<TopBorder>(pick(2));
    o.topLike = Repeat(text() + U"*", 20 + pick(30));
    o.topRepeat = o.bottomRepeat = text();
    o.bottom = static_cast<BottomBorder>(pick(4));
    o.bottomLike = o.leftSide = text();
    o.rightSide = text();
    o.indent = pick(5);
    o.separator = static_cast<PartSeparator>(pick(5));
    return o;
}

// The window program at start-up and the command, with the same options and
// entry, make the same signature file, also of an empty list; printing writes
// nothing.
TEST(SignatureCommandTest, PrintsAndWritesWhatTheWindowProgramWrites) {
    std::mt19937 gen(2026);
    for (int round = 0; round < 150; ++round) {
        const SignatureOptions o = RandomOptions(gen);
        const int entry = round % 4;  // 0: an empty list
        SCOPED_TRACE("round " + std::to_string(round));
        testing::TestApp window;
        PutFiles(window, o, entry == 0);
        window.random.values = {entry};
        ASSERT_TRUE(Main(window.app));
        const std::string written = window.files.files[kSignature];

        TestPlatform p;
        PutFiles(p, o, entry == 0);
        const SignaturePorts ports{p.files, p.settings, p.program, p.random};
        SignatureOutcome out = MakeSignature(
            ports, {o.output, entry ? std::optional(entry) : std::nullopt, false, {}});
        ASSERT_EQ(out.failure, SignatureFailure::None);
        EXPECT_EQ(out.bytes, written);
        EXPECT_FALSE(p.files.files.count(kSignature));
        p.random.values = {entry};
        ASSERT_EQ(MakeSignature(ports, {std::nullopt, std::nullopt, true, {}}).failure,
                  SignatureFailure::None);
        EXPECT_EQ(p.files.files[kSignature], written);
    }
}

}  // namespace
}  // namespace velmo

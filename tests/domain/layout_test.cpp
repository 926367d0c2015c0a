#include "domain/layout.h"

#include <gtest/gtest.h>

#include <chrono>
#include <tuple>

#include "domain/wrap.h"
#include "support/text_helpers.h"

namespace velmo {
namespace {

using testing::Lines, testing::Spaces;

// Rows: the width as the combo box holds it, read as the options read it, the
// text, the text wrapped. Lines hold at most width - 1 characters.
TEST(WrapText, WorkedExamples) {
    const TextView rows[][3] = {
        {U"12", U"one two three four five six", U"one two \r\nthree four \r\nfive six\r\n"},
        {U"16", U"  Roses are red,\r\nviolets are blue.  ",
         U"Roses are red,\r\nviolets are \r\nblue.\r\n"},
        {U"4", U"a  b   c", U"a  \r\nb  \r\n c\r\n"},
        {U"40", U"     ", U"\r\n"},
        {U"40", U"abc\r\n", U"abc\r\n\r\n"},
        {U"12", U"abcdefghijklmnopqrstuvwxyzabcd", U"abcdefghijklmnopqrstuvwxyzabcd\r\n"},
        // Half to even: 12.5 is 12, 13.5 is 14.
        {U"12.5", U"abcd efghij kl", U"abcd \r\nefghij kl\r\n"},
        {U"13.5", U"abcd efghij k", U"abcd efghij k\r\n"},
        // Exactly full stays on the line (one more moves on, above).
        {U"12", U"abcd efghi kl", U"abcd efghi \r\nkl\r\n"},
        // A CR one column beyond reach does not end the line either.
        {U"12", U"abcdefghijk\r\nl m", U"\r\nabcdefghijk\r\n\r\nl m\r\n"},
        // A CR beyond reach does not end the line: "ghij\r\nkl" is one word.
        {U"12", U"abc def ghij\r\nkl mno", U"abc def \r\nghij\r\nkl mno\r\n"},
        // An over-long word is cut into full lines after the current one...
        {U"12", U"short averyveryverylongword end",
         U"short \r\naveryveryve\r\nrylongword \r\nend\r\n"},
        // ...keeps a line break before it whole...
        {U"12", U"ab\r\naveryveryverylongword end",
         U"ab\r\n\r\naveryveryve\r\nrylongword \r\nend\r\n"},
        // ...takes a lone CR before it as it is...
        {U"12", U"ab\raveryveryverylongword end", U"ab\r\r\naveryveryve\r\nrylongword \r\nend\r\n"},
        // ...and stops cutting at a break inside it.
        {U"8", U"x abcdefghijklmnop\r\nqrstuvwxyz end",
         U"x \r\nabcdefg\r\nhijklmn\r\nop\r\n\r\nqrstuvw\r\nxyz end\r\n"},
        // No room for a character: the text comes back trimmed, unwrapped.
        {U"1", U" a b ", U"a b\r\n"},
        {U"2", U"a b", U"\r\na\r\n \r\nb\r\n"},
        // Characters are counted, not bytes.
        {U"12", U"Grüße aus Köln und Zürich", U"Grüße aus \r\nKöln und \r\nZürich\r\n"},
    };
    for (const auto& [width, input, expected] : rows) {
        EXPECT_EQ(WrapText(input, ToWholeNumber(width)), expected)
            << "width " << ToUtf8(width) << ": " << ToUtf8(input);
    }
}

TEST(WrapText, LongTextsTakeLinearTime) {
    // A mebibyte of prose with no line break and of lines with no space (each word used to search
    // the rest for a CR, each line for a space): milliseconds when linear, a minute when not.
    const auto began = std::chrono::steady_clock::now();
    const Text prose = U"The quick brown fox jumps over ";
    EXPECT_TRUE(WrapText(Repeat(prose, 1 << 15), 32) ==
                Repeat(prose + U"\r\n", (1 << 15) - 1) + TrimBlanks(prose) + U"\r\n");
    EXPECT_TRUE(WrapText(Repeat(U"Regards,\r\n", 1 << 17), 40) ==
                Repeat(U"Regards,\r\n", 1 << 17) + U"\r\n");
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(10));
}

const Text kFox = U"The quick brown fox jumps over the lazy dog again and again.";
const Text kWriter = U"A. Writer\r\nSmall Town";

// "=-" repeated to 40, "**" sides indented by one, the quote first.
const SignatureOptions kTight = {.fixedPart = Check::On,
                                 .order = PartOrder::VariableFirst,
                                 .topRepeat = U"=-",
                                 .borderedWidth = 40,
                                 .leftSide = U"**",
                                 .rightSide = U"**"};

// The worked example: blank rows, and a blank line between the parts.
void Spaced(SignatureOptions& o) {
    o.blankRows = Check::On;
    o.separator = PartSeparator::BlankLine;
}

const Text kTop = Repeat(U"=-", 20);
const Text kBlank = U"**" + Spaces(36) + U"**";
const Text kFox1 = U"** The quick brown fox jumps over " + Spaces(3) + U" **";
const Text kFox2 = U"** the lazy dog again and again." + Spaces(5) + U" **";
const Text kX = U"** x" + Spaces(33) + U" **";
const Text kMe = U"** me" + Spaces(32) + U" **";

TEST(ComposeSignatureTest, OptionsInTextOut) {
    // Rows: the change to the tight options, the fixed part, the quote, the signature.
    const std::tuple<void (*)(SignatureOptions&), Text, Text, Text> rows[] = {
        {Spaced, kWriter, kFox,
         Lines({U"", kTop, kBlank, kFox1, kFox2, kBlank, U"** A. Writer" + Spaces(25) + U" **",
                U"** Small Town" + Spaces(24) + U" **", kBlank, kTop})},
        // HTML rows have no sides and end one character later.
        {[](SignatureOptions& o) {
             Spaced(o);
             o.output = OutputForm::Html;
         },
         U"me", U"x",
         Lines({U"", kTop, U"", U"x" + Spaces(41), U"", U"me" + Spaces(40), U"", kTop})},
        {[](SignatureOptions& o) {
             Spaced(o);
             o.bordered = Check::Off;
             o.plainWidth = 40;
         },
         kWriter, kFox,
         Lines({U"The quick brown fox jumps over the ", U"lazy dog again and again.", U"",
                U"A. Writer", U"Small Town", U""})},
        // Only a plain tick borders; the plain layout knows no border separator.
        {[](SignatureOptions& o) {
             o.bordered = Check::Greyed;
             o.order = PartOrder::FixedFirst;
             o.separator = PartSeparator::SameAsTop;
         },
         U"me", U"quote", Lines({U"me", U"quote", U""})},
        // Greyed parts are included; no quote picked shows as such.
        {[](SignatureOptions& o) {
             o.bordered = Check::Off;
             o.fixedPart = Check::Greyed;
             o.variablePart = Check::Greyed;
         },
         U"me", U"", Lines({U"No Quote Selected", U"me", U""})},
        // A repeated top rounds down (40 / 3: 13), a repeated bottom half to
        // even (40 / 6: 7; the Like top's 47 / 2: 24).
        {[](SignatureOptions& o) {
             o.topRepeat = U"abc";
             o.bottom = BottomBorder::Repeat;
             o.bottomRepeat = U"123456";
         },
         U"", U"x", Lines({U"", Repeat(U"abc", 13), kX}) + Repeat(U"123456", 7)},
        {[](SignatureOptions& o) {
             o.top = TopBorder::Like;
             o.topLike = Repeat(U"~", 47);
             o.bottom = BottomBorder::Repeat;
             o.bottomRepeat = U"-+";
         },
         U"", U"x",
         Lines({U"", Repeat(U"~", 47), U"** x" + Spaces(40) + U" **"}) + Repeat(U"-+", 24)},
        {[](SignatureOptions& o) {
             o.bottom = BottomBorder::Like;
             o.bottomLike = U"  -- the end --";
             o.separator = PartSeparator::SameAsBottom;
         },
         U"me", U"x", Lines({U"", kTop, kX, U"  -- the end --", kMe}) + U"  -- the end --"},
        // An unchosen bottom is the top.
        {[](SignatureOptions& o) { o.separator = PartSeparator::SameAsTop; }, U"me", U"x",
         Lines({U"", kTop, kX, kTop, kMe, kTop})},
        // One part alone still gets the separator.
        {[](SignatureOptions& o) {
             o.separator = PartSeparator::BlankLine;
             o.fixedPart = Check::Off;
         },
         kWriter, kFox, Lines({U"", kTop, kFox1, kFox2, kBlank, kTop})},
        {[](SignatureOptions& o) { o.topRepeat = U""; }, U"", U"x", Lines({U"", U"", kX, U""})},
        // Line breaks start rows; a last word too long for a row is not cut or padded.
        {[](SignatureOptions&) {}, U"", U"one\r\n\r\n" + Repeat(U"abcd", 9),
         Lines({U"", kTop, U"** one" + Spaces(31) + U" **", kBlank,
                U"** " + Repeat(U"abcd", 9) + U" **", kTop})},
        // Characters count, not bytes.
        {[](SignatureOptions& o) {
             o.leftSide = U"§";
             o.rightSide = U"#";
             o.rightSameAsLeft = Check::On;
             o.indent = 0;
         },
         U"", U"Jürgen Weiß", Lines({U"", kTop, U"§Jürgen Weiß" + Spaces(27) + U"§", kTop})},
        {[](SignatureOptions& o) {
             o.rightSameAsLeft = Check::Greyed;
             o.leftSide = U"<";
             o.rightSide = U">";
             o.indent = 4;
         },
         U"", U"x", Lines({U"", kTop, U"<    x" + Spaces(29) + U"    >", kTop})},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const auto& [change, fixed, quote, expected] = rows[i];
        SignatureOptions o = kTight;
        change(o);
        EXPECT_EQ(ComposeSignature(o, fixed, quote), expected)
            << "row " << i << ": " << ToUtf8(quote);
    }
}

}  // namespace
}  // namespace velmo

#include "domain/layout.h"

#include <gtest/gtest.h>

#include "support/text_helpers.h"

namespace velmo {
namespace {

using testing::Lines;
using testing::Spaces;

const Text kFox = U"The quick brown fox jumps over the lazy dog again and again.";
const Text kWriter = U"A. Writer\r\nSmall Town";

// "=-" repeated to 40, "**" sides indented by one, the quote first.
SignatureOptions Tight() {
    SignatureOptions o;
    o.fixedPart = Check::On;
    o.order = PartOrder::VariableFirst;
    o.topRepeat = U"=-";
    o.borderedWidth = 40;
    o.leftSide = U"**";
    o.rightSide = U"**";
    return o;
}

// The worked example's options: the same with blank rows and a blank line
// between the parts.
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
    const struct {
        void (*change)(SignatureOptions&);
        Text fixed;
        Text quote;
        Text expected;
    } rows[] = {
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
        {[](SignatureOptions& o) {
             o.bordered = Check::Off;
             o.fixedPart = Check::Off;
             o.variablePart = Check::Off;
         },
         kWriter, kFox, U""},
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
    for (const auto& row : rows) {
        SignatureOptions o = Tight();
        row.change(o);
        EXPECT_EQ(ComposeSignature(o, row.fixed, row.quote), row.expected)
            << "row " << &row - rows << ": " << ToUtf8(row.quote);
    }
}

}  // namespace
}  // namespace velmo

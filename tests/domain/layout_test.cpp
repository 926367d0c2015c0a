#include "domain/layout.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/text_helpers.h"

namespace velmo {
namespace {

using testing::Lines;
using testing::Spaces;

const Text kFox = U"The quick brown fox jumps over the lazy dog again and again.";
const Text kWriter = U"A. Writer\r\nSmall Town";

// The worked example's bordered options: "=-" repeated to 40, "**" sides
// indented by one, blank rows, a blank line between the parts, quote first.
SignatureOptions Bordered() {
    SignatureOptions o;
    o.fixedPart = Check::On;
    o.order = PartOrder::VariableFirst;
    o.topRepeat = U"=-";
    o.borderedWidth = 40;
    o.leftSide = U"**";
    o.rightSide = U"**";
    o.blankRows = Check::On;
    o.separator = PartSeparator::BlankLine;
    return o;
}

// The same without blank rows or a separator, as the border rows below use.
SignatureOptions Tight() {
    SignatureOptions o = Bordered();
    o.blankRows = Check::Off;
    o.separator = PartSeparator::None;
    return o;
}

const Text kTop = Repeat(U"=-", 20);
const Text kBlank = U"**" + Spaces(36) + U"**";
const Text kFox1 = U"** The quick brown fox jumps over " + Spaces(3) + U" **";
const Text kFox2 = U"** the lazy dog again and again." + Spaces(5) + U" **";
const Text kWriter1 = U"** A. Writer" + Spaces(25) + U" **";
const Text kWriter2 = U"** Small Town" + Spaces(24) + U" **";

struct ComposeRow {
    const char* name;
    std::function<void(SignatureOptions&)> change;
    Text fixed;
    Text quote;
    Text expected;
};

class ComposeTest : public ::testing::TestWithParam<ComposeRow> {};

TEST_P(ComposeTest, OptionsInTextOut) {
    const ComposeRow& row = GetParam();
    SignatureOptions o = Bordered();
    row.change(o);
    EXPECT_EQ(ComposeSignature(o, row.fixed, row.quote), row.expected);
}

const auto kNoChange = [](SignatureOptions&) {};

INSTANTIATE_TEST_SUITE_P(Layouts, ComposeTest,
                         ::testing::Values(
                             ComposeRow{"BorderedWorkedExample", kNoChange, kWriter, kFox,
                                        Lines({U"", kTop, kBlank, kFox1, kFox2, kBlank, kWriter1,
                                               kWriter2, kBlank, kTop})},
                             ComposeRow{"BorderedInHtmlHasNoSides",
                                        [](SignatureOptions& o) { o.output = OutputForm::Html; },
                                        kWriter, kFox,
                                        Lines({U"", kTop, U"",
                                               U"The quick brown fox jumps over the " + Spaces(7),
                                               U"lazy dog again and again." + Spaces(17), U"",
                                               U"A. Writer" + Spaces(33),
                                               U"Small Town" + Spaces(32), U"", kTop})},
                             ComposeRow{"PlainWorkedExample",
                                        [](SignatureOptions& o) {
                                            o.bordered = Check::Off;
                                            o.plainWidth = 40;
                                        },
                                        kWriter, kFox,
                                        Lines({U"The quick brown fox jumps over the ",
                                               U"lazy dog again and again.", U"", U"A. Writer",
                                               U"Small Town", U""})},
                             ComposeRow{"PlainFixedFirstWithoutSeparator",
                                        [](SignatureOptions& o) {
                                            o.bordered =
                                                Check::Greyed;  // only a plain tick borders
                                            o.plainWidth = 40;
                                            o.order = PartOrder::FixedFirst;
                                            o.separator = PartSeparator::SameAsTop;
                                        },
                                        U"me", U"quote", Lines({U"me", U"quote", U""})},
                             ComposeRow{"BothPartsLeftOutPlain",
                                        [](SignatureOptions& o) {
                                            o.bordered = Check::Off;
                                            o.fixedPart = Check::Off;
                                            o.variablePart = Check::Off;
                                        },
                                        kWriter, kFox, U""},
                             ComposeRow{"GreyedPartsAreIncludedAndNoQuoteIsShownAsSuch",
                                        [](SignatureOptions& o) {
                                            o.bordered = Check::Off;
                                            o.fixedPart = Check::Greyed;
                                            o.variablePart = Check::Greyed;
                                            o.separator = PartSeparator::None;
                                        },
                                        U"me", U"", Lines({U"No Quote Selected", U"me", U""})},
                             ComposeRow{
                                 "RepeatTopRoundsDownRepeatBottomRoundsHalfToEven",
                                 [](SignatureOptions& o) {
                                     o = Tight();
                                     o.topRepeat = U"abc";  // 40 / 3: 13 copies
                                     o.bottom = BottomBorder::Repeat;
                                     o.bottomRepeat = U"123456";  // 40 / 6 = 6.67: 7 copies
                                     o.fixedPart = Check::Off;
                                 },
                                 U"", U"x",
                                 Lines({U"", Repeat(U"abc", 13), U"** x" + Spaces(33) + U" **"}) +
                                     Repeat(U"123456", 7)},
                             ComposeRow{
                                 "LikeTopSetsTheWidthAndRepeatBottomFollowsIt",
                                 [](SignatureOptions& o) {
                                     o = Tight();
                                     o.top = TopBorder::Like;
                                     o.topLike = Repeat(U"~", 47);
                                     o.bottom = BottomBorder::Repeat;
                                     o.bottomRepeat = U"-+";  // 23.5 rounds to 24
                                     o.fixedPart = Check::Off;
                                 },
                                 U"", U"x",
                                 Lines({U"", Repeat(U"~", 47), U"** x" + Spaces(40) + U" **"}) +
                                     Repeat(U"-+", 24)},
                             ComposeRow{"LikeBottomAsTypedAndSeparatorSameAsBottom",
                                        [](SignatureOptions& o) {
                                            o = Tight();
                                            o.bottom = BottomBorder::Like;
                                            o.bottomLike = U"  -- the end --";
                                            o.separator = PartSeparator::SameAsBottom;
                                        },
                                        U"me", U"x",
                                        Lines({U"", kTop, U"** x" + Spaces(33) + U" **",
                                               U"  -- the end --",
                                               U"** me" + Spaces(32) + U" **"}) +
                                            U"  -- the end --"},
                             ComposeRow{"SeparatorSameAsTopAndBottomUnchosenIsTheTop",
                                        [](SignatureOptions& o) {
                                            o = Tight();
                                            o.separator = PartSeparator::SameAsTop;
                                        },
                                        U"me", U"x",
                                        Lines({U"", kTop, U"** x" + Spaces(33) + U" **", kTop,
                                               U"** me" + Spaces(32) + U" **", kTop})},
                             ComposeRow{"OnlyOnePartStillGetsTheSeparator",
                                        [](SignatureOptions& o) {
                                            o.blankRows = Check::Off;
                                            o.fixedPart = Check::Off;
                                        },
                                        kWriter, kFox,
                                        Lines({U"", kTop, kFox1, kFox2, kBlank, kTop})},
                             ComposeRow{"EmptyRepeatTextGivesEmptyBorders",
                                        [](SignatureOptions& o) {
                                            o = Tight();
                                            o.topRepeat = U"";
                                            o.fixedPart = Check::Off;
                                        },
                                        U"", U"x",
                                        Lines({U"", U"", U"** x" + Spaces(33) + U" **", U""})},
                             ComposeRow{
                                 "NonAsciiLinesUpByCharactersAndRightSameAsLeft",
                                 [](SignatureOptions& o) {
                                     o = Tight();
                                     o.leftSide = U"§";
                                     o.rightSide = U"#";
                                     o.rightSameAsLeft = Check::On;
                                     o.indent = 0;
                                     o.fixedPart = Check::Off;
                                 },
                                 U"", U"Jürgen Weiß",
                                 Lines({U"", kTop, U"§Jürgen Weiß" + Spaces(27) + U"§", kTop})},
                             ComposeRow{
                                 "GreyedRightSameIsNotSameAndIndentWidens",
                                 [](SignatureOptions& o) {
                                     o = Tight();
                                     o.rightSameAsLeft = Check::Greyed;
                                     o.leftSide = U"<";
                                     o.rightSide = U">";
                                     o.indent = 4;
                                     o.fixedPart = Check::Off;
                                 },
                                 U"", U"x",
                                 Lines({U"", kTop, U"<    x" + Spaces(29) + U"    >", kTop})}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(FramePartTest, LineBreaksStartRowsAndOverLongRowsGetNoPadding) {
    SignatureOptions o = Tight();
    EXPECT_EQ(FramePart(o, U"one\r\n\r\ntwo", 32),
              Lines({U"** one" + Spaces(31) + U" **", U"** " + Spaces(34) + U" **",
                     U"** two" + Spaces(31) + U" **"}));
    o.output = OutputForm::Html;
    // A last word is never broken, so this row is longer than the content.
    EXPECT_EQ(FramePart(o, U"abcdefghijklmnopqrstuvwxyz", 10),
              Lines({U"abcdefghijklmnopqrstuvwxyz"}));
}

}  // namespace
}  // namespace velmo

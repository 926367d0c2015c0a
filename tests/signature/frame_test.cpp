#include "signature/frame.h"

#include <gtest/gtest.h>

#include "settings/options.h"
#include "support/fakes.h"
#include "support/text_helpers.h"

namespace velmo {
namespace {

using testing::Lines;
using testing::Spaces;

const Text kFox = U"The quick brown fox jumps over the lazy dog again and again.";

class FramePartTest : public ::testing::Test, protected testing::TestApp {
  protected:
    void SetUp() override {
        SetDefaults(app);
        form.txtSBSLeftLike.Text = U"**";
        form.txtSBSRightLike.Text = U"**";
        form.cmbSBSIndent.Text = U"1";
        form.chkSBSRightSame.Value = 0;
    }
    MainForm& form = app.form;
};

TEST_F(FramePartTest, WorkedExampleRowsAreTheTotalWidth) {
    const SideBorders sides = ComputeSideBorders(form);
    EXPECT_EQ(sides.LeftSide, U"** ");
    EXPECT_EQ(sides.RightSide, U" **\r\n");
    EXPECT_EQ(FramePart(form, kFox, 32),
              Lines({U"** The quick brown fox jumps over " + Spaces(3) + U" **",
                     U"** the lazy dog again and again." + Spaces(5) + U" **"}));
}

TEST_F(FramePartTest, IndentZeroAndEmptySides) {
    form.cmbSBSIndent.Text = U"0";
    EXPECT_EQ(ComputeSideBorders(form).LeftSide, U"**");
    EXPECT_EQ(ComputeSideBorders(form).RightSide, U"**\r\n");
    // Total 20: content 20 - 2 - 4 = 14, rows of 20.
    EXPECT_EQ(FramePart(form, U"abc", 14), Lines({U"**abc" + Spaces(13) + U"**"}));

    form.txtSBSLeftLike.Text = U"";
    form.txtSBSRightLike.Text = U"";
    EXPECT_EQ(ComputeSideBorders(form).LeftSide, U"");
    EXPECT_EQ(ComputeSideBorders(form).RightSide, U"\r\n");
    EXPECT_EQ(FramePart(form, U"abc", 18), Lines({U"abc" + Spaces(17)}));
}

TEST_F(FramePartTest, SameAsLeftRepeatsTheLeftTextUnmirrored) {
    form.txtSBSLeftLike.Text = U"<<";
    form.txtSBSRightLike.Text = U"##";
    form.chkSBSRightSame.Value = 1;
    EXPECT_EQ(ComputeSideBorders(form).RightSide, U" <<\r\n");
    form.chkSBSRightSame.Value = 2;  // greyed is not "Same as Left"
    EXPECT_EQ(ComputeSideBorders(form).RightSide, U" ##\r\n");
}

TEST_F(FramePartTest, HtmlRowsHaveNoSidesAndEndInLineBreaks) {
    form.optHTML.Value = true;
    EXPECT_EQ(ComputeSideBorders(form).LeftSide, U"");
    EXPECT_EQ(ComputeSideBorders(form).RightSide, U"");
    EXPECT_EQ(FramePart(form, kFox, 40), Lines({U"The quick brown fox jumps over the " + Spaces(7),
                                                U"lazy dog again and again." + Spaces(17)}));
}

TEST_F(FramePartTest, LineBreaksInThePartStartRowsAndEmptyLinesBecomeBlankRows) {
    EXPECT_EQ(FramePart(form, U"one\r\n\r\ntwo", 32),
              Lines({U"** one" + Spaces(31) + U" **", U"** " + Spaces(34) + U" **",
                     U"** two" + Spaces(31) + U" **"}));
}

TEST_F(FramePartTest, MoreThanTwentyRowsAreAllFramed) {
    Text text;
    for (int i = 0; i < 25; ++i)
        text += U"row" + ToText(i) + Text(CrLf);
    const Text framed = FramePart(form, text, 32);
    EXPECT_NE(framed.find(U"** row24"), Text::npos);
    // 25 rows and the empty line after the last break.
    EXPECT_EQ(testing::SplitLines(framed).size(), 26u);
}

TEST_F(FramePartTest, RowTooLongForTheWidthGetsNoPadding) {
    form.optHTML.Value = true;
    // A last word is never broken, so this row is longer than the content.
    EXPECT_EQ(FramePart(form, U"abcdefghijklmnopqrstuvwxyz", 10),
              Lines({U"abcdefghijklmnopqrstuvwxyz"}));
}

}  // namespace
}  // namespace velmo

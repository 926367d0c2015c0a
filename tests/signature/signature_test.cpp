#include "signature/signature.h"

#include <gtest/gtest.h>

#include "settings/options.h"
#include "support/fakes.h"
#include "support/text_helpers.h"

namespace velmo {
namespace {

using testing::Lines;
using testing::Spaces;

const Text kFox = U"The quick brown fox jumps over the lazy dog again and again.";
const Text kWriter = U"A. Writer\r\nSmall Town";

class BuildSignatureTest : public ::testing::Test, protected testing::TestApp {
  protected:
    void SetUp() override {
        SetDefaults(app);
        // Every assembly is written to the signature file.
        form.chkFile.Value = 1;
        app.SignatureFilePath = U"/mail/signature.txt";
        app.vars.Entries[1] = kFox;
        app.vars.EntryCount = 1;
        app.vars.CurrentEntry = 1;
        app.PickedEntry = 1;
        app.PickedText = kFox;
        form.txtFixed.Text = kWriter;
        form.chkFixed.Value = 1;
    }

    // The worked example's plain options: width 40, a blank line between the
    // parts, the variable part first.
    void PlainExample() {
        form.chkBorder.Value = 0;
        form.cmbFixWidth.Text = U"40";
        form.optSBSBlankLine.Value = true;
        form.optOrderVF.Value = true;
    }

    // The worked example's bordered options.
    void BorderedExample() {
        form.chkBorder.Value = 1;
        form.optTBRepeat.Value = true;
        form.txtTBRepeat.Text = U"=-";
        form.cmbWidth.Text = U"40";
        form.txtSBSLeftLike.Text = U"**";
        form.txtSBSRightLike.Text = U"**";
        form.cmbSBSIndent.Text = U"1";
        form.chkSpace.Value = 1;
        form.optSBSBlankLine.Value = true;
        form.optOrderVF.Value = true;
    }

    MainForm& form = app.form;
};

TEST_F(BuildSignatureTest, PlainWorkedExample) {
    PlainExample();
    BuildSignature(app);
    EXPECT_EQ(app.SignatureText,
              Lines({U"The quick brown fox jumps over the ", U"lazy dog again and again.", U"",
                     U"A. Writer", U"Small Town", U""}));
}

TEST_F(BuildSignatureTest, BorderedWorkedExample) {
    BorderedExample();
    BuildSignature(app);
    const Text top = Repeat(U"=-", 20);
    const Text blank = U"**" + Spaces(36) + U"**";
    EXPECT_EQ(app.SignatureText,
              Lines({U"", top, blank, U"** The quick brown fox jumps over " + Spaces(3) + U" **",
                     U"** the lazy dog again and again." + Spaces(5) + U" **", blank,
                     U"** A. Writer" + Spaces(25) + U" **", U"** Small Town" + Spaces(24) + U" **",
                     blank, top}));
}

TEST_F(BuildSignatureTest, BorderedWorkedExampleInHtml) {
    BorderedExample();
    form.optHTML.Value = true;
    BuildSignature(app);
    const Text top = Repeat(U"=-", 20);
    EXPECT_EQ(app.SignatureText,
              Lines({U"", top, U"", U"The quick brown fox jumps over the " + Spaces(7),
                     U"lazy dog again and again." + Spaces(17), U"", U"A. Writer" + Spaces(33),
                     U"Small Town" + Spaces(32), U"", top}));
}

TEST_F(BuildSignatureTest, PublishesToPreviewsEditorWriterAndClipboard) {
    PlainExample();
    app.vars.Entries[2] = U"shown";
    app.vars.CurrentEntry = 2;
    form.chkClip.Value = 1;
    BuildSignature(app);
    EXPECT_EQ(files.writes, 1);
    ASSERT_EQ(clipboard.texts.size(), 1u);
    EXPECT_EQ(clipboard.texts[0], app.SignatureText);
    for (TextBox* preview :
         {&form.txtSignature, &form.txtSignature1, &form.txtSignature2, &form.txtSignature3}) {
        EXPECT_EQ(preview->Text.get(), app.SignatureText) << preview->Name;
    }
    // The editor shows the entry at CurrentEntry even when it is not the one in use.
    EXPECT_EQ(form.txtVar.Text.get(), U"shown");
    EXPECT_EQ(app.PickedText, kFox);
}

TEST_F(BuildSignatureTest, UseShownEntryTakesTheEditorsEntryOnce) {
    PlainExample();
    app.vars.Entries[2] = U"second";
    app.vars.EntryCount = 2;
    app.vars.CurrentEntry = 2;
    app.UseShownEntry = true;
    BuildSignature(app);
    EXPECT_FALSE(app.UseShownEntry);
    EXPECT_EQ(app.PickedEntry, 2);
    EXPECT_EQ(app.PickedText, U"second");
    EXPECT_EQ(app.SignatureText.substr(0, 6), U"second");
}

TEST_F(BuildSignatureTest, BothPartsExcluded) {
    form.chkVar.Value = 0;
    form.chkFixed.Value = 0;
    form.chkClip.Value = 1;

    form.chkBorder.Value = 0;
    BuildSignature(app);
    EXPECT_EQ(app.SignatureText, U"");
    EXPECT_EQ(form.txtSignature.Text.get(), U"");
    EXPECT_EQ(clipboard.texts.back(), U"");
    EXPECT_EQ(files.writes, 1);

    // Bordered: the frame stays, with the separator between nothing.
    form.chkBorder.Value = 1;
    form.txtTBRepeat.Text = U"=";
    form.cmbWidth.Text = U"40";
    form.chkSpace.Value = 1;
    form.optSBSBlankLine.Value = true;
    BuildSignature(app);
    const Text top = Repeat(U"=", 40);
    const Text blank = U"* " + Spaces(36) + U" *";
    EXPECT_EQ(app.SignatureText, Lines({U"", top, blank, blank, blank, top}));
}

TEST_F(BuildSignatureTest, EmptyEntryBecomesNoQuoteSelected) {
    PlainExample();
    app.PickedText.clear();
    BuildSignature(app);
    EXPECT_EQ(app.SignatureText.substr(0, 17), NoQuoteSelected);
}

TEST_F(BuildSignatureTest, ExcludedVariablePartLeavesEmptyLines) {
    PlainExample();
    form.chkVar.Value = 0;
    BuildSignature(app);
    EXPECT_EQ(app.SignatureText, Lines({U"", U"", U"A. Writer", U"Small Town", U""}));
}

TEST_F(BuildSignatureTest, GreyedCheckBoxes) {
    PlainExample();
    // Greyed includes a part, but switches neither borders nor the clipboard on.
    form.chkVar.Value = 2;
    form.chkFixed.Value = 2;
    form.chkBorder.Value = 2;
    form.chkClip.Value = 2;
    BuildSignature(app);
    EXPECT_EQ(app.SignatureText.substr(0, 3), U"The");
    EXPECT_NE(app.SignatureText.find(U"Small Town"), Text::npos);
    EXPECT_TRUE(clipboard.texts.empty());
}

TEST_F(BuildSignatureTest, FixedFirstAndSeparatorChoicesInThePlainLayout) {
    PlainExample();
    form.optOrderFF.Value = true;
    form.optSBSSameTop.Value = true;  // only "Blank Line" separates plain parts
    BuildSignature(app);
    EXPECT_EQ(app.SignatureText,
              Lines({U"A. Writer", U"Small Town", U"The quick brown fox jumps over the ",
                     U"lazy dog again and again.", U""}));
}

class BorderChoicesTest : public BuildSignatureTest {
  protected:
    void SetUp() override {
        BuildSignatureTest::SetUp();
        BorderedExample();
        form.chkSpace.Value = 0;
        form.optSBSSepNone.Value = true;
    }
    std::vector<Text> Built() {
        BuildSignature(app);
        return testing::SplitLines(app.SignatureText);
    }
};

TEST_F(BorderChoicesTest, RepeatTopRoundsDownRepeatBottomRoundsHalfToEven) {
    form.txtTBRepeat.Text = U"abc";  // 40 / 3: 13 copies, 39 characters
    form.optBBRepeat.Value = true;
    form.txtBBRepeat.Text = U"123456";  // 40 / 6 = 6.67: 7 copies, 42 characters
    const auto lines = Built();
    EXPECT_EQ(lines[1], Repeat(U"abc", 13));
    EXPECT_EQ(lines.back(), Repeat(U"123456", 7));
    // Without "Same as Top" the signature ends without a line break.
    EXPECT_NE(app.SignatureText.substr(app.SignatureText.size() - 2), CrLf);

    form.cmbWidth.Text = U"100";
    form.txtTBRepeat.Text = U"123456";
    const auto wide = Built();
    EXPECT_EQ(wide[1].size(), 96u);
    EXPECT_EQ(wide.back().size(), 102u);
}

TEST_F(BorderChoicesTest, LikeTopSetsTheWidthAndRepeatBottomFollowsIt) {
    form.optTBLike.Value = true;
    form.txtTBLike.Text = Repeat(U"~", 57);
    form.optBBRepeat.Value = true;
    form.txtBBRepeat.Text = U"-+";
    auto lines = Built();
    EXPECT_EQ(lines[1], Repeat(U"~", 57));
    EXPECT_EQ(lines.back(), Repeat(U"-+", 28));  // 28.5 rounds to 28
    for (size_t i = 2; i + 1 < lines.size(); ++i)
        EXPECT_EQ(lines[i].size(), 57u) << i;

    form.txtTBLike.Text = Repeat(U"~", 47);
    lines = Built();
    EXPECT_EQ(lines.back(), Repeat(U"-+", 24));  // 23.5 rounds to 24
}

TEST_F(BorderChoicesTest, LikeBottomIsUsedAsTyped) {
    form.optBBLike.Value = true;
    form.txtBBLike.Text = U"  -- the end --";
    EXPECT_EQ(Built().back(), U"  -- the end --");
}

TEST_F(BorderChoicesTest, SeparatorsBetweenTheParts) {
    const Text top = Repeat(U"=-", 20);
    form.optSBSSameTop.Value = true;
    auto lines = Built();
    EXPECT_EQ(lines[4], top);  // after the two rows of the first part

    form.optSBSSameBottom.Value = true;  // bottom "Same as Top": top border and an empty line
    lines = Built();
    EXPECT_EQ(lines[4], top);
    EXPECT_EQ(lines[5], U"");

    form.optBBRepeat.Value = true;
    form.txtBBRepeat.Text = U"#";
    lines = Built();
    EXPECT_EQ(lines[4], Repeat(U"#", 40));
}

TEST_F(BorderChoicesTest, OnlyOnePartStillGetsTheSeparator) {
    form.chkFixed.Value = 0;
    form.optSBSBlankLine.Value = true;
    const auto lines = Built();
    // Empty line, top, two rows, the blank separator row, bottom, end.
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[4], U"**" + Spaces(36) + U"**");
}

TEST_F(BorderChoicesTest, EmptyRepeatTextGivesAnEmptyBorder) {
    form.txtTBRepeat.Text = U"";
    const auto lines = Built();
    EXPECT_EQ(lines[1], U"");
    EXPECT_EQ(lines.back(), U"");
}

TEST_F(BorderChoicesTest, NonAsciiTextLinesUpByCharacters) {
    app.PickedText = U"Ἐν ἀρχῇ ἦν ὁ λόγος, καὶ ὁ λόγος ἦν πρὸς τὸν θεόν, καὶ θεὸς ἦν ὁ λόγος.";
    form.txtFixed.Text = U"Jürgen Weiß\r\nStraße 5, Köln";
    form.txtSBSLeftLike.Text = U"§";
    form.chkSBSRightSame.Value = 1;
    const auto lines = Built();
    for (size_t i = 2; i + 1 < lines.size(); ++i)
        EXPECT_EQ(lines[i].size(), 40u) << i;
    EXPECT_EQ(lines[2].substr(0, 2), U"§ ");
    EXPECT_EQ(lines[2].substr(38), U" §");
}

}  // namespace
}  // namespace velmo

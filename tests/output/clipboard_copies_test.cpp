#include "ui/clipboard_copies.h"

#include <gtest/gtest.h>

#include "support/fakes.h"
#include "ui/app.h"

namespace velmo {
namespace {

class ClipboardCopiesTest : public ::testing::Test, protected testing::TestApp {
  protected:
    void SetUp() override {
        app.PickedText = U"abc";
        form.txtFixed.Text = U"x\r\ny";
        app.SignatureText = U"assembled\r\n";
    }

    // The one clipboard text a click puts there.
    Text Copy(MenuItem& item) {
        clipboard.texts.clear();
        item.Click();
        EXPECT_EQ(clipboard.texts.size(), 1u) << item.Name;
        return clipboard.texts.empty() ? Text(U"<nothing>") : clipboard.texts.back();
    }

    MainForm& form = app.form;
};

TEST_F(ClipboardCopiesTest, FullSignatureIsVariableThenFixed) {
    const Text copied = Copy(form.mnuClipSig);
    EXPECT_EQ(copied, U"abc\r\nx\r\ny\r\n");
    EXPECT_EQ(copied.size(), 11u);
}

TEST_F(ClipboardCopiesTest, EachPartAlone) {
    EXPECT_EQ(Copy(form.mnuClipVar), U"abc\r\n");
    EXPECT_EQ(Copy(form.mnuClipFixed), U"x\r\ny\r\n");
}

TEST_F(ClipboardCopiesTest, FixedPartIsWhatTheEditorShowsEvenUnsaved) {
    form.txtFixed.Text = U"edited\r\nnot saved";
    EXPECT_EQ(Copy(form.mnuClipFixed), U"edited\r\nnot saved\r\n");
    EXPECT_EQ(Copy(form.mnuClipSig), U"abc\r\nedited\r\nnot saved\r\n");
    EXPECT_TRUE(files.files.empty());
}

TEST_F(ClipboardCopiesTest, EmptyPartsLeaveTheLineBreaks) {
    app.PickedText.clear();
    EXPECT_EQ(Copy(form.mnuClipVar), U"\r\n");
    EXPECT_EQ(Copy(form.mnuClipSig), U"\r\nx\r\ny\r\n");
    form.txtFixed.Text = U"";
    EXPECT_EQ(Copy(form.mnuClipFixed), U"\r\n");
    EXPECT_EQ(Copy(form.mnuClipSig), U"\r\n\r\n");
}

TEST_F(ClipboardCopiesTest, TextIsCopiedUnchanged) {
    // No wrapping, trimming or change of characters.
    app.PickedText = U"  Caf\u00e9 \u20ac \U0001F600 " + Text(120, U'w') + U"  ";
    EXPECT_EQ(Copy(form.mnuClipVar), app.PickedText + U"\r\n");
    form.txtFixed.Text = U"ends in a break\r\n";
    EXPECT_EQ(Copy(form.mnuClipFixed), U"ends in a break\r\n\r\n");
}

TEST_F(ClipboardCopiesTest, LayoutOptionsAreIgnored) {
    form.chkVar.Value = 0;
    form.chkFixed.Value = 0;
    form.optOrderFF.Value = true;
    form.chkBorder.Value = 1;
    form.chkClip.Value = 0;
    EXPECT_EQ(Copy(form.mnuClipSig), U"abc\r\nx\r\ny\r\n");
    EXPECT_EQ(Copy(form.mnuClipVar), U"abc\r\n");
    EXPECT_EQ(Copy(form.mnuClipFixed), U"x\r\ny\r\n");
}

TEST_F(ClipboardCopiesTest, CopiesNeitherRebuildNorShowAnything) {
    form.Hide();
    form.chkFile.Value = 1;
    app.SignatureFilePath = U"/home/user/sig.txt";
    for (MenuItem* item : {&form.mnuClipSig, &form.mnuClipVar, &form.mnuClipFixed}) {
        Copy(*item);
    }
    EXPECT_EQ(app.SignatureText, U"assembled\r\n");
    EXPECT_EQ(form.txtSignature.Text.get(), U"");
    EXPECT_FALSE(form.Visible);
    EXPECT_EQ(files.writes, 0);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(fileDialog.calls.empty());
}

}  // namespace
}  // namespace velmo

#include "ui/signature.h"
#include "domain/layout.h"

#include <gtest/gtest.h>

#include "support/fakes.h"
#include "support/text_helpers.h"
#include "ui/options.h"

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

// The signature goes to the previews, the file and the clipboard; the editor
// shows the entry at CurrentEntry, which is taken for the signature once
// when UseShownEntry asks for it.
TEST_F(BuildSignatureTest, PublishesEverywhereAndTakesTheShownEntryOnce) {
    PlainExample();
    form.chkVar.Value = 0;
    app.vars.Entries[2] = U"shown";
    app.vars.EntryCount = 2;
    app.vars.CurrentEntry = 2;
    form.chkClip.Value = 1;
    BuildSignature(app);
    EXPECT_EQ(app.SignatureText, Lines({U"", U"", U"A. Writer", U"Small Town", U""}));
    EXPECT_EQ(files.writes, 1);
    EXPECT_EQ(clipboard.texts, std::vector<Text>{app.SignatureText});
    for (TextBox* preview :
         {&form.txtSignature, &form.txtSignature1, &form.txtSignature2, &form.txtSignature3}) {
        EXPECT_EQ(preview->Text.get(), app.SignatureText) << preview->Name;
    }
    EXPECT_EQ(form.txtVar.Text.get(), U"shown");
    EXPECT_EQ(app.PickedText, kFox);

    form.chkVar.Value = 1;
    app.UseShownEntry = true;
    BuildSignature(app);
    BuildSignature(app);
    EXPECT_FALSE(app.UseShownEntry);
    EXPECT_EQ(app.PickedEntry, 2);
    EXPECT_EQ(app.SignatureText.substr(0, 7), U"shown\r\n");
}

}  // namespace
}  // namespace velmo

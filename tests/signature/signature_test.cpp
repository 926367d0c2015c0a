#include "ui/signature.h"

#include <gtest/gtest.h>

#include "support/fakes.h"
#include "support/text_helpers.h"
#include "ui/options.h"

namespace velmo {
namespace {

using testing::Lines;
using testing::Spaces;

const Text kFox = U"The quick brown fox jumps over the lazy dog again and again.";

// The form's options reach the layout (the bordered worked example); the
// signature goes to the previews, the file and the clipboard; the editor shows
// the entry at CurrentEntry.
TEST(BuildSignatureTest, ComposesFromTheFormAndPublishesEverywhere) {
    testing::TestApp t;
    App& app = t.app;
    MainForm& form = app.form;
    SetDefaults(app);
    form.chkFile.Value = 1;
    app.SignatureFilePath = U"/mail/signature.txt";
    app.vars.Entries[1] = kFox;
    app.vars.Entries[2] = U"shown";
    app.vars.EntryCount = 2;
    app.vars.CurrentEntry = 2;
    app.PickedText = kFox;
    form.txtFixed.Text = U"A. Writer\r\nSmall Town";
    form.chkFixed.Value = 1;
    form.chkClip.Value = 1;
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
    BuildSignature(app);
    const Text top = Repeat(U"=-", 20);
    const Text blank = U"**" + Spaces(36) + U"**";
    EXPECT_EQ(app.SignatureText,
              Lines({U"", top, blank, U"** The quick brown fox jumps over " + Spaces(3) + U" **",
                     U"** the lazy dog again and again." + Spaces(5) + U" **", blank,
                     U"** A. Writer" + Spaces(25) + U" **", U"** Small Town" + Spaces(24) + U" **",
                     blank, top}));
    EXPECT_EQ(t.files.writes, 1);
    EXPECT_EQ(t.clipboard.texts, std::vector<Text>{app.SignatureText});
    for (TextBox* preview :
         {&form.txtSignature, &form.txtSignature1, &form.txtSignature2, &form.txtSignature3}) {
        EXPECT_EQ(preview->Text.get(), app.SignatureText) << preview->Name;
    }
    EXPECT_EQ(form.txtVar.Text.get(), U"shown");
}

}  // namespace
}  // namespace velmo

#include "ui/clipboard_copies.h"

#include <gtest/gtest.h>

#include "support/fakes.h"
#include "ui/app.h"

namespace velmo {
namespace {

// Each copy is the part in use (the fixed part as the editor shows it, saved
// or not) with a line end, unchanged, whatever the layout options; nothing
// is rebuilt, written or shown.
TEST(ClipboardCopies, EachMenuCopiesItsPartsUnchanged) {
    const Text wide = U"  Caf\u00e9 \U0001F600 " + Text(120, U'w') + U"  ";
    const struct {
        Text picked;
        Text fixed;
        Text signature, variable, fixedCopy;
    } rows[] = {
        {U"abc", U"x\r\ny", U"abc\r\nx\r\ny\r\n", U"abc\r\n", U"x\r\ny\r\n"},
        {U"", U"", U"\r\n\r\n", U"\r\n", U"\r\n"},
        {wide, U"ends\r\n", wide + U"\r\nends\r\n\r\n", wide + U"\r\n", U"ends\r\n\r\n"},
    };
    for (const auto& row : rows) {
        testing::TestApp t;
        MainForm& form = t.app.form;
        form.chkVar.Value = 0;
        form.chkBorder.Value = 1;
        form.chkFile.Value = 1;
        t.app.SignatureFilePath = U"/home/user/sig.txt";
        t.app.SignatureText = U"assembled";
        t.app.PickedText = row.picked;
        form.txtFixed.Text = row.fixed;
        form.mnuClipSig.Click();
        form.mnuClipVar.Click();
        form.mnuClipFixed.Click();
        EXPECT_EQ(t.clipboard.texts,
                  (std::vector<Text>{row.signature, row.variable, row.fixedCopy}));
        EXPECT_EQ(t.app.SignatureText, U"assembled");
        EXPECT_EQ(t.files.writes, 0);
        EXPECT_TRUE(t.messages.shown.empty());
    }
}

}  // namespace
}  // namespace velmo

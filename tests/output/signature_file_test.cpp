#include "ui/signature_file.h"

#include <gtest/gtest.h>

#include <string>

#include "domain/output_forms.h"
#include "service/signature_files.h"
#include "support/fakes.h"
#include "support/native_forms.h"
#include "ui/app.h"

namespace velmo {
namespace {

using testing::NativeFileBytes;

constexpr const char32_t* kPath = U"/home/user/mail/signature.txt";

class SignatureFileTest : public ::testing::Test, protected testing::TestApp {
  protected:
    void SetUp() override {
        form.chkFile.Value = 1;
        app.SignatureFilePath = kPath;
        app.SignatureText = U"ab\r\ncd";
    }

    // Selects a type without the dialog a change opens: the fake cancels it.
    void Select(OptionButton& type) {
        type.Value = true;
        ASSERT_EQ(app.SignatureFilePath, kPath);
        fileDialog.calls.clear();
    }

    MainForm& form = app.form;
};

// The type chosen on the form picks the file's form; the form is built
// whether or not a file is written, which takes file output on or greyed and
// a path.
TEST_F(SignatureFileTest, WritesTheChosenFormWhenFileOutputIsOn) {
    const struct {
        OptionButton& type;
        OutputForm output;
        int fileOutput;
        const char32_t* path;
    } rows[] = {
        {form.optText, OutputForm::PlainText, 1, kPath}, {form.optHTML, OutputForm::Html, 1, kPath},
        {form.optRTF, OutputForm::Rtf, 2, kPath},        {form.optHTML, OutputForm::Html, 0, kPath},
        {form.optRTF, OutputForm::Rtf, 1, U""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.type.Name + std::to_string(row.fileOutput));
        files.files.clear();
        Select(row.type);
        form.chkFile.Value = row.fileOutput;
        app.SignatureFilePath = row.path;
        WriteSignatureFile(app);
        EXPECT_EQ(app.SignatureFileText, SignatureInForm(row.output, U"ab\r\ncd"));
        const bool written = row.fileOutput != 0 && *row.path;
        EXPECT_EQ(files.files.size(), written ? 1u : 0u);
        EXPECT_EQ(files.files[kPath], written ? SignatureFileBytes(row.output, U"ab\r\ncd") : "");
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_TRUE(fileDialog.calls.empty());
    }
}

// One message for a failing file, not one for every scheduled change; a
// failure after a success, or of another file, is news again. A path of no
// known folder is never written, and said once too.
TEST_F(SignatureFileTest, EachFailureIsReportedOnce) {
    const Text other = U"/mnt/readonly/signature.txt";
    files.files[kPath] = "old\r\n";
    files.failWrites[kPath] = std::make_error_code(std::errc::permission_denied);
    files.failWrites[other] = std::make_error_code(std::errc::read_only_file_system);
    const auto write = [this](const Text& path, int times) {
        app.SignatureFilePath = path;
        for (int i = 0; i < times; ++i)
            WriteSignatureFile(app);
    };
    write(kPath, 3);
    EXPECT_EQ(files.files[kPath], "old\r\n");  // left as it was
    files.failWrites.erase(kPath);
    write(kPath, 1);
    EXPECT_EQ(files.files[kPath], NativeFileBytes("ab\r\ncd\r\n"));
    files.failWrites[kPath] = std::make_error_code(std::errc::no_space_on_device);
    write(kPath, 2);
    write(other, 2);
    write(U"mail/sig.txt", 2);
    ASSERT_EQ(messages.shown.size(), 4u);
    EXPECT_EQ(messages.shown[0].style, msgbox::OkExclamation);
    EXPECT_EQ(messages.shown[0].title, U"Signature File");
    EXPECT_NE(messages.shown[0].text.find(Text(kPath) + U"\r\nPermission denied"), Text::npos);
    EXPECT_NE(messages.shown[1].text.find(Text(kPath) + U"\r\nNo space left on device"),
              Text::npos);
    EXPECT_NE(messages.shown[2].text.find(other + U"\r\nRead-only file system"), Text::npos);
    EXPECT_EQ(messages.shown[3].text.find(U"mail/sig.txt\r\n"), 0u);
    EXPECT_NE(messages.shown[3].text.find(U"not a full path"), Text::npos);
    EXPECT_EQ(files.files.size(), 1u);
}

// A file that cannot be read, while file output is on, leads to the recovery
// dialog (in the folder of the file in use: the output selection tests), or
// in the documents folder when there is none; the pick is written at once.
TEST_F(SignatureFileTest, CheckOffersAnotherFileForOneThatCannotBeRead) {
    const Text found = U"/home/user/found.txt";
    const struct {
        int fileOutput;
        Text path;
        bool readable;
    } rows[] = {{1, kPath, true}, {0, kPath, false}, {2, kPath, false}, {1, Text(), false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(ToUtf8(row.path) + std::to_string(row.fileOutput));
        files.files.clear();
        fileDialog.calls.clear();
        if (row.readable)
            files.files[kPath] = "old";
        form.chkFile.Value = row.fileOutput;
        app.SignatureFilePath = row.path;
        fileDialog.results = {found};
        CheckSignatureFile(app);
        const bool asked = row.path.empty();
        ASSERT_EQ(fileDialog.calls.size(), asked ? 1u : 0u);
        EXPECT_EQ(app.SignatureFilePath, asked ? found : row.path);
        EXPECT_EQ(files.files.count(found), asked ? 1u : 0u);
    }
    EXPECT_EQ(fileDialog.calls[0].initial,
              testing::Folder(U"home/test/Documents") + U"AnySignatureFile.txt");
    EXPECT_EQ(fileDialog.calls[0].filter,
              U"All Files (*.*)|*.*|Text (*.txt)|*.txt|Pegasus (*.pms)|*.pms|"
              U"HTML (*.htm)|*.htm|Rich Text (*.rtf)|*.rtf|");
    EXPECT_TRUE(messages.shown.empty());
}

// Each copy is the part in use (the fixed part as the editor shows it, saved
// or not) with a line end, unchanged, whatever the layout options; nothing
// is rebuilt, written or shown.
TEST_F(SignatureFileTest, EachClipboardMenuCopiesItsPartsUnchanged) {
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
        clipboard.texts.clear();
        form.chkVar.Value = 0;
        form.chkBorder.Value = 1;
        app.PickedText = row.picked;
        form.txtFixed.Text = row.fixed;
        form.mnuClipSig.Click();
        form.mnuClipVar.Click();
        form.mnuClipFixed.Click();
        EXPECT_EQ(clipboard.texts, (std::vector<Text>{row.signature, row.variable, row.fixedCopy}));
        EXPECT_EQ(app.SignatureText, U"ab\r\ncd");
        EXPECT_EQ(files.writes + messages.shown.size(), 0u);
    }
}

}  // namespace
}  // namespace velmo

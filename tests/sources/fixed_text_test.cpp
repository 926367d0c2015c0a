#include "ui/fixed_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/fakes.h"
#include "support/native_forms.h"

namespace velmo {
namespace {

using testing::NativeFileBytes;

const Text kFolder = U"/opt/velmo/";
const Text kFixedFile = U"/opt/velmo/Fixed.fxt";
const Text kNotFound =
    U"I have not been able to find your Fixed Text.\r\n"
    U"Press YES if you would like to help me find it.\r\n"
    U"Press NO if you would like to start without it.";
const std::string kSixteenLines = [] {
    std::string lines;
    for (int i = 1; i <= 16; ++i)
        lines += "\"l\"\r\n";
    return lines;
}();

class FixedTextTest : public ::testing::Test, protected testing::TestApp {
  protected:
    void SetUp() override { app.AppPath = kFolder; }

    // Saves the text, then loads it into a fresh program.
    Text SaveAndReload(const Text& text) {
        form.txtFixed.Text = text;
        EXPECT_TRUE(SaveFixedText(app));
        EXPECT_PRED1(testing::InNativeLineEnds, files.files[kFixedFile]);
        testing::TestApp fresh;
        fresh.app.AppPath = kFolder;
        fresh.files.files = files.files;
        fresh.app.form.chkFixed.Value = 1;
        LoadFixedText(fresh.app, Text());
        EXPECT_TRUE(fresh.messages.shown.empty());
        return fresh.app.form.txtFixed.Text;
    }

    static Text NumberedLines(int n, bool finalBreak) {
        Text t;
        for (int i = 1; i <= n; ++i) {
            if (i > 1)
                t += CrLf;
            t += U"line " + ToText(i);
        }
        return finalBreak ? t + Text(CrLf) : t;
    }

    MainForm& form = app.form;
};

TEST_F(FixedTextTest, RoundTrips) {
    std::vector<Text> texts = {Text(U"A. Writer\r\nSmall Town"),
                               Text(U"A. Writer\r\nSmall Town\r\n"),
                               Text(U"one line"),
                               Text(U"He said \"hi\", twice"),
                               Text(U"Jürgen Weiß\r\n  Straße 5\r\n\r\n€ 5"),
                               NumberedLines(15, false)};
    // Beyond the ANSI code page only where files are UTF-8.
    if (testing::FilesAreUtf8())
        texts.push_back(U"Jürgen Weiß\r\n  Straße 5\r\n\r\nΑθήνα");
    for (const Text& text : texts)
        EXPECT_EQ(SaveAndReload(text), text);
}

TEST_F(FixedTextTest, EmptyTextIsOneEmptyRecord) {
    form.txtFixed.Text = U"x";
    form.txtFixed.Text = U"";
    ASSERT_TRUE(SaveFixedText(app));
    EXPECT_EQ(files.files[kFixedFile], NativeFileBytes("\"\"\r\n"));
    EXPECT_EQ(SaveAndReload(U""), U"");
}

TEST_F(FixedTextTest, SavedFileIsOneQuotedRecordPerLine) {
    form.txtFixed.Text = U"A. Writer\r\nSmall Town";
    ASSERT_TRUE(SaveFixedText(app));
    EXPECT_EQ(files.files[kFixedFile], NativeFileBytes("\"A. Writer\"\r\n\"Small Town\"\r\n"));
    form.txtFixed.Text = U"A. Writer\r\n";
    ASSERT_TRUE(SaveFixedText(app));
    EXPECT_EQ(files.files[kFixedFile], NativeFileBytes("\"A. Writer\"\r\n\"\"\r\n"));
}

TEST_F(FixedTextTest, LinesPastTheFifteenthAreNotSavedAndTheUserIsTold) {
    EXPECT_EQ(SaveAndReload(NumberedLines(16, false)), NumberedLines(15, false));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(U"15"), Text::npos);
    EXPECT_EQ(messages.shown[0].title, U"Fixed Text");

    // A final line break after the 15th line loses nothing: no message.
    messages.shown.clear();
    EXPECT_EQ(SaveAndReload(NumberedLines(15, true)), NumberedLines(15, false));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FixedTextTest, HandMadeFiles) {
    form.chkFixed.Value = 1;
    files.files[kFixedFile] = "A. Writer\r\nSmall Town, Country\r\n";
    LoadFixedText(app, Text());
    EXPECT_EQ(form.txtFixed.Text.get(), U"A. Writer\r\nSmall Town\r\n Country");

    files.files[kFixedFile] = "\"Caf\xE9 \x80\"\r\n";
    LoadFixedText(app, Text());
    EXPECT_EQ(form.txtFixed.Text.get(), U"Café €");
}

TEST_F(FixedTextTest, SixteenLinesOrAMissingFilePromptWhileThePartIsOn) {
    form.chkFixed.Value = 1;
    files.files[kFixedFile] = kSixteenLines;
    LoadFixedText(app, Text());
    ASSERT_EQ(messages.shown.size(), 1u);
    // Too many lines is said as such, naming the file; it was found.
    const Text& said = messages.shown[0].text;
    EXPECT_EQ(said.find(U"find your Fixed Text"), Text::npos);
    EXPECT_NE(said.find(U"more lines than the fixed text can hold (15)"), Text::npos);
    EXPECT_NE(said.find(kFixedFile), Text::npos);
    EXPECT_EQ(messages.shown[0].style, 20);
    EXPECT_EQ(messages.shown[0].title, kFixedFile + U" Error");
    EXPECT_EQ(form.txtFixed.Text.get(), U"");

    files.files.clear();
    messages.shown.clear();
    LoadFixedText(app, Text());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, kNotFound);
    EXPECT_EQ(form.txtFixed.Text.get(), U"");

    // Nor is a file that is there but cannot be read called missing.
    files.files[kFixedFile] = "\"kept\"\r\n";
    files.failReads[kFixedFile] = FileErrc::TooLarge;
    messages.shown.clear();
    LoadFixedText(app, Text());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text.find(U"find"), Text::npos);
    EXPECT_NE(messages.shown[0].text.find(kFixedFile + U"\r\nFile too large\r\n"), Text::npos);
}

// The file is replaced only after its lines were read in this run, or when
// there is none: the part switched on later reads it, and a refused file
// keeps its lines whatever is typed or chosen instead.
TEST_F(FixedTextTest, TheFileIsReplacedOnlyAfterItsLinesWereRead) {
    const std::string twoLines = "\"A. Writer\"\r\n\"Small Town\"\r\n";
    struct Row {
        const char* what;
        std::optional<std::string> file;  // Fixed.fxt at start
        int partAtStart;
        int answer;                 // to a prompt at start
        std::optional<Text> typed;  // after ticking "Include Fixed Part"
        std::string saved;
        Text box;
        size_t messages;
    };
    const Text read = U"A. Writer\r\nSmall Town";
    const std::string savedNew = NativeFileBytes("\"New\"\r\n");
    const Row rows[] = {
        {"off at start, ticked", twoLines, 0, msgbox::No, {}, NativeFileBytes(twoLines), read, 0},
        {"off at start, ticked, edited", twoLines, 0, msgbox::No, U"New", savedNew, U"New", 0},
        {"none, ticked, typed", {}, 0, msgbox::No, U"New", savedNew, U"New", 0},
        // The prompt at start, then the refused save, said once for two saves.
        {"16 lines, No, typed", kSixteenLines, 1, msgbox::No, U"typed", kSixteenLines, U"typed", 2},
        {"16 lines, Yes, another", kSixteenLines, 1, msgbox::Yes, {}, kSixteenLines, U"Ann", 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        testing::TestApp t;
        MainForm& f = t.app.form;
        t.app.AppPath = kFolder;
        if (row.file)
            t.files.files[kFixedFile] = *row.file;
        t.files.files[U"/home/ann/sig.fxt"] = "\"Ann\"\r\n";
        t.fileDialog.results = {Text(U"/home/ann/sig.fxt")};
        t.messages.answers = {row.answer};
        // Start-up, as far as the fixed text goes.
        f.chkFixed.Value = row.partAtStart;
        if (row.partAtStart == 1)
            LoadFixedText(t.app, Text());
        t.app.started = true;

        f.chkFixed.Value = 1;
        if (row.typed)
            f.txtFixed.Text = *row.typed;
        f.cmdSave3.Click();
        EXPECT_EQ(SaveFixedText(t.app), row.messages == 0) << "the second save, refused or done";
        EXPECT_EQ(t.files.files[kFixedFile], row.saved);
        EXPECT_EQ(f.txtFixed.Text.get(), row.box);
        EXPECT_EQ(t.messages.shown.size(), row.messages);
        if (row.messages == 2 && t.messages.shown.size() == 2) {
            EXPECT_NE(t.messages.shown[1].text.find(kFixedFile), Text::npos);
        }
    }
}

TEST_F(FixedTextTest, NoPromptWhileThePartIsOff) {
    form.chkFixed.Value = 0;
    LoadFixedText(app, Text());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FixedTextTest, YesLoadsAnotherFileButSavesGoToTheProgramFolder) {
    form.chkFixed.Value = 1;
    files.files[U"/home/ann/sig.fxt"] = "\"Ann\"\r\n";
    messages.answers = {msgbox::Yes};
    fileDialog.results = {Text(U"/home/ann/sig.fxt")};
    LoadFixedText(app, Text());
    ASSERT_EQ(fileDialog.calls.size(), 1u);
    EXPECT_EQ(fileDialog.calls[0].initial, kFixedFile);
    EXPECT_EQ(fileDialog.calls[0].filter, U"Fixed Text Files (*.fxt)|*.fxt|");
    EXPECT_EQ(form.txtFixed.Text.get(), U"Ann");

    ASSERT_TRUE(SaveFixedText(app));
    EXPECT_EQ(files.files[kFixedFile], NativeFileBytes("\"Ann\"\r\n"));
    EXPECT_EQ(files.files[U"/home/ann/sig.fxt"], "\"Ann\"\r\n");
}

TEST_F(FixedTextTest, CancelledChooserAsksAgainUntilNo) {
    form.chkFixed.Value = 1;
    messages.answers = {msgbox::Yes, msgbox::No};
    LoadFixedText(app, Text());
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].title, kFixedFile + U" Error");
}

TEST_F(FixedTextTest, EditorAndCheckBoxFollowEachOther) {
    form.chkFixed.Value = 1;
    form.txtFixed.Text = U"text";
    EXPECT_TRUE(form.txtFixed.Enabled);
    form.txtFixed.Text = U"";
    EXPECT_EQ(form.chkFixed.Value.get(), 0);
    EXPECT_FALSE(form.txtFixed.Enabled);
    form.chkFixed.Value = 1;
    EXPECT_TRUE(form.txtFixed.Enabled);
    form.txtFixed.Text = U"typed";
    EXPECT_EQ(form.chkFixed.Value.get(), 1);
}

TEST_F(FixedTextTest, LeavingTheEditorSavesIt) {
    form.chkFixed.Value = 1;
    ASSERT_TRUE(form.txtFixed.SetFocus());
    form.txtFixed.Text = U"Saved on leaving";
    EXPECT_EQ(files.writes, 0);
    ASSERT_TRUE(form.txtVar.SetFocus());
    EXPECT_EQ(files.files[kFixedFile], NativeFileBytes("\"Saved on leaving\"\r\n"));
}

TEST_F(FixedTextTest, FailedSaveTellsWhyAndKeepsTheText) {
    files.files[kFixedFile] = "\"old\"\r\n";
    LoadFixedText(app, Text());
    files.failWrites[kFixedFile] = std::make_error_code(std::errc::read_only_file_system);
    form.txtFixed.Text = U"new text";
    EXPECT_FALSE(SaveFixedText(app));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(kFixedFile), Text::npos);
    EXPECT_NE(messages.shown[0].text.find(U"Read-only file system"), Text::npos);
    EXPECT_EQ(form.txtFixed.Text.get(), U"new text");
    EXPECT_EQ(files.files[kFixedFile], "\"old\"\r\n");
}

}  // namespace
}  // namespace velmo

#include "ui/fixed_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/fakes.h"
#include "support/native_forms.h"

namespace velmo {
namespace {

using testing::NativeFileBytes;

const Text kFolder = U"/opt/velmo/";
const Text kFixedFile = U"/opt/velmo/Fixed.fxt";
const std::string kSixteenLines = ToUtf8(Repeat(U"\"l\"\r\n", 16));

Text NumberedLines(int n) {
    Text t = U"line 1";
    for (int i = 2; i <= n; ++i)
        t += U"\r\nline " + ToText(i);
    return t;
}

// What is saved, byte for byte, and what a fresh program reads back; lines
// past the 15th are dropped with a message, a final line break is no line.
TEST(FixedText, SavesAndReloads) {
    const struct {
        Text text;
        std::optional<std::string> file;  // when given, the saved bytes
        Text read;
        size_t messages;
    } rows[] = {
        {U"A. Writer\r\nSmall Town", "\"A. Writer\"\r\n\"Small Town\"\r\n",
         U"A. Writer\r\nSmall Town", 0},
        {U"A. Writer\r\n", "\"A. Writer\"\r\n\"\"\r\n", U"A. Writer\r\n", 0},
        {U"", "\"\"\r\n", U"", 0},
        {U"He said \"hi\", twice\r\n  Café €", {}, U"He said \"hi\", twice\r\n  Café €", 0},
        {NumberedLines(15) + U"\r\n", {}, NumberedLines(15), 0},
        {NumberedLines(16), {}, NumberedLines(15), 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(ToUtf8(row.text));
        testing::TestApp t;
        t.app.AppPath = kFolder;
        t.app.form.txtFixed.Text = row.text;
        EXPECT_TRUE(SaveFixedText(t.app));
        if (row.file) {
            EXPECT_EQ(t.files.files[kFixedFile], NativeFileBytes(*row.file));
        }
        ASSERT_EQ(t.messages.shown.size(), row.messages);
        if (row.messages) {
            EXPECT_NE(t.messages.shown[0].text.find(U"15"), Text::npos);
        }
        testing::TestApp fresh;
        fresh.app.AppPath = kFolder;
        fresh.files.files = t.files.files;
        fresh.app.form.chkFixed.Value = 1;
        LoadFixedText(fresh.app, Text());
        EXPECT_EQ(fresh.app.form.txtFixed.Text.get(), row.read);
        EXPECT_TRUE(fresh.messages.shown.empty());
    }
}

// The file is replaced only after its lines were read in this run, or when
// there is none: the part switched on later reads it first, and a refused
// file keeps its lines whatever is typed or chosen instead, said once.
TEST(FixedText, TheFileIsReplacedOnlyAfterItsLinesWereRead) {
    const std::string twoLines = "\"A. Writer\"\r\n\"Small Town\"\r\n";
    const struct {
        std::optional<std::string> file;  // Fixed.fxt at start
        int partAtStart, answer;          // the answer to a prompt at start
        std::optional<Text> typed;        // after ticking "Include Fixed Part"
        std::string saved;
        Text box;
        size_t messages;  // the prompt at start, then the refused saves
    } rows[] = {
        {twoLines, 0, msgbox::No, {}, NativeFileBytes(twoLines), U"A. Writer\r\nSmall Town", 0},
        {{}, 0, msgbox::No, U"New", NativeFileBytes("\"New\"\r\n"), U"New", 0},
        {kSixteenLines, 1, msgbox::No, U"typed", kSixteenLines, U"typed", 2},
        {kSixteenLines, 1, msgbox::Yes, {}, kSixteenLines, U"Ann", 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(ToUtf8(row.box));
        testing::TestApp t;
        MainForm& f = t.app.form;
        t.app.AppPath = kFolder;
        if (row.file)
            t.files.files[kFixedFile] = *row.file;
        t.files.files[U"/home/ann/sig.fxt"] = "\"Ann\"\r\n";
        t.fileDialog.results = {Text(U"/home/ann/sig.fxt")};
        t.messages.answers = {row.answer};
        f.chkFixed.Value = row.partAtStart;  // start-up, as far as the fixed text goes
        if (row.partAtStart == 1)
            LoadFixedText(t.app, Text());
        t.app.started = true;
        f.chkFixed.Value = 1;
        if (row.typed)
            f.txtFixed.Text = *row.typed;
        ASSERT_TRUE(f.txtFixed.SetFocus());
        ASSERT_TRUE(f.txtVar.SetFocus());  // leaving the editor saves it
        EXPECT_EQ(t.files.files[kFixedFile], row.saved);
        EXPECT_EQ(SaveFixedText(t.app), row.messages == 0) << "the second save, refused or done";
        EXPECT_EQ(f.txtFixed.Text.get(), row.box);
        EXPECT_EQ(t.messages.shown.size(), row.messages);
    }
}

// Too many lines, a missing file and an unreadable one are each said as such
// while the part is on, and nothing while it is off.
TEST(FixedText, LoadProblemsPromptWhileThePartIsOn) {
    const struct {
        int part;
        std::optional<std::string> file;
        std::optional<FileErrc> fault;
        TextView said;  // in the message; empty for none
    } rows[] = {
        {1, kSixteenLines, {}, U"(15):\r\n/opt/velmo/Fixed.fxt\r\n"},
        {1, {}, {}, U"find your Fixed Text.\r\n"},
        {1, "\"kept\"\r\n", FileErrc::TooLarge, U"Text:\r\n/opt/velmo/Fixed.fxt\r\nFile too large"},
        {0, {}, {}, U""},
        {2, kSixteenLines, {}, U""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(ToUtf8(row.said));
        testing::TestApp t;
        t.app.AppPath = kFolder;
        if (row.file)
            t.files.files[kFixedFile] = *row.file;
        if (row.fault)
            t.files.failReads[kFixedFile] = *row.fault;
        t.app.form.chkFixed.Value = row.part;
        LoadFixedText(t.app, Text());
        EXPECT_EQ(t.app.form.txtFixed.Text.get(), U"");
        ASSERT_EQ(t.messages.shown.size(), row.said.empty() ? 0u : 1u);
        if (!row.said.empty()) {
            EXPECT_NE(t.messages.shown[0].text.find(row.said), Text::npos);
            EXPECT_EQ(t.messages.shown[0].title, kFixedFile + U" Error");
        }
        EXPECT_EQ(t.files.files[kFixedFile], row.file.value_or(""));
    }
}

}  // namespace
}  // namespace velmo

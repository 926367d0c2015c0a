#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "domain/text_fields.h"
#include "platform/file_text.h"
#include "support/fakes.h"
#include "support/native_forms.h"
#include "ui/entry_editor.h"
#include "ui/fixed_text.h"
#include "ui/options.h"
#include "ui/quote_list_file.h"
#include "ui/schedule.h"

namespace velmo {
namespace {

using testing::NativeFileBytes;
using Entries = std::vector<Text>;

const Text kFolder = testing::Folder(U"opt/velmo");
const Text kDefaultFile = kFolder + U"Variable.txt";
const Text kFixedFolder = U"/opt/velmo/";
const Text kFixedFile = U"/opt/velmo/Fixed.fxt";
const std::string kSixteenLines = ToUtf8(Repeat(U"\"l\"\r\n", 16));

// What is saved, byte for byte, and what is read back; lines past the 15th
// are dropped with a message, a final line break is no line.
TEST(FixedText, SavesAndReloads) {
    const Text fifteen = Repeat(U"l\r\n", 14) + U"l";
    const struct {
        Text text;
        std::optional<std::string> file;  // when given, the saved bytes
        Text read;
        size_t messages;
    } rows[] = {
        {U"A. Writer\r\n", "\"A. Writer\"\r\n\"\"\r\n", U"A. Writer\r\n", 0},
        {U"", "\"\"\r\n", U"", 0},
        {U"He said \"hi\", twice\r\n  Café €", {}, U"He said \"hi\", twice\r\n  Café €", 0},
        {fifteen + U"\r\n", {}, fifteen, 0},
        {fifteen + U"\r\n16th", {}, fifteen, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(ToUtf8(row.text));
        testing::TestApp t;
        t.app.session.dataFolder = kFixedFolder;
        t.app.form.txtFixedText.Text = row.text;
        EXPECT_TRUE(SaveFixedText(t.app));
        if (row.file) {
            EXPECT_EQ(t.files.files[kFixedFile], NativeFileBytes(*row.file));
        }
        t.app.form.txtFixedText.Text = U"";
        t.app.form.chkFixedPart.Value = Check::On;  // a failed read would prompt
        LoadFixedText(t.app, Text());
        EXPECT_EQ(t.app.form.txtFixedText.Text.get(), row.read);
        ASSERT_EQ(t.messages.shown.size(), row.messages);
        if (row.messages) {
            EXPECT_NE(t.messages.shown[0].text.find(U"15"), Text::npos);
        }
    }
}

// The file is replaced only after its lines were read in this run, or when
// there is none: the part switched on later reads it first, and a refused
// file keeps its lines whatever is typed or chosen instead, said once. Too
// many lines, a missing file and an unreadable one are each said as such
// while the part is on, and nothing while it is greyed.
TEST(FixedText, TheFileIsReplacedOnlyAfterItsLinesWereRead) {
    const std::string writer = "\"A. Writer\"\r\n\"Small Town\"\r\n";
    const std::string kept = "\"kept\"\r\n";
    const TextView tooMany = U"(15):\r\n/opt/velmo/Fixed.fxt\r\n",
                   missing = U"find your Fixed Text.\r\n",
                   unreadable = U"Text:\r\n/opt/velmo/Fixed.fxt\r\nFile too large";
    const Answer no = Answer::No, yes = Answer::Yes;
    const struct {
        std::optional<std::string> file;  // Fixed.fxt at start
        std::optional<FileErrc> fault;    // reading it
        int partAtStart;
        Answer answer;              // the answer to a prompt at start
        std::optional<Text> typed;  // after ticking "Include Fixed Part"
        std::string saved;
        Text box;
        TextView said;  // in the prompt at start; empty for none
        bool refused;   // the saves are refused, said once
    } rows[] = {
        {writer, {}, 0, no, {}, NativeFileBytes(writer), U"A. Writer\r\nSmall Town", U"", false},
        {{}, {}, 0, no, U"New", NativeFileBytes("\"New\"\r\n"), U"New", U"", false},
        {kSixteenLines, {}, 1, no, U"typed", kSixteenLines, U"typed", tooMany, true},
        {kSixteenLines, {}, 1, yes, {}, kSixteenLines, U"Ann", tooMany, true},
        {{}, {}, 1, no, U"Jo", NativeFileBytes("\"Jo\"\r\n"), U"Jo", missing, false},
        {kept, FileErrc::TooLarge, 1, no, {}, kept, U"", unreadable, true},
        {kSixteenLines, {}, 2, no, {}, kSixteenLines, U"", U"", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        testing::TestApp t;
        MainForm& f = t.app.form;
        t.app.session.dataFolder = kFixedFolder;
        if (row.file)
            t.files.files[kFixedFile] = *row.file;
        if (row.fault)
            t.files.failReads[kFixedFile] = *row.fault;
        t.files.files[U"/home/ann/sig.fxt"] = "\"Ann\"\r\n";
        t.fileDialog.results = {Text(U"/home/ann/sig.fxt")};
        t.messages.answers = {row.answer};
        // Start-up reads the file while the part is on; greyed, a read is silent.
        f.chkFixedPart.Value = static_cast<Check>(row.partAtStart);
        if (row.partAtStart != 0)
            LoadFixedText(t.app, Text());
        t.app.started = true;
        f.chkFixedPart.Value = Check::On;
        if (row.typed)
            f.txtFixedText.Text = *row.typed;
        ASSERT_TRUE(f.txtFixedText.SetFocus());
        ASSERT_TRUE(f.txtEntry.SetFocus());  // leaving the editor saves it
        EXPECT_EQ(t.files.files[kFixedFile], row.saved);
        EXPECT_EQ(SaveFixedText(t.app), !row.refused) << "the second save";
        EXPECT_EQ(f.txtFixedText.Text.get(), row.box);
        ASSERT_EQ(t.messages.shown.size(), (row.said.empty() ? 0u : 1u) + (row.refused ? 1u : 0u));
        if (!row.said.empty()) {
            EXPECT_NE(t.messages.shown[0].text.find(row.said), Text::npos);
            EXPECT_EQ(t.messages.shown[0].title, kFixedFile + U" Error");
        }
    }
}

// Emptying the box while typing into it keeps the box usable and the part
// on, so what is typed next is the fixed text; left empty, the box is greyed
// and the part switched off once the focus has left it.
TEST(FixedText, EmptiedWhileTypingIsSwitchedOffWhenLeft) {
    for (const Text& typed : {Text(U"Jane Roe"), Text()}) {
        SCOPED_TRACE(ToUtf8(typed));
        testing::TestApp t;
        MainForm& f = t.app.form;
        t.app.session.dataFolder = kFixedFolder;
        t.files.files[kFixedFile] = NativeFileBytes("\"Jane Doe\"\r\n\"Small Town\"\r\n");
        f.chkFixedPart.Value = Check::On;
        LoadFixedText(t.app, Text());
        ASSERT_TRUE(f.txtFixedText.SetFocus());
        f.txtFixedText.Text = Text();
        EXPECT_TRUE(f.chkFixedPart.Value == Check::On && f.txtFixedText.Enabled);
        f.txtFixedText.Text = typed;
        ASSERT_TRUE(f.optVariableFirst.SetFocus());
        EXPECT_EQ(f.chkFixedPart.Value == Check::On && f.txtFixedText.Enabled, !typed.empty());
        EXPECT_EQ(t.files.files[kFixedFile], NativeFileBytes("\"" + ToUtf8(typed) + "\"\r\n"));
    }
}

class QuoteListFileTest : public ::testing::Test, protected testing::TestApp {
  protected:
    void SetUp() override { app.session.dataFolder = kFolder; }

    Entries Loaded() const {
        Entries out;
        for (int i = 1; i <= app.session.quoteList.EntryCount; ++i)
            out.push_back(app.session.quoteList.At(i));
        FieldReader kept{FromUtf8(app.session.quoteList.KeptAside)};
        while (!kept.AtEnd())
            out.push_back(kept.Next());
        return out;
    }
};

// A file never read is not replaced, and the entries are kept. A missing
// file and an unreadable one are told apart, the unreadable one left as it
// is; YES offers the dialog, and the load is tried until NO. A Windows-1252
// file is read; what is saved reads back the same, entries past the 200th
// included, whatever their characters; only a rooted stored path is honoured.
TEST_F(QuoteListFileTest, LoadsSavesAndReloads) {
    const std::string precious =
        "\"\x93"
        "Caf\xE9\x94 \x80\"\r\nplain,two\r\n";
    const Text found = testing::Rooted(U"home/ann/found.txt"), locked = kFolder + U"locked.txt";
    files.files[found] = precious;
    files.files[locked] = "\"kept\"";
    files.failReads[locked] = FileErrc::NotRegularFile;
    app.session.quoteListPath = found;
    app.session.quoteList.EntryCount = 1;
    app.session.quoteList.Entries[1] = U"typed";
    EXPECT_FALSE(SaveQuoteList(app));
    EXPECT_EQ(files.files[found], precious);
    EXPECT_EQ(app.session.quoteList.At(1), U"typed");
    app.session.quoteListPath.clear();  // the default file, missing
    messages.answers = {Answer::Yes, Answer::Yes, Answer::Yes, Answer::Ok, Answer::Yes};
    fileDialog.results = {std::nullopt, locked, Text(), found};
    LoadQuoteList(app);
    ASSERT_EQ(messages.shown.size(), 6u);  // the empty name is an error of its own
    EXPECT_NE(messages.shown[0].text.find(found), Text::npos);
    EXPECT_EQ(messages.shown[1].text.find(U"I have not been able to find your Variable Text"), 0u);
    EXPECT_EQ(messages.shown[1].style, message::ErrorYesNo);
    EXPECT_NE(messages.shown[3].text.find(locked + U"\r\nNot a regular file\r\n"), Text::npos);
    EXPECT_EQ(fileDialog.calls.at(0).filter, (FileFilters{{U"Text (*.txt)", {U"*.txt"}}}));
    EXPECT_EQ(fileDialog.calls.at(0).choice, FileChoice::Existing);
    EXPECT_EQ(app.session.quoteListPath, found);
    EXPECT_EQ(files.files[locked], "\"kept\"");
    EXPECT_EQ(Loaded(), (Entries{U"\u201CCafé\u201D €", U"plain", U"two"}));

    // Past the 200th: a character of every code page, then one of few.
    Entries many, more;
    for (int i = 1; i <= 201; ++i)
        many.push_back(U"q" + ToText(i));
    many.back() += U" caf\u00E9";
    more = many;
    more.back() = U"\u65E5\u672C \U0001F600";
    const Entries lists[] = {
        {}, {U"one", U"two\r\nlines", U"", U"say \"hi\"", U" a, b "}, many, more};
    for (const Entries& list : lists) {
        app.session.quoteList.EntryCount = static_cast<int>(std::min<size_t>(list.size(), 200));
        Text kept;
        for (auto entry = list.begin() + app.session.quoteList.EntryCount; entry != list.end();
             ++entry)
            kept += QuotedRecord(*entry);
        app.session.quoteList.KeptAside = ToUtf8(NativeLineEnds(kept));
        for (int i = 1; i <= app.session.quoteList.EntryCount; ++i)
            app.session.quoteList.Entries[static_cast<size_t>(i)] =
                list[static_cast<size_t>(i - 1)];
        for (const Text& stored : {Text(U"quotes.txt"), testing::RootedElsewhere(U"q.txt")}) {
            app.session.quoteListPath = stored;
            ASSERT_TRUE(SaveQuoteList(app));
            EXPECT_EQ(app.session.quoteListPath, kDefaultFile);
            LoadQuoteList(app);
            EXPECT_EQ(Loaded(), list);
        }
    }
    EXPECT_EQ(app.session.quoteList.EntryCount, 200);
    app.session.quoteList.EntryCount = 2;
    app.session.quoteList.KeptAside.clear();
    const Text mine = testing::Rooted(U"home/ann/q.txt");
    app.session.quoteListPath = mine;
    ASSERT_TRUE(SaveQuoteList(app));
    EXPECT_EQ(files.files[mine], NativeFileBytes("\"q1\"\r\n\"q2\"\r\n"));
    EXPECT_EQ(messages.shown.size(), 6u);
}

// The file button loads the chosen list once, switches the part on and
// builds with the entry the editor shows.
TEST_F(QuoteListFileTest, ChoosingAnotherFileLoadsItOnce) {
    SetDefaults(app);
    app.started = true;
    const Text chosen = testing::Rooted(U"home/ann/new.txt");
    files.files[chosen] = "\"n1\"\r\n\"n2\"\r\n";
    app.session.quoteList.CurrentEntry = 2;
    app.form.chkVariablePart.Value = Check::Off;
    fileDialog.results = {chosen};
    app.form.cmdChooseQuoteList.Click();
    ASSERT_EQ(fileDialog.calls.size(), 1u);
    EXPECT_EQ(fileDialog.calls[0].initial, kDefaultFile);
    EXPECT_EQ(fileDialog.calls[0].filter,
              (FileFilters{{U"Text Files (*.txt)", {U"*.txt"}}, {U"All Files (*.*)", {U"*"}}}));
    EXPECT_EQ(fileDialog.calls[0].choice, FileChoice::Existing);
    EXPECT_EQ(app.form.txtQuoteListPath.Text.get(), chosen);
    EXPECT_EQ(app.form.chkVariablePart.Value.get(), Check::On);
    EXPECT_EQ(app.session.PickedQuote(), U"n2");
    EXPECT_EQ(files.reads, 1);
    EXPECT_TRUE(messages.shown.empty());
}

// A file another program changed since it was read is never written over
// unseen. With no edits here, a save or a scheduled pick reads it again. With
// edits, a save asks: YES reads it again, NO replaces it, CANCEL leaves both;
// a pick keeps the edits without asking. Both files, the same rules.
TEST(TextFiles, AnotherProgramsChangeIsReadAgainOrAskedAbout) {
    // Ok where nothing is asked.
    const Answer ok = Answer::Ok, yes = Answer::Yes, no = Answer::No, cancel = Answer::Cancel;
    const std::string outside = "\"Added\"\r\n\"elsewhere\"\r\n";
    const struct {
        bool edited, pick;
        Answer answer;     // to the question, when asked
        bool fileOutside;  // else the copy here was written
        bool copyOutside;  // else the copy keeps what it had
        bool saved;
    } rows[] = {
        {false, false, ok, true, true, true},  {true, false, yes, true, true, true},
        {true, false, no, false, false, true}, {true, false, cancel, true, false, false},
        {false, true, ok, true, true, true},   {true, true, ok, true, false, true},
    };
    for (const bool fixed : {false, true}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(::testing::Message() << "fixed " << fixed << ", row " << &row - rows);
            testing::TestApp t;
            MainForm& f = t.app.form;
            t.app.session.dataFolder = kFolder;
            SetDefaults(t.app);
            const Text path = kFolder + (fixed ? U"Fixed.fxt" : U"Variable.txt");
            t.files.files[path] = "\"one\"\r\n\"two\"\r\n";
            f.chkFixedPart.Value = Check::On;
            if (fixed) {
                LoadFixedText(t.app, Text());
            } else {
                LoadQuoteList(t.app);
                t.app.session.quoteList.CurrentEntry = 1;
                ShowEntry(t.app);
            }
            if (row.edited && fixed)
                f.txtFixedText.Text = U"mine\r\ntwo";
            if (row.edited && !fixed)
                f.txtEntry.Text = U"mine";
            // The copy here, as the lines of the file.
            const auto copy = [&] {
                if (fixed)
                    return f.txtFixedText.Text.get();
                Text lines = t.app.session.quoteList.At(1);
                for (int i = 2; i <= t.app.session.quoteList.EntryCount; ++i)
                    lines += U"\r\n" + t.app.session.quoteList.At(i);
                return lines;
            };
            const Text ours = copy();
            t.files.files[path] = outside;
            t.messages.answers = {row.answer};
            bool saved = true;
            if (row.pick) {  // a scheduled change, as Randomize does it
                f.sldChangeInterval.Value = 1;
                WaitForChange(t.app);
                t.timer.Advance(300);
            } else {
                saved = fixed ? SaveFixedText(t.app) : SaveQuoteList(t.app);
            }
            EXPECT_EQ(saved, row.saved);
            EXPECT_EQ(t.files.files[path],
                      row.fileOutside ? outside : NativeFileBytes("\"mine\"\r\n\"two\"\r\n"));
            EXPECT_EQ(copy(), row.copyOutside ? Text(U"Added\r\nelsewhere") : ours);
            EXPECT_EQ(f.txtEntry.Text.get(),
                      t.app.session.quoteList.At(t.app.session.quoteList.CurrentEntry));
            const bool asked = row.edited && !row.pick;
            ASSERT_EQ(t.messages.shown.size(), asked ? 1u : 0u);
            if (asked) {
                EXPECT_EQ(t.messages.shown[0].text.find(path + U"\r\nhas been changed"), 0u);
                EXPECT_EQ(t.messages.shown[0].style, message::WarningYesNoCancelDefaultCancel);
            }
        }
        // A file that can no longer be read is not written over blind.
        testing::TestApp t;
        t.app.session.dataFolder = kFolder;
        SetDefaults(t.app);
        const Text path = kFolder + (fixed ? U"Fixed.fxt" : U"Variable.txt");
        t.files.files[path] = "\"one\"\r\n";
        t.app.form.chkFixedPart.Value = Check::On;
        if (fixed) {
            LoadFixedText(t.app, Text());
        } else {
            LoadQuoteList(t.app);
        }
        t.files.failReads[path] = std::make_error_code(std::errc::permission_denied);
        EXPECT_FALSE(fixed ? SaveFixedText(t.app) : SaveQuoteList(t.app));
        EXPECT_EQ(t.files.files[path], "\"one\"\r\n");
        ASSERT_EQ(t.messages.shown.size(), 1u);
        EXPECT_EQ(t.messages.shown[0].text.find(U"Unable to save the"), 0u);
    }
}

}  // namespace
}  // namespace velmo

#include "ui/startup.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "domain/paths.h"
#include "domain/sample_quotes.h"
#include "platform/path_style.h"
#include "support/fakes.h"
#include "support/native_forms.h"
#include "ui/options.h"
#include "ui/schedule.h"
#include "ui/settings.h"

namespace velmo {
namespace {

const Text kFolder = testing::Folder(U"opt/velmo");
const Text kList = kFolder + U"Variable.txt";
const Text kFixed = kFolder + U"Fixed.fxt";

class StartupTest : public ::testing::Test, protected testing::TestApp {
  protected:
    // Stores options as a save would, in this program's files.
    void StoreOptions(const std::function<void(App&)>& change) {
        testing::TestApp other;
        other.app.session.dataFolder = kFolder;
        SetDefaults(other.app);
        change(other.app);
        SaveSettings(other.app);
        for (const auto& [path, bytes] : other.files.files)
            files.files[path] = bytes;
    }

    int picks() const { return static_cast<int>(random.asked.size()); }

    MainForm& form = app.form;
};

// A newcomer's first signature has a quotation; the sample never replaces a
// list, nor comes back on a later start that finds the list gone. An installed
// program keeps the user's files in the user's data folder.
TEST_F(StartupTest, FirstStartWritesTheSampleListOnce) {
    ASSERT_TRUE(Main(app));
    EXPECT_NE(files.files[kList].find("Benjamin Franklin"), std::string::npos);
    EXPECT_EQ(app.session.quoteList.EntryCount, static_cast<int>(SampleQuotes.size()));
    EXPECT_EQ(std::count(files.madeFolders.begin(), files.madeFolders.end(), kFolder), 1);

    testing::TestApp mine;
    mine.program.textFilesFolder = mine.program.dataFolder;
    mine.program.readOnlyFolder = kFolder;
    const Text myList = mine.program.dataFolder + U"Variable.txt";
    mine.files.files[myList] = "\"mine\"\r\n";
    ASSERT_TRUE(Main(mine.app));
    EXPECT_EQ(mine.files.files[myList], "\"mine\"\r\n");
    EXPECT_EQ(mine.app.session.quoteList.At(1), U"mine");

    testing::TestApp later;
    later.files.files = files.files;
    later.files.files.erase(kList);
    ASSERT_TRUE(Main(later.app));
    EXPECT_FALSE(later.files.Exists(kList));
    ASSERT_EQ(later.messages.shown.size(), 1u);  // the offer to find it
    EXPECT_EQ(later.messages.shown[0].title, U"Variable.txt Error");
}

// A named profile says which it is in the caption and on the icon, and is
// new on its first start: nothing beside the program is copied into it.
TEST_F(StartupTest, ANamedProfileSaysWhichItIs) {
    const std::vector<std::pair<Text, Text>> rows = {{U"", U"Velmo"}, {U"work", U"Velmo (work)"}};
    for (const auto& [profile, name] : rows) {
        testing::TestApp t;
        t.program.profileName = profile;
        t.program.textFilesFolder = t.program.dataFolder;
        t.files.files[kList] = "\"old\"\r\n";
        ASSERT_TRUE(Main(t.app));
        EXPECT_EQ(t.app.form.Caption.get(), name + U" - 1.00");
        EXPECT_EQ(t.icon.tip, name);
        EXPECT_EQ(t.app.session.quoteList.At(1) == U"old", profile.empty()) << ToUtf8(profile);
    }
}

// Where the text files are kept in the user's data folder, those an earlier
// version kept beside the program are copied there, once and said once, each
// only when the data folder has none; they are never changed, and the stored
// path to the old list names the copy from then on, for a Velmo elsewhere too.
// A folder the user cannot write in held none of the user's files.
TEST_F(StartupTest, TextFilesBesideTheProgramAreCopiedToTheDataFolderOnce) {
    const Text data = program.dataFolder;
    const std::string list = "\"old\"\r\n", fixed = "\"A. Writer\"\r\n", mine = "\"mine\"\r\n";
    const struct {
        bool listInData, readOnly, failFixed;
        Text listUsed, fixedShown;
        std::vector<const char*> said;  // in the one message, if any
        bool failList = false;
    } rows[] = {
        {false, false, false, data + U"Variable.txt", U"A. Writer", {"Variable.txt Fixed.fxt"}},
        {true, false, false, data + U"Variable.txt", U"A. Writer", {": Fixed.fxt"}},
        {false, true, false, kList, U"", {}},
        {false, false, true, data + U"Variable.txt", U"", {": Variable.txt", "Unable to copy"}},
        {false, false, false, kList, U"", {"Unable to copy"}, true},
    };
    StoreOptions([](App& a) {
        a.form.chkFixedPart.Value = Check::On;
        a.session.quoteListPath = kList;
    });
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(&row - rows));
        testing::TestApp t;
        t.program.textFilesFolder = data;
        t.files.files = files.files;
        t.files.files[kList] = list;
        t.files.files[kFixed] = fixed;
        if (row.listInData)
            t.files.files[data + U"Variable.txt"] = mine;
        if (row.readOnly)
            t.program.readOnlyFolder = kFolder;
        if (row.failList)
            t.files.failWrites[data + U"Variable.txt"] =
                std::make_error_code(std::errc::no_space_on_device);
        if (row.failFixed)
            t.files.failWrites[data + U"Fixed.fxt"] =
                std::make_error_code(std::errc::no_space_on_device);
        ASSERT_TRUE(Main(t.app));
        EXPECT_EQ(t.files.files[kList], list);
        EXPECT_EQ(t.files.files[kFixed], fixed);
        EXPECT_EQ(t.app.session.quoteListPath, row.listUsed);
        EXPECT_EQ(t.app.form.txtFixedText.Text.get(), row.fixedShown);
        if (!row.readOnly && !row.failList) {
            EXPECT_EQ(t.files.files[data + U"Variable.txt"], row.listInData ? mine : list);
        }
        // The prompts for a missing file have titles of their own.
        const auto told = [](const testing::FakeMessageBox& m) {
            std::vector<Text> texts;
            for (const testing::ShownMessage& shown : m.shown) {
                if (shown.title.empty())
                    texts.push_back(shown.text);
            }
            return texts;
        };
        const std::vector<Text> said = told(t.messages);
        ASSERT_EQ(said.size(), row.said.empty() ? 0u : 1u);
        for (const char* words : row.said)
            EXPECT_NE(said[0].find(FromUtf8(words)), Text::npos) << words;

        // A copy of Velmo elsewhere reads the same list, with nothing to copy.
        testing::TestApp later;
        later.program.textFilesFolder = data;
        later.program.folder = testing::Rooted(U"usr/bin");
        later.files.files = t.files.files;
        ASSERT_TRUE(Main(later.app));
        EXPECT_EQ(later.app.session.quoteListPath, row.listUsed);
        EXPECT_TRUE(told(later.messages).empty());
    }
}

// Every start runs the guard, adds the window's icon, reads the settings, the
// desktop entry, the fixed text and the list, picks, writes, then arms the timer.
// A tray start never shows the window, unless there is no notification area.
// A stored signature path is written only where a signature belongs: a
// relative one in the documents folder, never over one of Velmo's own files,
// which is said once, not at every change.
TEST_F(StartupTest, StoredOptionsAtStart) {
    const Text documents = testing::Folder(U"home/test/Documents") + U"sig.txt";
    // Its first dot at 56: one place past what is shown unshortened.
    const Text longName = U"signature-for-every-mail-i-send-xy.txt";
    const struct {
        int tray;
        bool iconAvailable, shown;
        Text stored, written;  // written: where the signature goes; empty for nowhere
    } rows[] = {{0, true, true, longName, testing::Folder(U"home/test/Documents") + longName},
                {1, true, false, U"sig.txt", documents},
                {1, false, true, U"sig.txt", documents},
                {0, true, true, kList, Text()}};
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(&row - rows));
        testing::TestApp t;
        StoreOptions([&row](App& a) {
            a.form.chkStartOnTray.Value = static_cast<Check>(row.tray);
            a.form.chkFixedPart.Value = Check::On;
            a.form.chkSignatureFile.Value = Check::On;
            a.session.signaturePath = row.stored;
        });
        t.files.files = files.files;
        t.files.files[kList] = "\"only\"\r\n";
        t.files.files[kFixed] = "\"A. Writer\"\r\n";
        t.icon.available = row.iconAvailable;
        ASSERT_TRUE(Main(t.app));
        if (!row.written.empty()) {
            const auto read = [](const Text& path) { return "read " + ToUtf8(path); };
            EXPECT_EQ(t.log.calls, (std::vector<std::string>{
                                       "instance", "icon add", read(testing::kTestSettingsFile),
                                       read(t.program.autostartFile), read(kFixed), read(kList),
                                       "random", "write " + ToUtf8(row.written), "timer"}));
            EXPECT_NE(t.files.files[row.written].find("only"), std::string::npos);
            EXPECT_EQ(t.app.form.txtSignatureFilePath.Text.get(),
                      ShortenPath(row.written, 55, NativePathStyle()));
        }
        EXPECT_EQ(t.app.form.txtQuoteListPath.Text.get(), kList);
        int repaints = 0;
        t.app.form.Changed += [&repaints](Control* control, Property property) {
            repaints += control == nullptr && property == Property::Refresh;
        };
        t.app.form.cmdRandomize.Click();  // another change of the signature, shown at once
        EXPECT_GT(repaints, 0);
        EXPECT_EQ(t.app.form.Visible.get(), row.shown);
        EXPECT_EQ(t.app.form.mnuOpenWindow.Visible.get(), !row.shown);
        EXPECT_EQ(t.app.form.mnuPutOnTray.Visible.get(), row.shown);
        EXPECT_EQ(t.files.files[kList], "\"only\"\r\n");
        EXPECT_EQ(t.messages.shown.size(), row.written.empty() ? 1u : 0u);
    }
}

TEST_F(StartupTest, SecondCopyOnlyShowsTheMessage) {
    instance.anotherRunning = true;
    EXPECT_FALSE(Main(app));
    EXPECT_EQ(log.calls,
              (std::vector<std::string>{"instance", "message Program already in use", "quit"}));
    EXPECT_EQ(messages.shown.at(0).style, message::WarningOkCancel);
}

// No polling: the timer is armed only for the next due time, counted from
// the last change by elapsed time (never the wall clock); a slider move
// retimes the running wait, and "Never" disarms it. A pick shows in the editor
// as by the buttons, with its caption, but never moves the editor away from
// an entry being typed into; an empty list picks nothing. Before the schedule runs
// the slider only shows each interval of the table.
TEST_F(StartupTest, TheTimerIsArmedOnlyForTheNextChange) {
    const std::pair<Text, Text> rows[] = {
        {U"Never", U"0"},        {U"5 Minute", U"300"},   {U"15 Minute", U"900"},
        {U"30 Minute", U"1800"}, {U"1 Hour", U"3600"},    {U"3 Hours", U"10800"},
        {U"6 Hours", U"21600"},  {U"12 Hours", U"43200"}, {U"Once a Day", U"86400"}};
    for (int position = 8; position >= 0; --position) {
        form.sldChangeInterval.Value = position;
        EXPECT_EQ(form.lblChangeInterval.Caption.get(), rows[position].first);
        EXPECT_EQ(form.sldChangeInterval.Tag.get(), rows[position].second);
    }
    EXPECT_FALSE(timer.armed());
    SetDefaults(app);
    app.session.quoteList.EntryCount = 5;
    for (int i = 1; i <= 5; ++i)
        app.session.quoteList.Entries[static_cast<size_t>(i)] = U"quote " + ToText(i);
    random.values = {4};
    form.mnuRandomize.Click();
    EXPECT_EQ(form.txtEntry.Text.get(), U"quote 4");
    EXPECT_EQ(form.lblEntryNumber.Caption.get(), U"Entry: 4/5");
    random.asked.clear();
    form.sldChangeInterval.Value = 0;
    WaitForChange(app);
    EXPECT_FALSE(timer.armed());
    timer.Advance(400);
    form.sldChangeInterval.Value = 1;  // five minutes from the start have passed: at once
    timer.Advance(0);
    EXPECT_EQ(picks(), 1);
    EXPECT_EQ(timer.dueAt, clock.elapsed + 300);

    random.values = {3};
    timer.Advance(299);
    EXPECT_EQ(picks(), 1);
    timer.Advance(1);
    EXPECT_EQ(picks(), 2);
    EXPECT_EQ(form.txtEntry.Text.get(), U"quote 3");  // a change is a pick as by the button

    // A change while the user types into an entry goes into the signature
    // only: the editor keeps the entry, its caption and the keys that follow.
    ASSERT_TRUE(form.txtEntry.SetFocus());
    form.txtEntry.Text = U"quote 3 and";
    random.values = {5};
    timer.Advance(300);
    EXPECT_EQ(picks(), 3);
    EXPECT_NE(app.session.Signature().find(U"quote 5"), Text::npos);
    form.txtEntry.Text = U"quote 3 and more";
    EXPECT_EQ(form.lblEntryNumber.Caption.get(), U"Entry: 3/5");
    EXPECT_EQ(app.session.quoteList.At(3) + U"|" + app.session.quoteList.At(5),
              U"quote 3 and more|quote 5");

    form.sldChangeInterval.Value = 0;
    EXPECT_FALSE(timer.armed());

    app.session.quoteList.EntryCount = 0;  // slot 1 still holds a quote of the longer list
    PickRandomEntry(app);
    EXPECT_EQ(app.session.PickedEntry(), 1);
    EXPECT_EQ(app.session.PickedQuote(), U"");
    EXPECT_NE(app.session.Signature().find(U"No Quote Selected"), Text::npos);
    EXPECT_EQ(picks(), 3);
}

}  // namespace
}  // namespace velmo

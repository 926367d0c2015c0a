#include "ui/startup.h"

#include <gtest/gtest.h>

#include "domain/sample_quotes.h"
#include "support/fakes.h"
#include "support/native_forms.h"
#include "ui/options.h"
#include "ui/settings.h"

namespace velmo {
namespace {

const Text kFolder = testing::Folder(U"opt/velmo");
const Text kList = kFolder + U"Variable.txt";
const Text kFixed = kFolder + U"Fixed.fxt";
const Text kSignature = testing::Rooted(U"home/ann/sig.txt");

class StartupTest : public ::testing::Test, protected testing::TestApp {
  protected:
    // Stores options as a save would, in this program's files.
    void StoreOptions(const std::function<void(App&)>& change) {
        testing::TestApp other;
        other.app.AppPath = kFolder;
        SetDefaults(other.app);
        change(other.app);
        SaveSettings(other.app);
        for (const auto& [path, bytes] : other.files.files)
            files.files[path] = bytes;
    }

    MainForm& form = app.form;
};

// The guard first; the window and its icon before any option is set; the
// settings, the fixed text, the list, the pick, the signature, the schedule.
TEST_F(StartupTest, StepsRunInOrder) {
    files.files[kList] = "\"only\"\r\n";
    files.files[kFixed] = "\"A. Writer\"\r\n";
    StoreOptions([](App& a) {
        a.form.chkFixed.Value = 1;
        a.form.chkFile.Value = 1;
        a.SignatureFilePath = kSignature;
    });
    files.files[kSignature] = "";

    ASSERT_TRUE(Main(app));
    const std::string steps[] = {"instance",
                                 "icon add",
                                 "read " + ToUtf8(testing::kTestSettingsFile),
                                 "read " + ToUtf8(kFixed),
                                 "read " + ToUtf8(kList),
                                 "random",
                                 "write " + ToUtf8(kSignature),
                                 "timer"};
    int previous = -1;
    for (const std::string& step : steps) {
        EXPECT_GT(log.IndexOf(step), previous) << step;
        previous = log.IndexOf(step);
    }
    EXPECT_EQ(log.IndexOf("instance"), 0);
    EXPECT_EQ(form.txtFixed.Text.get(), U"A. Writer");
    EXPECT_EQ(form.txtVarFile.Text.get(), kList);
    EXPECT_EQ(form.txtSigFile.Text.get(), kSignature);
    EXPECT_NE(files.files[kSignature].find("only"), std::string::npos);
    EXPECT_TRUE(messages.shown.empty());
}

// A newcomer's first signature has a quotation; the sample never replaces a
// list, nor comes back on a later start that finds the list gone.
TEST_F(StartupTest, FirstStartWritesTheSampleListOnce) {
    ASSERT_TRUE(Main(app));
    EXPECT_NE(files.files[kList].find("Benjamin Franklin"), std::string::npos);
    EXPECT_EQ(app.vars.EntryCount, static_cast<int>(SampleQuotes.size()));
    EXPECT_NE(app.SignatureText.find(app.PickedText), Text::npos);
    EXPECT_TRUE(messages.shown.empty());

    testing::TestApp mine;
    mine.files.files[kList] = "\"mine\"\r\n";
    ASSERT_TRUE(Main(mine.app));
    EXPECT_EQ(mine.files.files[kList], "\"mine\"\r\n");

    testing::TestApp later;
    later.files.files = files.files;
    later.files.files.erase(kList);
    ASSERT_TRUE(Main(later.app));
    EXPECT_FALSE(later.files.Exists(kList));
    ASSERT_EQ(later.messages.shown.size(), 1u);  // the offer to find it
    EXPECT_EQ(later.messages.shown[0].title, U"Variable.txt Error");
    EXPECT_NE(later.app.SignatureText.find(U"No Quote Selected"), Text::npos);
}

// A tray start never shows the window, unless there is no notification area.
TEST_F(StartupTest, TheWindowIsShownUnlessStartedOnTheTray) {
    const struct {
        int tray;
        bool iconAvailable;
        bool shown;
    } rows[] = {{0, true, true}, {1, true, false}, {1, false, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.tray * 2 + row.iconAvailable);
        testing::TestApp t;
        StoreOptions([&row](App& a) { a.form.chkTray.Value = row.tray; });
        t.files.files = files.files;
        t.icon.available = row.iconAvailable;
        int shows = 0;
        t.app.form.Changed += [&](Control* c, Property p) {
            shows += c == nullptr && p == Property::Visible && t.app.form.Visible;
        };
        ASSERT_TRUE(Main(t.app));
        EXPECT_EQ(shows, row.shown ? 1 : 0);
        EXPECT_EQ(t.app.form.Visible.get(), row.shown);
        EXPECT_EQ(t.app.form.mnuopen.Visible.get(), !row.shown);
        EXPECT_EQ(t.app.form.mnuPut.Visible.get(), row.shown);
    }
}

// A stored signature path is written only where a signature belongs: never
// over one of Velmo's own files, which is said once, not at every change.
TEST_F(StartupTest, StoredSignaturePathIsWrittenOnlyWhereItBelongs) {
    const std::string quotes = "\"only\"\r\n";
    const struct {
        Text stored;
        Text written;  // where the signature goes; empty for nowhere
    } rows[] = {
        {kList, Text()},
        // Never in the folder the program was started from.
        {U"sig.txt", testing::Folder(U"home/test/Documents") + U"sig.txt"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(ToUtf8(row.stored));
        testing::TestApp t;
        files.files.clear();
        StoreOptions([&row](App& a) {
            a.form.chkFile.Value = 1;
            a.SignatureFilePath = row.stored;
        });
        t.files.files = files.files;
        t.files.files[kList] = quotes;
        ASSERT_TRUE(Main(t.app));
        t.app.form.btnRandomize.Click();  // another change of the signature
        EXPECT_EQ(t.files.files[kList], quotes);
        ASSERT_EQ(t.messages.shown.size(), row.written.empty() ? 1u : 0u);
        if (row.written.empty())
            EXPECT_EQ(t.messages.shown[0].title, U"Signature File");
        else
            EXPECT_NE(t.files.files[row.written].find("only"), std::string::npos);
    }
}

// A second copy says so and ends, whichever button is pressed.
TEST_F(StartupTest, SecondCopyOnlyShowsTheMessage) {
    for (const int answer : {msgbox::Ok, msgbox::Cancel}) {
        testing::TestApp t;
        t.instance.anotherRunning = true;
        t.messages.answers = {answer};
        EXPECT_FALSE(Main(t.app));
        ASSERT_EQ(t.messages.shown.size(), 1u);
        EXPECT_EQ(t.messages.shown[0].style, 49);
        EXPECT_EQ(t.log.calls,
                  (std::vector<std::string>{"instance", "message Program already in use", "exit"}));
        EXPECT_EQ(t.program.exits, 1);
        EXPECT_EQ(t.icon.adds, 0);
    }
}

TEST_F(StartupTest, ProgramFolderEndsInOneSeparator) {
    const std::pair<Text, Text> rows[] = {{testing::Rooted(U"opt/velmo"), kFolder},
                                          {kFolder, kFolder},
                                          {testing::Rooted(U""), testing::Rooted(U"")}};
    for (const auto& [folder, data] : rows) {
        program.folder = folder;
        EXPECT_EQ(ProgramDataFolder(app.ports.program), data);
    }
    // An installed program keeps the user's files in the user's data folder.
    program.folder = testing::Rooted(U"usr/bin");
    program.readOnlyFolder = testing::Folder(U"usr/bin");
    EXPECT_EQ(ProgramDataFolder(app.ports.program), program.dataFolder);
}

}  // namespace
}  // namespace velmo

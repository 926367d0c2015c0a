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

TEST_F(StartupTest, StepsRunInOrder) {
    files.files[kFolder + U"Variable.txt"] = "\"only\"\r\n";
    files.files[kFolder + U"Fixed.fxt"] = "\"A. Writer\"\r\n";
    StoreOptions([](App& a) {
        a.form.chkFixed.Value = 1;
        a.form.chkFile.Value = 1;
        a.SignatureFilePath = U"/home/ann/signature.txt";
    });
    files.files[U"/home/ann/signature.txt"] = "";

    ASSERT_TRUE(Main(app));
    const auto& l = log;
    const int guard = l.IndexOf("instance");
    const int iconAdded = l.IndexOf("icon add");
    const int settingsRead = l.IndexOf("read " + ToUtf8(testing::kTestSettingsFile));
    const int fixed = l.IndexOf("read " + ToUtf8(kFolder + U"Fixed.fxt"));
    const int variable = l.IndexOf("read " + ToUtf8(kFolder + U"Variable.txt"));
    const int pick = l.IndexOf("random");
    const int write = l.IndexOf("write /home/ann/signature.txt");
    const int timed = l.IndexOf("timer");
    EXPECT_EQ(guard, 0);
    for (int step : {iconAdded, settingsRead, fixed, variable, pick, write, timed})
        EXPECT_GE(step, 0);
    // The window (and with it the icon) exists before any option is set.
    EXPECT_LT(guard, iconAdded);
    EXPECT_LT(guard, settingsRead);
    EXPECT_LT(iconAdded, fixed);
    EXPECT_LT(settingsRead, fixed);
    EXPECT_LT(fixed, variable);
    EXPECT_LT(variable, pick);
    EXPECT_LT(pick, write);
    EXPECT_LT(write, timed);

    EXPECT_EQ(app.AppPath, kFolder);
    EXPECT_EQ(form.txtFixed.Text.get(), U"A. Writer");
    EXPECT_EQ(form.txtVarFile.Text.get(), kFolder + U"Variable.txt");
    EXPECT_EQ(form.txtSigFile.Text.get(), U"/home/ann/signature.txt");
    EXPECT_EQ(files.files[U"/home/ann/signature.txt"].find("only") != std::string::npos, true);
    EXPECT_TRUE(form.Visible);
    EXPECT_FALSE(form.mnuopen.Visible);
    EXPECT_TRUE(form.mnuPut.Visible);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(StartupTest, FirstStartWritesTheSampleListAndShowsAQuote) {
    ASSERT_TRUE(Main(app));
    const std::string& sample = files.files[kFolder + U"Variable.txt"];
    EXPECT_NE(sample.find("Benjamin Franklin"), std::string::npos);
    EXPECT_EQ(app.vars.EntryCount, static_cast<int>(SampleQuotes.size()));
    EXPECT_NE(app.PickedText, U"");
    EXPECT_EQ(app.SignatureText.find(U"No Quote Selected"), Text::npos);
    // Both keys exist, empty, and the defaults are in the window.
    EXPECT_TRUE(settings.KeyExists(Text(SettingsKey)));
    EXPECT_EQ(settings.Values(Text(SettingsKey)).value_or(std::vector<StoredValue>(1)).size(), 0u);
    EXPECT_EQ(form.chkBorder.Value.get(), 1);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(StartupTest, SampleNeverReplacesAList) {
    files.files[kFolder + U"Variable.txt"] = "\"mine\"\r\n";
    ASSERT_TRUE(Main(app));
    EXPECT_EQ(files.files[kFolder + U"Variable.txt"], "\"mine\"\r\n");

    // Nor is it written on a later start that finds the list gone.
    testing::TestApp later;
    later.files.files = files.files;
    later.files.files.erase(kFolder + U"Variable.txt");
    ASSERT_TRUE(Main(later.app));
    EXPECT_FALSE(later.files.Exists(kFolder + U"Variable.txt"));
    EXPECT_EQ(later.messages.shown.size(), 1u);  // the offer to find it
}

TEST_F(StartupTest, TrayStartNeverShowsTheWindow) {
    StoreOptions([](App& a) { a.form.chkTray.Value = 1; });
    int shown = 0;
    form.Changed += [&](Control* c, Property p) {
        if (c == nullptr && p == Property::Visible && form.Visible)
            ++shown;
    };
    ASSERT_TRUE(Main(app));
    EXPECT_EQ(shown, 0);
    EXPECT_FALSE(form.Visible);
    EXPECT_TRUE(form.mnuopen.Visible);
    EXPECT_FALSE(form.mnuPut.Visible);
    EXPECT_TRUE(icon.shown);
}

TEST_F(StartupTest, VariablePartOffStillWritesASignature) {
    StoreOptions([](App& a) {
        a.form.chkVar.Value = 0;
        a.form.chkFixed.Value = 1;
        a.form.chkFile.Value = 1;
        a.SignatureFilePath = U"/home/ann/sig.txt";
    });
    files.files[U"/home/ann/sig.txt"] = "";
    files.files[kFolder + U"Fixed.fxt"] = "\"Fixed only\"\r\n";
    ASSERT_TRUE(Main(app));
    EXPECT_EQ(log.IndexOf("read " + ToUtf8(kFolder + U"Variable.txt")), -1);
    EXPECT_EQ(app.vars.EntryCount, 0);
    EXPECT_NE(files.files[U"/home/ann/sig.txt"].find("Fixed only"), std::string::npos);
}

// A stored signature path is written only where a signature belongs: never
// over one of Velmo's own files, which is said once, not at every change.
TEST_F(StartupTest, StoredSignaturePathIsWrittenOnlyWhereItBelongs) {
    const Text list = kFolder + U"Variable.txt";
    const std::string quotes = "\"only\"\r\n";
    const struct {
        Text stored;
        Text written;  // where the signature goes; empty for nowhere
    } rows[] = {
        {list, Text()},
        {kFolder + U"Fixed.fxt", Text()},
        {testing::Rooted(U"home/ann/sig.txt"), testing::Rooted(U"home/ann/sig.txt")},
        // Never in the folder the program was started from.
        {U"sig.txt", testing::Folder(U"home/test/Documents") + U"sig.txt"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(ToUtf8(row.stored));
        testing::TestApp t;
        StartupTest::files.files.clear();
        StoreOptions([&row](App& a) {
            a.form.chkFile.Value = 1;
            a.SignatureFilePath = row.stored;
        });
        t.files.files = StartupTest::files.files;
        t.files.files[list] = quotes;
        ASSERT_TRUE(Main(t.app));
        t.app.form.btnRandomize.Click();  // another change of the signature

        EXPECT_EQ(t.files.files[list], quotes);
        EXPECT_EQ(t.files.Exists(kFolder + U"Fixed.fxt"), false);
        if (row.written.empty()) {
            ASSERT_EQ(t.messages.shown.size(), 1u);
            EXPECT_EQ(t.messages.shown[0].title, U"Signature File");
            EXPECT_NE(t.messages.shown[0].text.find(row.stored), Text::npos);
        } else {
            EXPECT_TRUE(t.messages.shown.empty());
            EXPECT_NE(t.files.files[row.written].find("only"), std::string::npos);
        }
    }
}

TEST_F(StartupTest, MissingListAnsweredNoStartsWithoutEntries) {
    StoreOptions([](App&) {});
    ASSERT_TRUE(Main(app));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, U"Variable.txt Error");
    EXPECT_EQ(app.vars.EntryCount, 0);
    EXPECT_NE(app.SignatureText.find(U"No Quote Selected"), Text::npos);
}

TEST_F(StartupTest, SecondCopyOnlyShowsTheMessage) {
    instance.anotherRunning = true;
    EXPECT_FALSE(Main(app));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, U"Program already in use");
    EXPECT_EQ(messages.shown[0].style, 49);
    EXPECT_EQ(program.exits, 1);
    EXPECT_EQ(log.calls,
              (std::vector<std::string>{"instance", "message Program already in use", "exit"}));
    EXPECT_EQ(icon.adds, 0);

    // Cancel ends it the same way.
    testing::TestApp cancelled;
    cancelled.instance.anotherRunning = true;
    cancelled.messages.answers = {msgbox::Cancel};
    EXPECT_FALSE(Main(cancelled.app));
    EXPECT_EQ(cancelled.program.exits, 1);
}

TEST_F(StartupTest, ProgramFolderEndsInOneSeparator) {
    program.folder = testing::Rooted(U"opt/velmo");
    EXPECT_EQ(ProgramDataFolder(app.ports.program), kFolder);
    program.folder = kFolder;
    EXPECT_EQ(ProgramDataFolder(app.ports.program), kFolder);
    program.folder = testing::Rooted(U"");
    EXPECT_EQ(ProgramDataFolder(app.ports.program), testing::Rooted(U""));
    // An installed program keeps the user's files in the user's data folder.
    program.folder = testing::Rooted(U"usr/bin");
    program.readOnlyFolder = testing::Folder(U"usr/bin");
    EXPECT_EQ(ProgramDataFolder(app.ports.program), program.dataFolder);
}

TEST_F(StartupTest, EveryWayOutRemovesTheIconAndEndsAtOnce) {
    ASSERT_TRUE(Main(app));
    ASSERT_TRUE(icon.shown);
    const size_t writes = static_cast<size_t>(files.writes);
    form.btnClose.Click();
    EXPECT_FALSE(icon.shown);
    EXPECT_EQ(program.exits, 1);

    icon.shown = true;
    form.mnuExit.Click();
    EXPECT_FALSE(icon.shown);
    EXPECT_EQ(program.exits, 2);

    icon.shown = true;
    Form_QueryUnload(app);
    EXPECT_FALSE(icon.shown);
    EXPECT_EQ(program.exits, 3);
    EXPECT_EQ(static_cast<size_t>(files.writes), writes) << "nothing is saved on the way out";
}

}  // namespace
}  // namespace velmo

namespace velmo {
namespace {

TEST_F(StartupTest, WithoutANotificationAreaATrayStartShowsTheWindow) {
    StoreOptions([](App& a) { a.form.chkTray.Value = 1; });
    icon.available = false;
    ASSERT_TRUE(Main(app));
    EXPECT_TRUE(form.Visible);
    EXPECT_FALSE(form.mnuopen.Visible);

    // And "Tray Minimize" minimizes instead of hiding it for good.
    form.cmdTray2.Click();
    EXPECT_TRUE(form.Visible);
    EXPECT_TRUE(form.Minimized);
}

}  // namespace
}  // namespace velmo

namespace velmo {
namespace {

TEST_F(StartupTest, AnUnreadableSettingsFileIsReportedAtStartAndKeptAside) {
    files.files[testing::kTestSettingsFile] = "not a registry file";
    ASSERT_TRUE(Main(app));
    ASSERT_GE(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(U"Your Account data is corrupt"), Text::npos);
    EXPECT_EQ(files.files[testing::kTestSettingsFile + U".bad"], "not a registry file");
    EXPECT_EQ(form.chkBorder.Value.get(), 1);  // the defaults
}

}  // namespace
}  // namespace velmo

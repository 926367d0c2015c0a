#include "ui/variable_file.h"

#include <gtest/gtest.h>

#include "support/fakes.h"
#include "support/native_forms.h"
#include "ui/options.h"

namespace velmo {
namespace {

using testing::NativeFileBytes;
using Entries = std::vector<Text>;

const Text kFolder = testing::Folder(U"opt/velmo");
const Text kDefaultFile = kFolder + U"Variable.txt";

class VariableFileTest : public ::testing::Test, protected testing::TestApp {
  protected:
    void SetUp() override { app.AppPath = kFolder; }

    Entries Loaded() const {
        Entries out;
        for (int i = 1; i <= app.vars.EntryCount; ++i)
            out.push_back(app.vars.At(i));
        out.insert(out.end(), app.vars.KeptAside.begin(), app.vars.KeptAside.end());
        return out;
    }
};

// A file never read is not replaced, and the entries are kept. A
// Windows-1252 file is read; what is saved reads back the same, entries past
// the 200th included; only a rooted stored path is honoured.
TEST_F(VariableFileTest, LoadsSavesAndReloads) {
    const std::string precious =
        "\"\x93"
        "Caf\xE9\x94 \x80\"\r\nplain,two\r\n";
    files.files[kDefaultFile] = precious;
    app.vars.EntryCount = 1;
    app.vars.Entries[1] = U"typed";
    EXPECT_FALSE(SaveVariableFile(app));
    EXPECT_EQ(files.files[kDefaultFile], precious);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(kDefaultFile), Text::npos);
    EXPECT_EQ(app.vars.At(1), U"typed");
    LoadVariableFile(app);
    EXPECT_EQ(Loaded(), (Entries{U"\u201CCafé\u201D €", U"plain", U"two"}));

    Entries many;
    for (int i = 1; i <= 201; ++i)
        many.push_back(U"q" + ToText(i));
    const Entries lists[] = {{}, {U"one", U"two\r\nlines", U"", U"say \"hi\"", U" a, b "}, many};
    for (const Entries& list : lists) {
        app.vars.EntryCount = static_cast<int>(std::min<size_t>(list.size(), 200));
        app.vars.KeptAside.assign(list.begin() + app.vars.EntryCount, list.end());
        for (int i = 1; i <= app.vars.EntryCount; ++i)
            app.vars.Entries[static_cast<size_t>(i)] = list[static_cast<size_t>(i - 1)];
        for (const Text& stored : {Text(U"quotes.txt"), testing::RootedElsewhere(U"q.txt")}) {
            app.VariableFilePath = stored;
            ASSERT_TRUE(SaveVariableFile(app));
            EXPECT_EQ(app.VariableFilePath, kDefaultFile);
            LoadVariableFile(app);
            EXPECT_EQ(Loaded(), list);
        }
    }
    EXPECT_EQ(app.vars.EntryCount, 200);
    app.vars.EntryCount = 2;
    app.vars.KeptAside.clear();
    const Text mine = testing::Rooted(U"home/ann/q.txt");
    app.VariableFilePath = mine;
    ASSERT_TRUE(SaveVariableFile(app));
    EXPECT_EQ(files.files[mine], NativeFileBytes("\"q1\"\r\n\"q2\"\r\n"));
    EXPECT_EQ(messages.shown.size(), 1u);
}

// A missing file and an unreadable one are told apart; YES offers the
// dialog, and the load is tried again until NO.
TEST_F(VariableFileTest, LoadProblemsPrompt) {
    const Text found = testing::Rooted(U"home/ann/found.txt");
    files.files[found] = "\"found\"\r\n";
    files.files[kFolder + U"locked.txt"] = "\"kept\"";
    files.failReads[kFolder + U"locked.txt"] = FileErrc::NotRegularFile;
    messages.answers = {msgbox::Yes, msgbox::Yes, msgbox::Yes, msgbox::Ok, msgbox::Yes};
    fileDialog.results = {std::nullopt, kFolder + U"locked.txt", Text(), found};
    LoadVariableFile(app);
    ASSERT_EQ(messages.shown.size(), 5u);  // the empty name is an error of its own
    EXPECT_EQ(messages.shown[0].text.find(U"I have not been able to find your Variable Text"), 0u);
    EXPECT_EQ(messages.shown[0].style, msgbox::YesNoCritical);
    EXPECT_EQ(messages.shown[0].title, U"Variable.txt Error");
    EXPECT_NE(messages.shown[2].text.find(kFolder + U"locked.txt\r\nNot a regular file\r\n"),
              Text::npos);
    EXPECT_EQ(fileDialog.calls.at(0).filter, U"Text (*.txt)|*.txt");
    EXPECT_EQ(app.VariableFilePath, found);
    EXPECT_EQ(Loaded(), Entries{U"found"});
    EXPECT_EQ(files.files[kFolder + U"locked.txt"], "\"kept\"");
}

// The file button loads the chosen list once, switches the part on and
// builds with the entry the editor shows.
TEST_F(VariableFileTest, ChoosingAnotherFileLoadsItOnce) {
    SetDefaults(app);
    app.started = true;
    const Text chosen = testing::Rooted(U"home/ann/new.txt");
    files.files[chosen] = "\"n1\"\r\n\"n2\"\r\n";
    app.vars.CurrentEntry = 2;
    app.form.chkVar.Value = 0;
    fileDialog.results = {chosen};
    app.form.cmdVarFile.Click();
    ASSERT_EQ(fileDialog.calls.size(), 1u);
    EXPECT_EQ(fileDialog.calls[0].initial, kDefaultFile);
    EXPECT_EQ(fileDialog.calls[0].filter, U"Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
    EXPECT_EQ(app.form.txtVarFile.Text.get(), chosen);
    EXPECT_EQ(app.form.chkVar.Value.get(), 1);
    EXPECT_EQ(app.PickedText, U"n2");
    EXPECT_FALSE(app.UseShownEntry);
    EXPECT_EQ(files.reads, 1);
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace velmo

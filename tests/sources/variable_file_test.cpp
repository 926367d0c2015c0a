#include "ui/variable_file.h"

#include <gtest/gtest.h>

#include "domain/text_fields.h"
#include "platform/file_text.h"
#include "support/fakes.h"
#include "support/native_forms.h"
#include "ui/options.h"

namespace velmo {
namespace {

using testing::NativeFileBytes;

const Text kFolder = testing::Folder(U"opt/velmo");
const Text kDefaultFile = kFolder + U"Variable.txt";
const Text kNotFound =
    U"I have not been able to find your Variable Text file.\r\n"
    U"Press YES if you would like to help me find it. \r\n"
    U"Press NO if you would like to start without one";

class VariableFileTest : public ::testing::Test, protected testing::TestApp {
  protected:
    void SetUp() override { app.AppPath = kFolder; }

    void PutFile(const Text& path, std::string bytes) { files.files[path] = std::move(bytes); }

    std::vector<Text> Entries() const {
        std::vector<Text> out;
        for (int i = 1; i <= app.vars.EntryCount; ++i)
            out.push_back(app.vars.At(i));
        return out;
    }

    void SetEntries(const std::vector<Text>& entries) {
        app.vars.EntryCount = static_cast<int>(entries.size());
        for (size_t i = 0; i < entries.size(); ++i)
            app.vars.Entries[i + 1] = entries[i];
    }

    // Saves the list, forgets it, and loads the file again.
    std::vector<Text> SaveAndReload() {
        EXPECT_TRUE(SaveVariableFile(app));
        const Text path = app.VariableFilePath;
        EXPECT_PRED1(testing::InNativeLineEnds, files.files[path]);
        testing::TestApp fresh;
        fresh.files.files = files.files;
        fresh.app.AppPath = kFolder;
        fresh.app.VariableFilePath = path;
        LoadVariableFile(fresh.app);
        EXPECT_TRUE(fresh.messages.shown.empty());
        std::vector<Text> out;
        for (int i = 1; i <= fresh.app.vars.EntryCount; ++i)
            out.push_back(fresh.app.vars.At(i));
        for (const Text& kept : fresh.app.vars.KeptAside)
            out.push_back(kept);
        return out;
    }
};

TEST_F(VariableFileTest, ReadsQuotedMultiLineAndPlainRecords) {
    PutFile(kDefaultFile, "\"one\"\r\n\"two, with a comma\"\r\n\"three\r\nlines\r\nlong\"\r\n");
    LoadVariableFile(app);
    EXPECT_EQ(Entries(),
              (std::vector<Text>{U"one", U"two, with a comma", U"three\r\nlines\r\nlong"}));

    PutFile(kDefaultFile, "alpha\r\nbeta\r\ngamma\r\ndelta\r\nepsilon\r\n");
    LoadVariableFile(app);
    EXPECT_EQ(app.vars.EntryCount, 5);

    PutFile(kDefaultFile, "a,b\r\n\r\nc\n");  // a comma splits, a blank line is an empty entry
    LoadVariableFile(app);
    EXPECT_EQ(Entries(), (std::vector<Text>{U"a", U"b", U"", U"c"}));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(VariableFileTest, EmptyFileGivesNoEntriesAndNoMessage) {
    PutFile(kDefaultFile, "");
    app.vars.EntryCount = 4;
    LoadVariableFile(app);
    EXPECT_EQ(app.vars.EntryCount, 0);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(VariableFileTest, ReadsWindowsAndUtf8Files) {
    PutFile(kDefaultFile,
            "\"\x93"
            "Caf\xE9\x94 \x80 5\"\r\n");
    LoadVariableFile(app);
    EXPECT_EQ(app.vars.At(1), U"\u201CCafé\u201D € 5");

    PutFile(kDefaultFile,
            "\xEF\xBB\xBF\"Gr\xC3\xBC\xC3\x9F"
            "e\"\r\n");
    LoadVariableFile(app);
    EXPECT_EQ(app.vars.At(1), U"Grüße");
}

TEST_F(VariableFileTest, PathRuleHonoursOnlyRootedPaths) {
    const Text mine = testing::Rooted(U"home/ann/quotes.txt");
    PutFile(mine, "\"mine\"\r\n");
    PutFile(kDefaultFile, "\"default\"\r\n");
    for (const Text& path :
         {Text(), Text(U"quotes.txt"), testing::RootedElsewhere(U"quotes.txt"), Text(U"~/q.txt")}) {
        app.VariableFilePath = path;
        LoadVariableFile(app);
        EXPECT_EQ(app.VariableFilePath, kDefaultFile) << ToUtf8(path);
        EXPECT_EQ(app.vars.At(1), U"default");
    }
    app.VariableFilePath = mine;
    LoadVariableFile(app);
    EXPECT_EQ(app.VariableFilePath, mine);
    EXPECT_EQ(app.vars.At(1), U"mine");
}

TEST_F(VariableFileTest, MissingFileAnsweredNoStartsWithoutEntries) {
    LoadVariableFile(app);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, kNotFound);
    EXPECT_EQ(messages.shown[0].style, 20);
    EXPECT_EQ(messages.shown[0].title, U"Variable.txt Error");
    EXPECT_EQ(app.vars.EntryCount, 0);
    EXPECT_TRUE(fileDialog.calls.empty());

    // A file that is there but cannot be read is not called missing.
    files.files[kDefaultFile] = "\"kept\"\r\n";
    files.failReads[kDefaultFile] = FileErrc::NotRegularFile;
    messages.shown.clear();
    LoadVariableFile(app);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text.find(U"find"), Text::npos);
    EXPECT_NE(messages.shown[0].text.find(kDefaultFile + U"\r\nNot a regular file\r\n"),
              Text::npos);
    EXPECT_EQ(files.files[kDefaultFile], "\"kept\"\r\n");
}

TEST_F(VariableFileTest, YesOffersTheDialogAndRetriesUntilNo) {
    const Text found = testing::Rooted(U"home/ann/found.txt");
    PutFile(found, "\"found\"\r\n");
    // Yes, cancel (the same missing file fails again), Yes, pick, loaded.
    messages.answers = {msgbox::Yes, msgbox::Yes};
    fileDialog.results = {std::nullopt, found};
    LoadVariableFile(app);
    EXPECT_EQ(messages.shown.size(), 2u);
    ASSERT_EQ(fileDialog.calls.size(), 2u);
    EXPECT_EQ(fileDialog.calls[0].filter, U"Text (*.txt)|*.txt");
    EXPECT_EQ(fileDialog.calls[0].title, U"Variable Text");
    EXPECT_EQ(app.VariableFilePath, found);
    EXPECT_EQ(app.vars.EntryCount, 1);

    // A chain declined at the second prompt leaves the count as it was.
    testing::TestApp other;
    other.app.AppPath = kFolder;
    other.app.vars.EntryCount = 0;
    other.messages.answers = {msgbox::Yes, msgbox::No};
    LoadVariableFile(other.app);
    EXPECT_EQ(other.messages.shown.size(), 2u);
    EXPECT_EQ(other.app.vars.EntryCount, 0);
    EXPECT_EQ(other.app.VariableFilePath, kDefaultFile);
}

TEST_F(VariableFileTest, RoundTrips) {
    std::vector<std::vector<Text>> lists = {
        {},
        {U"only one"},
        {U"first line\r\nsecond line", U"", U"after an empty one"},
        {U"She said \"hello\"", U"\"", U"\"\"", U"ends with a quote\""},
        {U"Grüße aus Köln — «€»", U"  leading and trailing blanks  ", U"a, b, c"},
    };
    // Beyond the ANSI code page only where files are UTF-8.
    if (testing::FilesAreUtf8()) {
        lists.push_back({U"Grüße aus Köln — «Ελληνικά» 日本語 😀",
                         U"  leading and trailing blanks  ", U"a, b, c"});
    }
    for (const auto& list : lists) {
        SetEntries(list);
        EXPECT_EQ(SaveAndReload(), list);
    }
}

TEST_F(VariableFileTest, SavedFileIsQuotedRecordsOnePerLine) {
    SetEntries({U"one", U"two\r\nlines", U""});
    ASSERT_TRUE(SaveVariableFile(app));
    EXPECT_EQ(files.files[kDefaultFile],
              NativeFileBytes("\"one\"\r\n\"two\r\nlines\"\r\n\"\"\r\n"));
}

TEST_F(VariableFileTest, LongListsLoseNothing) {
    std::vector<Text> list;
    for (int i = 1; i <= 250; ++i)
        list.push_back(U"quote " + ToText(i));
    Text content;
    for (const Text& e : list)
        content += QuotedRecord(e);
    PutFile(kDefaultFile, EncodeFileText(content));

    LoadVariableFile(app);
    EXPECT_EQ(app.vars.EntryCount, 200);
    EXPECT_EQ(app.vars.At(200), U"quote 200");
    EXPECT_EQ(app.vars.KeptAside.size(), 50u);

    // Entries past the 200th are written back after the others.
    EXPECT_EQ(SaveAndReload(), list);

    std::vector<Text> full(list.begin(), list.begin() + 200);
    app.vars.KeptAside.clear();
    SetEntries(full);
    EXPECT_EQ(SaveAndReload(), full);
}

TEST_F(VariableFileTest, SaveRefusesToReplaceAFileItNeverRead) {
    PutFile(kDefaultFile, "\"precious\"\r\n");
    SetEntries({U"typed before reading"});
    EXPECT_FALSE(SaveVariableFile(app));
    EXPECT_EQ(files.files[kDefaultFile], "\"precious\"\r\n");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(kDefaultFile), Text::npos);

    // Once read, it is saved.
    LoadVariableFile(app);
    app.vars.Entries[2] = U"added";
    app.vars.EntryCount = 2;
    EXPECT_TRUE(SaveVariableFile(app));
    EXPECT_EQ(files.files[kDefaultFile], NativeFileBytes("\"precious\"\r\n\"added\"\r\n"));
}

TEST_F(VariableFileTest, SaveCreatesAFileThatDoesNotExist) {
    SetEntries({U"new"});
    EXPECT_TRUE(SaveVariableFile(app));
    EXPECT_EQ(files.files[kDefaultFile], NativeFileBytes("\"new\"\r\n"));
}

TEST_F(VariableFileTest, FailedSaveTellsWhyAndKeepsTheEntries) {
    files.failWrites[kDefaultFile] = std::make_error_code(std::errc::no_space_on_device);
    SetEntries({U"keep me"});
    EXPECT_FALSE(SaveVariableFile(app));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(kDefaultFile), Text::npos);
    EXPECT_NE(messages.shown[0].text.find(U"No space left on device"), Text::npos);
    EXPECT_EQ(messages.shown[0].style, msgbox::OkExclamation);
    EXPECT_EQ(app.vars.At(1), U"keep me");
    EXPECT_FALSE(files.Exists(kDefaultFile));
}

TEST_F(VariableFileTest, FindVariableFileCancelKeepsThePath) {
    app.VariableFilePath = U"/home/ann/q.txt";
    FindVariableFile(app);
    EXPECT_EQ(app.VariableFilePath, U"/home/ann/q.txt");
    fileDialog.results = {Text(U"/home/ann/other.txt")};
    FindVariableFile(app);
    EXPECT_EQ(app.VariableFilePath, U"/home/ann/other.txt");
}

TEST_F(VariableFileTest, ChoosingAnotherFileLoadsItAndUsesTheShownEntry) {
    SetDefaults(app);
    const Text chosen = testing::Rooted(U"home/ann/new.txt");
    PutFile(chosen, "\"n1\"\r\n\"n2\"\r\n");
    app.vars.CurrentEntry = 2;
    fileDialog.results = {chosen};
    app.form.cmdVarFile.Click();
    ASSERT_EQ(fileDialog.calls.size(), 1u);
    EXPECT_EQ(fileDialog.calls[0].initial, kDefaultFile);
    EXPECT_EQ(fileDialog.calls[0].filter, U"Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
    EXPECT_EQ(app.form.txtVarFile.Text.get(), chosen);
    EXPECT_EQ(app.form.chkVar.Value.get(), 1);
    EXPECT_EQ(app.PickedText, U"n2");
    EXPECT_FALSE(app.UseShownEntry);
    EXPECT_EQ(app.form.txtVar.Text.get(), U"n2");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(VariableFileTest, ChoosingAMissingFileAsksOnce) {
    app.form.chkVar.Value = 0;
    fileDialog.results = {testing::Rooted(U"nowhere/q.txt")};
    app.form.cmdVarFile.Click();
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(VariableFileTest, SwitchingThePartOnReadsTheListOnce) {
    PutFile(kDefaultFile, "\"a\"\r\n\"b\"\r\n");
    app.started = true;  // during start-up, start-up itself reads the list
    app.form.chkVar.Value = 1;
    EXPECT_EQ(app.vars.EntryCount, 2);
    EXPECT_EQ(app.form.txtVarFile.Text.get(), kDefaultFile);
    PutFile(kDefaultFile, "\"changed\"\r\n");
    app.form.chkVar.Value = 0;
    app.form.chkVar.Value = 1;
    EXPECT_EQ(app.vars.EntryCount, 2);
}

}  // namespace
}  // namespace velmo

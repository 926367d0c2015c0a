#include "ui/entry_editor.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/native.h"
#include "platform/path_style.h"
#include "support/fakes.h"
#include "support/native_forms.h"
#include "support/temp_folder.h"
#include "support/text_helpers.h"
#include "ui/options.h"
#include "ui/variable_file.h"

namespace velmo {
namespace {

using testing::NativeFileBytes;

const Text kFolder = U"/opt/velmo/";
const Text kListFile = U"/opt/velmo/Variable.txt";

class EntryEditorTest : public ::testing::Test, protected testing::TestApp {
  protected:
    void SetUp() override {
        app.AppPath = kFolder;
        SetDefaults(app);
    }

    // Reads a list of entries from the quote file, as at start-up.
    void Start(const std::string& file) {
        files.files[kListFile] = file;
        LoadVariableFile(app);
        app.started = true;
        app.vars.CurrentEntry = 1;
        ShowEntry(app);
    }

    void Fill(int count) {
        std::string file;
        for (int i = 1; i <= count; ++i)
            file += "\"quote " + std::to_string(i) + "\"\r\n";
        Start(file);
    }

    // What the editor and its label show.
    std::pair<Text, Text> Shown() const {
        return {form.txtVar.Text.get(), form.IndNumber.Caption.get()};
    }

    MainForm& form = app.form;
};

TEST_F(EntryEditorTest, PagingThroughThreeEntriesWrapsBothWays) {
    Start("\"one\"\r\n\"two\"\r\n\"three\"\r\n");
    EXPECT_EQ(Shown(), std::make_pair(Text(U"one"), Text(U"Entry: 1/3")));
    form.btnForwardOne.Click();
    EXPECT_EQ(Shown(), std::make_pair(Text(U"two"), Text(U"Entry: 2/3")));
    form.btnForwardOne.Click();
    form.btnForwardOne.Click();  // past the last: back to the first
    EXPECT_EQ(Shown(), std::make_pair(Text(U"one"), Text(U"Entry: 1/3")));
    form.btnBackOne.Click();  // before the first: to the last
    EXPECT_EQ(Shown(), std::make_pair(Text(U"three"), Text(U"Entry: 3/3")));
    form.btnForwardAll.Click();  // already the last
    EXPECT_EQ(Shown(), std::make_pair(Text(U"three"), Text(U"Entry: 3/3")));
    form.btnAllBack.Click();
    EXPECT_EQ(Shown(), std::make_pair(Text(U"one"), Text(U"Entry: 1/3")));
    form.btnForwardAll.Click();
    EXPECT_EQ(app.vars.CurrentEntry, 3);
}

TEST_F(EntryEditorTest, NavigationWithoutEntries) {
    Start("");
    app.vars.CurrentEntry = 0;
    form.btnForwardOne.Click();
    form.btnBackOne.Click();
    form.btnForwardAll.Click();
    EXPECT_EQ(app.vars.CurrentEntry, 0);
    form.btnAllBack.Click();
    EXPECT_EQ(app.vars.CurrentEntry, 1);
    EXPECT_EQ(form.IndNumber.Caption.get(), U"Entry : No Data");
}

TEST_F(EntryEditorTest, NewEntryAtFourAndAtTwoHundred) {
    Fill(4);
    form.btnNew.Click();
    EXPECT_EQ(Shown(), std::make_pair(Text(U""), Text(U"<<New Entry>> 5/5")));
    EXPECT_EQ(form.ActiveControl(), &form.txtVar);
    form.txtVar.Text = U"A fifth quotation";  // typing goes straight into the list
    EXPECT_EQ(app.vars.At(5), U"A fifth quotation");
    EXPECT_EQ(app.vars.EntryCount, 5);

    Fill(200);
    app.vars.CurrentEntry = 17;
    ShowEntry(app);
    form.btnNew.Click();
    EXPECT_EQ(form.IndNumber.Caption.get(), U"<<Entries Full>> 200/200");
    EXPECT_EQ(app.vars.EntryCount, 200);
    EXPECT_EQ(app.vars.CurrentEntry, 17);
    EXPECT_EQ(form.txtVar.Text.get(), U"quote 17");
}

TEST_F(EntryEditorTest, NewEntryStartsEmptyEvenOverAnOldSlot) {
    Fill(3);
    Start("\"only\"\r\n");  // slots 2 and 3 still hold the longer list
    form.btnNew.Click();
    EXPECT_EQ(app.vars.At(2), U"");
    EXPECT_EQ(form.txtVar.Text.get(), U"");
}

TEST_F(EntryEditorTest, DeletingTheMiddleTheLastAndTheOnlyEntry) {
    Start("\"one\"\r\n\"two\"\r\n\"three\"\r\n");
    form.btnForwardOne.Click();
    form.btnDelete.Click();
    EXPECT_EQ(Shown(), std::make_pair(Text(U"three"), Text(U"Entry: 2/2")));
    EXPECT_EQ(files.files[kListFile], NativeFileBytes("\"one\"\r\n\"three\"\r\n"));

    Start("\"one\"\r\n\"two\"\r\n\"three\"\r\n");
    form.btnForwardAll.Click();
    form.btnDelete.Click();
    EXPECT_EQ(Shown(), std::make_pair(Text(U"two"), Text(U"Entry: 2/2")));
    EXPECT_EQ(files.files[kListFile], NativeFileBytes("\"one\"\r\n\"two\"\r\n"));

    Start("\"only\"\r\n");
    form.btnDelete.Click();
    EXPECT_EQ(Shown(), std::make_pair(Text(U""), Text(U"Entry : No Data")));
    EXPECT_EQ(app.vars.CurrentEntry, 0);
    EXPECT_EQ(files.files[kListFile], "");

    form.btnDelete.Click();  // nothing left to delete
    EXPECT_EQ(app.vars.EntryCount, 0);
}

TEST_F(EntryEditorTest, DeleteNeverTakesAnEntryThatIsNotShown) {
    Fill(3);
    Start("\"a\"\r\n\"b\"\r\n");
    app.vars.CurrentEntry = 3;  // a slot of the longer list, shown but not in this one
    ShowEntry(app);
    form.btnDelete.Click();
    EXPECT_EQ(app.vars.EntryCount, 2);
    EXPECT_EQ(app.vars.At(2), U"b");
}

TEST_F(EntryEditorTest, DeletingWritesTheQuoteFileOnDisk) {
    const testing::TempFolder folder("velmo-editor");
    const std::filesystem::path list = folder / "Variable.txt";
    testing::WriteFile(list, "\"one\"\r\n\"two\"\r\n\"three\"\r\n");

    const auto disk = MakeFileStore();
    App onDisk{ports(*disk)};
    onDisk.AppPath = testing::PathText(folder.path()) + Separator(NativePathStyle());
    LoadVariableFile(onDisk);
    onDisk.vars.CurrentEntry = 2;
    onDisk.form.btnDelete.Click();

    EXPECT_EQ(testing::FileContents(list), NativeFileBytes("\"one\"\r\n\"three\"\r\n"));
    EXPECT_EQ(onDisk.form.IndNumber.Caption.get(), U"Entry: 2/2");
}

TEST_F(EntryEditorTest, LeavingTheEditorAlwaysAsksAndYesSavesEverything) {
    Fill(2);
    form.chkFixed.Value = 1;
    form.txtFixed.Text = U"A. Writer";
    ASSERT_TRUE(form.txtVar.SetFocus());
    form.txtVar.Text = U"quote 1, edited";

    messages.answers = {msgbox::No};
    ASSERT_TRUE(form.btnRandomize.SetFocus());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, U"Do you want to Save Variable Text you just entered ?");
    EXPECT_EQ(messages.shown[0].style, 276);
    EXPECT_EQ(messages.shown[0].title, U"Variable Text Changed");
    EXPECT_EQ(files.files[kListFile], "\"quote 1\"\r\n\"quote 2\"\r\n");

    // Asked again without an edit; Yes writes the list, the options and the fixed text.
    messages.answers = {msgbox::Yes};
    ASSERT_TRUE(form.txtVar.SetFocus());
    ASSERT_TRUE(form.btnRandomize.SetFocus());
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(files.files[kListFile], NativeFileBytes("\"quote 1, edited\"\r\n\"quote 2\"\r\n"));
    EXPECT_EQ(files.files[kFolder + U"Fixed.fxt"], NativeFileBytes("\"A. Writer\"\r\n"));
    EXPECT_TRUE(files.Exists(testing::kTestSettingsFile));
}

TEST_F(EntryEditorTest, TypingIntoAnEmptyListStartsTheFirstEntry) {
    Start("");
    form.txtVar.Text = U"T";
    form.txtVar.Text = U"Typed before any entry";
    EXPECT_EQ(app.vars.EntryCount, 1);
    EXPECT_EQ(app.vars.CurrentEntry, 1);
    EXPECT_EQ(app.vars.At(1), U"Typed before any entry");
    EXPECT_EQ(form.IndNumber.Caption.get(), U"Entry: 1/1");
    ASSERT_TRUE(SaveVariableFile(app));
    EXPECT_EQ(files.files[kListFile], NativeFileBytes("\"Typed before any entry\"\r\n"));
}

TEST_F(EntryEditorTest, UseTakesTheShownEntryIntoTheSignature) {
    Fill(3);
    form.Tabs.Tab = 2;
    form.btnForwardOne.Click();
    form.UseEntry.Click();
    EXPECT_EQ(form.Tabs.Tab.get(), 0);
    EXPECT_EQ(app.PickedEntry, 2);
    EXPECT_NE(app.SignatureText.find(U"quote 2"), Text::npos);
    EXPECT_EQ(form.txtSignature.Text.get(), app.SignatureText);
}

TEST_F(EntryEditorTest, SwitchingThePartOffAndOn) {
    Fill(1);
    form.Slider.Value = 3;
    form.chkVar.Value = 0;
    EXPECT_FALSE(form.txtVar.Enabled);
    EXPECT_FALSE(form.Slider.Enabled);
    EXPECT_EQ(form.lblFreq.Caption.get(), U"<< Disabled >>");
    form.chkVar.Value = 1;
    EXPECT_TRUE(form.txtVar.Enabled);
    EXPECT_TRUE(form.Slider.Enabled);
    EXPECT_TRUE(form.Slider.Visible);
    EXPECT_EQ(form.lblFreq.Caption.get(), U"30 Minute");
}

TEST_F(EntryEditorTest, SwitchingOnReadsAListNeverRead) {
    form.chkVar.Value = 0;
    app.started = true;
    files.files[kListFile] = "\"kept\"\r\n\"safe\"\r\n";
    form.chkVar.Value = 1;
    EXPECT_EQ(app.vars.EntryCount, 2);
    EXPECT_EQ(form.txtVarFile.Text.get(), kListFile);
    // So a save after an edit keeps the file's entries.
    form.btnNew.Click();
    form.txtVar.Text = U"new";
    ASSERT_TRUE(SaveVariableFile(app));
    EXPECT_EQ(files.files[kListFile], NativeFileBytes("\"kept\"\r\n\"safe\"\r\n\"new\"\r\n"));
}

}  // namespace
}  // namespace velmo

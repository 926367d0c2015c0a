#include "ui/entry_editor.h"

#include <gtest/gtest.h>

#include <set>

#include "support/fakes.h"
#include "support/native_forms.h"
#include "ui/options.h"
#include "ui/quote_list_file.h"

namespace velmo {
namespace {

using testing::NativeFileBytes;

const Text kFolder = U"/opt/velmo/";
const Text kListFile = U"/opt/velmo/Variable.txt";
const std::string kThree = "\"one\"\r\n\"two\"\r\n\"three\"\r\n";
const Text kFortyStars(40, U'*');

class EntryEditorTest : public ::testing::Test, protected testing::TestApp {
  protected:
    void SetUp() override {
        app.session.dataFolder = kFolder;
        SetDefaults(app);
    }

    // Reads a list of entries from the quote list file, as at start-up.
    void Start(const std::string& file, int current = 1) {
        files.files[kListFile] = file;
        LoadQuoteList(app);
        app.started = true;
        app.session.quoteList.CurrentEntry = current;
        ShowEntry(app);
    }

    // The user's keys as the window delivers them: a key the handlers leave
    // reaches the box.
    static void Type(TextBox& box, const Text& keys) {
        for (char32_t key : keys) {
            if (box.PressKey(static_cast<int>(key)) != 0)
                box.Text = box.Text.get() + key;
        }
    }

    std::pair<Text, Text> Shown() const {
        return {form.txtEntry.Text.get(), form.lblEntryNumber.Caption.get()};
    }

    MainForm& form = app.form;
};

// Each button shows the entry it moved to, wrapping both ways, and Use takes it
// into the signature. A new entry takes the slot after the list, cleared; a
// full list keeps the shown entry. An empty list stays put; typing starts it.
TEST_F(EntryEditorTest, PagingNewEntriesAndAnEmptyList) {
    Start(kThree);
    const Text names[] = {U"", U"one", U"two", U"three"};
    const std::pair<CommandButton*, int> steps[] = {
        {&form.cmdNextEntry, 2},     {&form.cmdNextEntry, 3},     {&form.cmdNextEntry, 1},
        {&form.cmdPreviousEntry, 3}, {&form.cmdPreviousEntry, 2}, {&form.cmdFirstEntry, 1},
        {&form.cmdLastEntry, 3},     {&form.cmdLastEntry, 3}};
    for (const auto& [button, entry] : steps) {
        button->Click();
        EXPECT_EQ(Shown(), std::make_pair(names[entry], U"Entry: " + ToText(entry) + U"/3"))
            << button->Name;
    }
    form.Tabs.Tab = 2;
    form.cmdUseEntry.Click();
    EXPECT_EQ(form.Tabs.Tab.get(), 0);
    EXPECT_NE(app.session.Signature().find(U"three"), Text::npos);

    Start("\"only\"\r\n");  // slot 2 still holds "two" of the longer list
    form.cmdNewEntry.Click();
    EXPECT_EQ(Shown(), std::make_pair(Text(U""), Text(U"<<New Entry>> 2/2")));
    EXPECT_EQ(form.ActiveControl(), &form.txtEntry);
    form.txtEntry.Text = U"A second quotation";  // typing goes straight into the list
    EXPECT_EQ(app.session.quoteList.At(2), U"A second quotation");
    std::string full;
    for (int i = 1; i <= 200; ++i)
        full += "\"quote " + std::to_string(i) + "\"\r\n";
    Start(full, 17);
    form.cmdNewEntry.Click();
    EXPECT_EQ(Shown(), std::make_pair(Text(U"quote 17"), Text(U"<<Entries Full>> 200/200")));

    Start("", 0);
    for (CommandButton* button : {&form.cmdNextEntry, &form.cmdPreviousEntry, &form.cmdLastEntry})
        button->Click();
    EXPECT_EQ(app.session.quoteList.CurrentEntry, 0);
    form.cmdFirstEntry.Click();
    EXPECT_EQ(app.session.quoteList.CurrentEntry, 1);
    EXPECT_EQ(form.lblEntryNumber.Caption.get(), U"Entry : No Data");
    form.txtEntry.Text = U"T";
    form.txtEntry.Text = U"Typed before any entry";
    EXPECT_EQ(form.lblEntryNumber.Caption.get(), U"Entry: 1/1");
    ASSERT_TRUE(SaveQuoteList(app));
    EXPECT_EQ(files.files[kListFile], NativeFileBytes("\"Typed before any entry\"\r\n"));
}

// The delete goes into the file as another program may have left it: its
// added entries stay, and an entry no longer at its place is not deleted.
TEST_F(EntryEditorTest, DeletingTheShownEntry) {
    const std::string added = kThree + "\"four\"\r\n\"five\"\r\n";
    const std::string inserted = "\"zero\"\r\n" + kThree;
    const struct {
        const char* what;
        int current;
        Text text, label;
        std::string file;     // written; empty when nothing is deleted
        std::string outside;  // the file as another program left it after the start
    } rows[] = {
        {"the middle", 2, U"three", U"Entry: 2/2", "\"one\"\r\n\"three\"\r\n", kThree},
        {"the last", 3, U"two", U"Entry: 2/2", "\"one\"\r\n\"two\"\r\n", kThree},
        {"the first", 1, U"two", U"Entry: 1/2", "\"two\"\r\n\"three\"\r\n", kThree},
        // A slot of an earlier, longer list: shown, but not in this one.
        {"a slot past the list", 4, U"", U"Entry: 4/3", "", kThree},
        {"a slot before it", 0, U"", U"Entry: 0/3", "", kThree},
        {"two added elsewhere", 2, U"three", U"Entry: 2/4",
         "\"one\"\r\n\"three\"\r\n\"four\"\r\n\"five\"\r\n", added},
        {"the first, two added elsewhere", 1, U"two", U"Entry: 1/4",
         "\"two\"\r\n\"three\"\r\n\"four\"\r\n\"five\"\r\n", added},
        {"one inserted before it", 2, U"one", U"Entry: 2/4", "", inserted},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Start(kThree, row.current);
        files.files[kListFile] = row.outside;
        messages.shown.clear();
        form.cmdDeleteEntry.Click();
        EXPECT_EQ(Shown(), std::make_pair(row.text, row.label));
        EXPECT_EQ(files.files[kListFile],
                  row.file.empty() ? row.outside : NativeFileBytes(row.file));
        EXPECT_EQ(app.session.quoteList.At(app.session.quoteList.EntryCount + 1), U"");
        EXPECT_EQ(messages.shown.size(), row.outside == inserted ? 1u : 0u);
    }

    Start("\"only\"\r\n");
    form.cmdDeleteEntry.Click();
    form.cmdDeleteEntry.Click();  // nothing left to delete
    EXPECT_EQ(Shown(), std::make_pair(Text(U""), Text(U"Entry : No Data")));
    EXPECT_EQ(files.files[kListFile], "");
}

// No saves nothing; asked again without an edit, Yes writes the list and the options.
TEST_F(EntryEditorTest, LeavingTheEditorAlwaysAsksAndYesSavesEverything) {
    Start(kThree);
    ASSERT_TRUE(form.txtEntry.SetFocus());
    form.txtEntry.Text = U"edited";
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        messages.answers = {answer};
        ASSERT_TRUE(form.txtEntry.SetFocus());
        ASSERT_TRUE(form.cmdRandomize.SetFocus());
        EXPECT_EQ(files.Exists(testing::kTestSettingsFile), answer == Answer::Yes);
    }
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(files.files[kListFile], NativeFileBytes("\"edited\"\r\n\"two\"\r\n\"three\"\r\n"));
}

// Switching the part on reads a list never read, so that a save after an
// edit keeps the file's entries.
TEST_F(EntryEditorTest, SwitchingThePartOffAndOn) {
    form.sldChangeInterval.Value = 3;
    form.chkVariablePart.Value = Check::Off;
    app.started = true;
    files.files[kListFile] = "\"kept\"\r\n\"safe\"\r\n";
    form.chkVariablePart.Value = Check::On;
    EXPECT_TRUE(form.txtEntry.Enabled && form.sldChangeInterval.Enabled);
    EXPECT_EQ(form.lblChangeInterval.Caption.get(), U"30 Minute");
    EXPECT_EQ(form.txtQuoteListPath.Text.get(), kListFile);
    form.cmdNewEntry.Click();
    form.txtEntry.Text = U"new";
    ASSERT_TRUE(SaveQuoteList(app));
    EXPECT_EQ(files.files[kListFile], NativeFileBytes("\"kept\"\r\n\"safe\"\r\n\"new\"\r\n"));
}

// With "No repeats until all are used" ticked, Randomize (and the schedule
// with it) goes through the list's round; moving to an entry and Use are no
// picks, and with the box clear the round is left alone.
TEST_F(EntryEditorTest, NoRepeatsCountsOnlyRandomPicks) {
    Start(kThree);
    form.chkNoRepeats.Value = Check::On;
    std::vector<int> picks;
    for (int i = 0; i < 6; ++i) {
        form.cmdRandomize.Click();
        picks.push_back(app.session.PickedEntry());
    }
    EXPECT_EQ(std::set<int>(picks.begin(), picks.begin() + 3), (std::set<int>{1, 2, 3}));
    EXPECT_EQ(std::set<int>(picks.begin() + 3, picks.end()), (std::set<int>{1, 2, 3}));
    EXPECT_NE(picks[3], picks[2]);
    const std::string round = files.files[program.pickRoundFile];
    form.cmdNextEntry.Click();
    form.cmdUseEntry.Click();
    form.chkNoRepeats.Value = Check::Off;
    form.cmdRandomize.Click();
    EXPECT_EQ(files.files[program.pickRoundFile], round);
}

using BorderOptionsTest = EntryEditorTest;

// Typing into a border box selects its option; any change of the repeated top
// selects "Repeat".
TEST_F(BorderOptionsTest, TypingIntoABorderBoxSelectsIt) {
    const std::pair<TextBox*, OptionButton*> rows[] = {
        {&form.txtTopLike, &form.optTopLike},
        {&form.txtBottomLike, &form.optBottomLike},
        {&form.txtBottomRepeat, &form.optBottomRepeat},
        {&form.txtRightLike, &form.optRightLike},
    };
    for (const auto& [box, option] : rows) {
        ASSERT_FALSE(option->Value) << box->Name;
        Type(*box, U"-");
        EXPECT_TRUE(option->Value) << box->Name;
    }
    form.txtTopRepeat.Text = U"-=";
    EXPECT_TRUE(form.optTopRepeat.Value && !form.optTopLike.Value);
}

// Typing into the "Like" top selects its option and shows the length before
// the key. A top shorter than 40 columns is refused when the cursor leaves
// for a button or a box, with the focus given back and a valid border put in;
// leaving for an option button (of any page) chooses "Repeat" instead.
TEST_F(BorderOptionsTest, LeavingAShortLikeTop) {
    const struct {
        Control* next;
        size_t typed;
        bool repeatChosenFirst, refused, repeatAfter;
        char32_t typedChar = U'=';
        size_t columns = 1;  // of the typed character
    } rows[] = {
        {&form.cmdApplyBorders, 39, false, true, false},
        {&form.txtBottomLike, 39, false, true, false},
        {&form.cmdApplyBorders, 40, false, false, false},
        {&form.optBottomLike, 39, false, false, true},
        {&form.optHTML, 10, false, false, true},
        {&form.cmdApplyBorders, 5, true, false, true},
        // The length is in columns: 20 wide characters are 40, 19 too few.
        {&form.cmdApplyBorders, 20, false, false, false, U'\u3013', 2},
        {&form.cmdApplyBorders, 19, false, true, false, U'\u3013', 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.next->Name + " after " + std::to_string(row.typed));
        form.chkBorder.Value = Check::On;
        form.txtTopLike.Text = Text();
        ASSERT_TRUE(form.txtTopLike.SetFocus());
        Type(form.txtTopLike, Text(row.typed, row.typedChar));
        EXPECT_EQ(form.lblTopLikeLength.Caption.get(),
                  ToText(static_cast<long long>((row.typed - 1) * row.columns)));
        if (row.repeatChosenFirst)
            form.optTopRepeat.Value = true;
        messages.shown.clear();
        row.next->SetFocus();
        EXPECT_EQ(form.optTopRepeat.Value.get(), row.repeatAfter);
        EXPECT_EQ(form.ActiveControl(), row.refused ? &form.txtTopLike : row.next);
        EXPECT_EQ(form.txtTopLike.Text.get(),
                  row.refused ? kFortyStars : Text(row.typed, row.typedChar));
        EXPECT_EQ(messages.shown.size(), row.refused ? 1u : 0u);
    }
}

// Each Apply button shows its page and builds with the edited entry, saving
// nothing. Stored settings can hold a short "Like" top, even with borders off:
// Apply refuses it and builds nothing; the box takes the focus when it can.
// Only a ticked box (not a greyed one) counts as borders on; the width for
// unbordered text is offered only while borders are off.
TEST_F(BorderOptionsTest, EachApplyButtonShowsItsPageAndTheEditedEntry) {
    Start(kThree);
    const int writes = files.writes;
    const std::pair<CommandButton*, int> buttons[] = {{&form.cmdApplyBorders, 1},
                                                      {&form.cmdApplySideBorders, 2},
                                                      {&form.cmdApplyFixed, 3},
                                                      {&form.cmdApplyOptions, 4}};
    for (const auto& [button, tab] : buttons) {
        SCOPED_TRACE(button->Name);
        form.Tabs.Tab = 0;
        form.cmdNextEntry.Click();
        const Text edited = U"edited for " + FromUtf8(button->Name);
        form.txtEntry.Text = edited;
        button->Click();
        EXPECT_EQ(form.Tabs.Tab.get(), tab);
        EXPECT_NE(app.session.Signature().find(edited), Text::npos);
    }
    EXPECT_EQ(files.writes, writes);

    const Text before = app.session.Signature();
    for (const int borders : {1, 2, 0}) {
        SCOPED_TRACE(borders);
        form.Tabs.Tab = 0;
        form.chkBorder.Value = static_cast<Check>(borders);
        EXPECT_EQ(form.cmbPlainWidth.Visible.get(), borders != 1);
        ASSERT_TRUE(form.cmdApplyFixed.SetFocus());
        form.optTopLike.Value = true;
        form.txtTopLike.Text = Text(39, U'=');
        messages.shown.clear();
        form.txtEntry.Text = U"not applied";
        form.cmdApplyFixed.Click();
        EXPECT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(form.ActiveControl(),
                  borders == 1 ? static_cast<Control*>(&form.txtTopLike) : &form.cmdApplyFixed);
        EXPECT_EQ(form.txtTopLike.Text.get(), kFortyStars);
        EXPECT_EQ(app.session.Signature(), before);
        EXPECT_EQ(form.Tabs.Tab.get(), 0);
    }
}

}  // namespace
}  // namespace velmo

#include "ui/border_options.h"

#include <gtest/gtest.h>

#include "support/fakes.h"
#include "ui/entry_editor.h"
#include "ui/options.h"
#include "ui/schedule.h"
#include "ui/variable_file.h"

namespace velmo {
namespace {

const Text kListFile = U"/opt/velmo/Variable.txt";
const Text kFortyStars(40, U'*');

class BorderOptionsTest : public ::testing::Test, protected testing::TestApp {
  protected:
    // The user's keys as the window delivers them: a key the handlers leave
    // reaches the box.
    static void Type(TextBox& box, const Text& keys) {
        for (char32_t key : keys) {
            if (box.PressKey(static_cast<int>(key)) != 0)
                box.Text = box.Text.get() + key;
        }
    }

    // A running program with three quotes, the first in use, borders on.
    void Start() {
        app.AppPath = U"/opt/velmo/";
        SetDefaults(app);
        files.files[kListFile] = "\"one\"\r\n\"two\"\r\n\"three\"\r\n";
        LoadVariableFile(app);
        app.started = true;
        random.values = {1};
        PickRandomEntry(app);
        ShowEntry(app);
    }

    MainForm& form = app.form;
};

// Only a ticked box counts as borders on (a greyed one does not); the width
// for unbordered text is offered only while borders are off.
TEST_F(BorderOptionsTest, TheBoxSwitchesTheBorderControls) {
    for (const int value : {1, 0, 1, 2}) {
        SCOPED_TRACE(value);
        form.chkBorder.Value = value;
        const bool on = value == 1;
        EXPECT_EQ(form.optTBLike.Enabled.get(), on);
        EXPECT_EQ(form.lblBBLen.Enabled.get(), on);
        EXPECT_EQ(form.cmbFixWidth.Visible.get(), !on);
        // Separators needing no border stay usable either way.
        EXPECT_TRUE(form.optSBSBlankLine.EffectivelyEnabled());
    }
}

// Typing into a border box selects its option; the length shown is the
// count before the key takes effect, and only a key press updates it.
TEST_F(BorderOptionsTest, TypingABorderSelectsItsOption) {
    form.chkBorder.Value = 1;
    ASSERT_TRUE(form.optTBRepeat.Value);
    ASSERT_TRUE(form.optBBSame.Value);
    const struct {
        TextBox* box;
        Text keys;
        OptionButton* option;
        Label* length;
        Text text;
        Text count;
    } rows[] = {
        {&form.txtTBLike, U"-=", &form.optTBLike, &form.lblTBLen, U"-=", U"1"},
        {&form.txtBBLike, U"ab", &form.optBBLike, &form.lblBBLen, U"ab", U"1"},
        {&form.txtBBRepeat, U"-", &form.optBBRepeat, nullptr, U"*-", U""},
        {&form.txtSBSRightLike, U"|", &form.optSBSRightLike, nullptr, U"**|", U""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.box->Name);
        ASSERT_FALSE(row.option->Value);
        Type(*row.box, row.keys);
        EXPECT_TRUE(row.option->Value);
        EXPECT_EQ(row.box->Text.get(), row.text);
        if (row.length != nullptr) {
            row.box->Text = Text(50, U'~');  // no key, no new count
            EXPECT_EQ(row.length->Caption.get(), row.count);
        }
    }
    form.txtTBRepeat.Text = U"-=";  // any change of the repeated top
    EXPECT_TRUE(form.optTBRepeat.Value);
    EXPECT_FALSE(form.optTBLike.Value);
}

// A "Like" top shorter than 40 characters is refused when the cursor leaves
// for a button or a box, with the focus given back and a valid border put in;
// leaving for an option button (of any page) chooses "Repeat" instead.
TEST_F(BorderOptionsTest, LeavingAShortLikeTop) {
    const struct {
        Control* next;
        size_t typed;
        bool repeatChosenFirst;
        bool refused;
        bool repeatAfter;
    } rows[] = {
        {&form.cmdApply2, 39, false, true, false},  {&form.txtBBLike, 39, false, true, false},
        {&form.cmdApply2, 40, false, false, false}, {&form.optBBLike, 39, false, false, true},
        {&form.optHTML, 10, false, false, true},    {&form.cmdApply2, 5, true, false, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.next->Name + " after " + std::to_string(row.typed));
        form.chkBorder.Value = 1;
        form.txtTBLike.Text = Text();
        ASSERT_TRUE(form.txtTBLike.SetFocus());
        Type(form.txtTBLike, Text(row.typed, U'='));
        if (row.repeatChosenFirst)
            form.optTBRepeat.Value = true;
        messages.shown.clear();
        row.next->SetFocus();
        EXPECT_EQ(form.optTBRepeat.Value.get(), row.repeatAfter);
        EXPECT_EQ(form.ActiveControl(), row.refused ? &form.txtTBLike : row.next);
        EXPECT_EQ(form.txtTBLike.Text.get(), row.refused ? kFortyStars : Text(row.typed, U'='));
        ASSERT_EQ(messages.shown.size(), row.refused ? 1u : 0u);
        if (row.refused) {
            EXPECT_EQ(messages.shown[0].title, U"Top Border Style");
        }
    }
}

// Stored settings can hold a short "Like" top, even with borders off: Apply
// refuses it and builds nothing; the box takes the focus when it can.
TEST_F(BorderOptionsTest, ApplyRefusesAShortLikeTop) {
    for (const int borders : {1, 0}) {
        SCOPED_TRACE(borders);
        Start();
        const Text before = app.SignatureText;
        form.chkBorder.Value = borders;
        ASSERT_TRUE(form.Apply.SetFocus());
        form.optTBLike.Value = true;
        form.txtTBLike.Text = Text(39, U'=');
        messages.shown.clear();
        form.Apply.Click();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].title, U"Like Border Styles");
        EXPECT_EQ(form.ActiveControl(),
                  borders ? static_cast<Control*>(&form.txtTBLike) : &form.Apply);
        EXPECT_EQ(form.txtTBLike.Text.get(), kFortyStars);
        EXPECT_EQ(app.SignatureText, before);
        EXPECT_EQ(form.Tabs.Tab.get(), 0);
    }
}

TEST_F(BorderOptionsTest, EachApplyButtonShowsItsPageAndTheEditedEntry) {
    Start();
    const int writes = files.writes;
    const std::pair<CommandButton*, int> buttons[] = {
        {&form.cmdApply2, 1}, {&form.cmdApply3, 2}, {&form.Apply, 3}, {&form.cmdApply4, 4}};
    for (const auto& [button, tab] : buttons) {
        SCOPED_TRACE(button->Name);
        form.Tabs.Tab = 0;
        form.btnForwardOne.Click();
        const Text edited = U"edited for " + FromUtf8(button->Name);
        form.txtVar.Text = edited;
        button->Click();
        EXPECT_EQ(form.Tabs.Tab.get(), tab);
        EXPECT_NE(app.SignatureText.find(edited), Text::npos);
    }
    EXPECT_EQ(files.writes, writes);  // applying saves nothing
}

}  // namespace
}  // namespace velmo

#include "ui/border_options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "support/fakes.h"
#include "ui/entry_editor.h"
#include "ui/options.h"
#include "ui/schedule.h"
#include "ui/variable_file.h"

namespace velmo {
namespace {

const Text kFolder = U"/opt/velmo/";
const Text kListFile = U"/opt/velmo/Variable.txt";
const Text kFortyStars(40, U'*');

// What the "Include Borders" box switches, in the order it switches them.
const std::vector<std::string> kSwitched = {
    "chkSpace",     "frmTB",         "optTBLike",        "txtTBLike",       "optTBRepeat",
    "txtTBRepeat",  "lblWidth",      "cmbWidth",         "Label1",          "frmBB",
    "optBBOption",  "optBBLike",     "txtBBLike",        "optBBRepeat",     "txtBBRepeat",
    "optBBSame",    "lblSBSLeft",    "lblSBSLeftLike",   "lblSBSIndent",    "txtSBSLeftLike",
    "cmbSBSIndent", "lblSBSRight",   "optSBSRightLike",  "txtSBSRightLike", "chkSBSRightSame",
    "lblTBLen",     "optSBSSameTop", "optSBSSameBottom", "lblBBLen",
};

// Offered only while borders are off.
const std::vector<std::string> kUnborderedWidth = {"cmbFixWidth", "lblFixedWidth", "Label4"};

class BorderOptionsTest : public ::testing::Test, protected testing::TestApp {
  protected:
    // The user's keys as the window delivers them: a key the handlers leave
    // reaches the box, and Backspace takes the last character away.
    static void Type(TextBox& box, const Text& keys) {
        for (char32_t key : keys) {
            if (box.PressKey(static_cast<int>(key)) == 0)
                continue;
            Text text = box.Text;
            if (key == U'\b') {
                if (!text.empty())
                    text.pop_back();
            } else {
                text += key;
            }
            box.Text = text;
        }
    }

    // A running program with three quotes, the first in use, borders on
    // (repeated stars) and no outputs.
    void Start() {
        app.AppPath = kFolder;
        SetDefaults(app);
        files.files[kListFile] = "\"one\"\r\n\"two\"\r\n\"three\"\r\n";
        LoadVariableFile(app);
        app.started = true;
        random.values = {1};
        PickRandomEntry(app);
        ShowEntry(app);
    }

    // Puts the cursor into the top "Like" box and types a border there.
    void TypeLikeTop(size_t length) {
        form.txtTBLike.Text = Text();
        ASSERT_TRUE(form.txtTBLike.SetFocus());
        Type(form.txtTBLike, Text(length, U'='));
    }

    static bool HasLine(const Text& signature, const Text& line) {
        const Text breakText(CrLf);
        return (breakText + signature).find(breakText + line + breakText) != Text::npos;
    }

    std::map<std::string, std::pair<bool, bool>> OthersEnabledAndVisible() const {
        std::map<std::string, std::pair<bool, bool>> states;
        for (const Control* c : form.Controls()) {
            if (std::find(kSwitched.begin(), kSwitched.end(), c->Name) == kSwitched.end())
                states[c->Name] = {c->Enabled, c->Visible};
        }
        return states;
    }

    bool Enabled(const std::string& name) const { return form.Find(name)->Enabled; }
    bool Visible(const std::string& name) const { return form.Find(name)->Visible; }

    MainForm& form = app.form;
};

TEST_F(BorderOptionsTest, SwitchingBordersSetsEveryListedControlInOrder) {
    std::vector<std::string> switched;
    form.Changed += [&](Control* c, Property p) {
        if (c != nullptr && p == Property::Enabled)
            switched.push_back(c->Name);
    };
    auto others = OthersEnabledAndVisible();
    for (const std::string& name : kUnborderedWidth)
        others[name].second = false;

    form.chkBorder.Value = 1;
    for (const std::string& name : kSwitched)
        EXPECT_TRUE(Enabled(name)) << name;
    EXPECT_EQ(OthersEnabledAndVisible(), others);

    switched.clear();
    form.chkBorder.Value = 0;
    EXPECT_EQ(switched, kSwitched);
    for (const std::string& name : kSwitched)
        EXPECT_FALSE(Enabled(name)) << name;
    for (const std::string& name : kUnborderedWidth)
        others[name].second = true;
    EXPECT_EQ(OthersEnabledAndVisible(), others);

    switched.clear();
    form.chkBorder.Value = 1;
    EXPECT_EQ(switched, kSwitched);
    for (const std::string& name : kUnborderedWidth)
        EXPECT_FALSE(Visible(name)) << name;
}

TEST_F(BorderOptionsTest, WithoutBordersOnlyTheSeparatorsNeedingNoBorderStayUsable) {
    form.chkBorder.Value = 1;
    form.chkBorder.Value = 0;
    EXPECT_TRUE(form.frmSBS.EffectivelyEnabled());
    EXPECT_TRUE(form.optSBSSepNone.EffectivelyEnabled());
    EXPECT_TRUE(form.optSBSBlankLine.EffectivelyEnabled());
    EXPECT_FALSE(form.optSBSSameTop.EffectivelyEnabled());
    EXPECT_FALSE(form.optSBSSameBottom.EffectivelyEnabled());
    EXPECT_TRUE(form.chkBorder.EffectivelyEnabled());
    EXPECT_TRUE(form.cmbFixWidth.EffectivelyEnabled());
    EXPECT_TRUE(form.cmbFixWidth.Visible);
}

TEST_F(BorderOptionsTest, AGreyedBoxCountsAsBordersOff) {
    form.chkBorder.Value = 1;
    form.chkBorder.Value = 2;
    for (const std::string& name : kSwitched)
        EXPECT_FALSE(Enabled(name)) << name;
    for (const std::string& name : kUnborderedWidth)
        EXPECT_TRUE(Visible(name)) << name;
}

TEST_F(BorderOptionsTest, TypingALikeBorderSelectsLikeAndCountsBeforeEachKey) {
    form.chkBorder.Value = 1;
    ASSERT_TRUE(form.optTBRepeat.Value);

    Type(form.txtTBLike, U"-");
    EXPECT_TRUE(form.optTBLike.Value);
    EXPECT_FALSE(form.optTBRepeat.Value);
    EXPECT_EQ(form.lblTBLen.Caption.get(), U"0");
    Type(form.txtTBLike, U"=");
    EXPECT_EQ(form.lblTBLen.Caption.get(), U"1");
    Type(form.txtTBLike, U"\b");
    EXPECT_EQ(form.txtTBLike.Text.get(), U"-");
    EXPECT_EQ(form.lblTBLen.Caption.get(), U"2");

    // Only a key press updates the count.
    form.txtTBLike.Text = Text(50, U'~');
    EXPECT_EQ(form.lblTBLen.Caption.get(), U"2");

    ASSERT_TRUE(form.optBBSame.Value);
    Type(form.txtBBLike, U"ab");
    EXPECT_TRUE(form.optBBLike.Value);
    EXPECT_FALSE(form.optBBSame.Value);
    EXPECT_EQ(form.txtBBLike.Text.get(), U"ab");
    EXPECT_EQ(form.lblBBLen.Caption.get(), U"1");
    EXPECT_EQ(form.lblTBLen.Caption.get(), U"2");
}

TEST_F(BorderOptionsTest, TypingOrSettingABorderTextSelectsItsOption) {
    form.chkBorder.Value = 1;

    Type(form.txtBBRepeat, U"-");
    EXPECT_TRUE(form.optBBRepeat.Value);
    EXPECT_EQ(form.txtBBRepeat.Text.get(), U"*-");

    ASSERT_FALSE(form.optSBSRightLike.Value);
    Type(form.txtSBSRightLike, U"|");
    EXPECT_TRUE(form.optSBSRightLike.Value);
    EXPECT_EQ(form.txtSBSRightLike.Text.get(), U"**|");

    Type(form.txtTBLike, U"#");
    ASSERT_TRUE(form.optTBLike.Value);
    form.txtTBRepeat.Text = U"-=";
    EXPECT_TRUE(form.optTBRepeat.Value);
    EXPECT_FALSE(form.optTBLike.Value);
}

TEST_F(BorderOptionsTest, LeavingAShortLikeTopForAButtonOrBoxPutsAValidBorderIn) {
    form.chkBorder.Value = 1;
    TypeLikeTop(39);
    ASSERT_TRUE(form.optTBLike.Value);

    form.cmdApply2.SetFocus();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, U"You MUST have at least 40 characters in the Like field!");
    EXPECT_EQ(messages.shown[0].title, U"Top Border Style");
    EXPECT_EQ(messages.shown[0].style, 0);
    EXPECT_EQ(form.ActiveControl(), &form.txtTBLike);
    EXPECT_EQ(form.txtTBLike.Text.get(), kFortyStars);
    EXPECT_TRUE(form.optTBLike.Value);

    form.txtTBLike.Text = Text(39, U'=');
    form.txtBBLike.SetFocus();
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(form.ActiveControl(), &form.txtTBLike);
    EXPECT_EQ(form.txtTBLike.Text.get(), kFortyStars);
}

TEST_F(BorderOptionsTest, LeavingAShortLikeTopForAnOptionChoosesRepeat) {
    form.chkBorder.Value = 1;
    TypeLikeTop(39);

    form.optBBLike.SetFocus();
    EXPECT_TRUE(form.optTBRepeat.Value);
    EXPECT_FALSE(form.optTBLike.Value);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(form.txtTBLike.Text.get(), Text(39, U'='));
    EXPECT_EQ(form.ActiveControl(), &form.optBBLike);

    // Any option of the window, even on another page.
    TypeLikeTop(10);
    form.optHTML.SetFocus();
    EXPECT_TRUE(form.optTBRepeat.Value);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(BorderOptionsTest, LeavingARepeatTopIsNeverChecked) {
    form.chkBorder.Value = 1;
    TypeLikeTop(5);
    form.optTBRepeat.Value = true;
    form.cmdApply2.SetFocus();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(form.txtTBLike.Text.get(), U"=====");
}

TEST_F(BorderOptionsTest, FortyCharactersPassAndApplyRebuildsWithThem) {
    Start();
    TypeLikeTop(40);
    const Text before = app.SignatureText;

    form.Apply.SetFocus();
    form.Apply.Click();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(form.Tabs.Tab.get(), 3);
    EXPECT_NE(app.SignatureText, before);
    EXPECT_TRUE(HasLine(app.SignatureText, Text(40, U'=')));
    EXPECT_EQ(form.txtSignature1.Text.get(), app.SignatureText);
}

TEST_F(BorderOptionsTest, ApplyRefusesAShortLikeTopUntilItIsLongEnough) {
    Start();
    const Text before = app.SignatureText;
    ASSERT_FALSE(HasLine(before, kFortyStars));
    // Stored settings can hold a short "Like" border; the box never had the focus.
    form.optTBLike.Value = true;
    form.txtTBLike.Text = Text(39, U'=');

    form.Apply.SetFocus();
    form.Apply.Click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, U"You MUST have at least 40 characters in the Like Field!");
    EXPECT_EQ(messages.shown[0].title, U"Like Border Styles");
    EXPECT_EQ(messages.shown[0].style, 0);
    EXPECT_EQ(form.ActiveControl(), &form.txtTBLike);
    EXPECT_EQ(form.txtTBLike.Text.get(), kFortyStars);
    EXPECT_EQ(app.SignatureText, before);
    EXPECT_EQ(form.Tabs.Tab.get(), 0);

    form.Apply.SetFocus();
    form.Apply.Click();
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(form.Tabs.Tab.get(), 3);
    EXPECT_TRUE(HasLine(app.SignatureText, kFortyStars));
}

TEST_F(BorderOptionsTest, AShortLikeBottomIsAccepted) {
    Start();
    Type(form.txtBBLike, U"~~~");
    form.Apply.Click();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(form.Tabs.Tab.get(), 3);
}

TEST_F(BorderOptionsTest, ShortLikeTopWithBordersOffKeepsTheFocusWhereItIs) {
    // Stored settings can select "Like" while borders are off.
    form.optTBLike.Value = true;
    form.txtTBLike.Text = U"short";
    ASSERT_FALSE(form.txtTBLike.EffectivelyEnabled());
    ASSERT_TRUE(form.Apply.SetFocus());

    form.Apply.Click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, U"Like Border Styles");
    EXPECT_EQ(form.ActiveControl(), &form.Apply);
    EXPECT_EQ(form.txtTBLike.Text.get(), kFortyStars);

    // Borders switched off from code while the box has the focus.
    form.chkBorder.Value = 1;
    TypeLikeTop(12);
    form.chkBorder.Value = 0;
    form.cmdApply2.SetFocus();
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].title, U"Top Border Style");
    EXPECT_EQ(form.ActiveControl(), &form.cmdApply2);
    EXPECT_EQ(form.txtTBLike.Text.get(), kFortyStars);
}

TEST_F(BorderOptionsTest, EachApplyButtonShowsItsPageAndTheEditedEntry) {
    Start();
    const std::string list = files.files[kListFile];
    const int writes = files.writes;
    const std::pair<CommandButton*, int> buttons[] = {
        {&form.cmdApply2, 1}, {&form.cmdApply3, 2}, {&form.Apply, 3}, {&form.cmdApply4, 4}};
    for (const auto& [button, tab] : buttons) {
        SCOPED_TRACE(button->Name);
        form.Tabs.Tab = 0;
        form.btnForwardOne.Click();
        const int shown = app.vars.CurrentEntry;
        const Text edited = U"edited for " + FromUtf8(button->Name);
        form.txtVar.Text = edited;

        button->Click();
        EXPECT_EQ(form.Tabs.Tab.get(), tab);
        EXPECT_EQ(app.PickedEntry, shown);
        EXPECT_NE(app.SignatureText.find(edited), Text::npos);
        EXPECT_EQ(form.txtVar.Text.get(), edited);
        EXPECT_FALSE(app.UseShownEntry);
    }
    // Applying saves nothing.
    EXPECT_EQ(files.writes, writes);
    EXPECT_EQ(files.files[kListFile], list);
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace velmo

#include "ui/model/controls.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/model/main_form.h"

namespace velmo {
namespace {

using Notice = std::pair<Control*, Property>;

class ControlsTest : public ::testing::Test {
  protected:
    // Everything the form reports to its observers from now on.
    std::vector<Notice>& Record() {
        form.Changed += [this](Control* c, Property p) { notices.emplace_back(c, p); };
        return notices;
    }

    // A counter attached to an event.
    template <typename E>
    int& Count(E& event) {
        counters.push_back(std::make_unique<int>(0));
        int* n = counters.back().get();
        event += [n](auto&&...) { ++*n; };
        return *n;
    }

    MainForm form;
    std::vector<Notice> notices;
    std::vector<std::unique_ptr<int>> counters;
};

// --- Check boxes -------------------------------------------------------------

TEST_F(ControlsTest, CheckBoxClickRunsOnlyOnARealChange) {
    int& clicks = Count(form.chkVar.Click);
    form.chkVar.Value = 1;
    EXPECT_EQ(clicks, 1);
    form.chkVar.Value = 1;
    EXPECT_EQ(clicks, 1);
    form.chkVar.Value = 2;  // greyed is a value of its own
    EXPECT_EQ(clicks, 2);
    form.chkVar.Value = 0;
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(form.chkVar.Value.get(), 0);
}

TEST_F(ControlsTest, CheckBoxRefusesValuesOutsideItsThreeStates) {
    form.chkFixed.Value = 1;
    int& clicks = Count(form.chkFixed.Click);
    auto& seen = Record();
    for (int bad : {3, -1, 100}) {
        form.chkFixed.Value = bad;
        EXPECT_EQ(form.chkFixed.Value.get(), 1) << bad;
    }
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(seen.empty());
}

// --- Option buttons ----------------------------------------------------------

TEST_F(ControlsTest, SelectingAnOptionClearsTheOthersOfItsContainerThenClicks) {
    int& likeClicks = Count(form.optBBLike.Click);
    int& sameClicks = Count(form.optBBSame.Click);
    bool othersClearedBeforeClick = false;
    form.optBBLike.Click +=
        [&] { othersClearedBeforeClick = !form.optBBSame.Value && !form.optBBRepeat.Value; };

    // Disabled buttons can still be set from code.
    form.optBBLike.Value = true;

    EXPECT_TRUE(form.optBBLike.Value);
    EXPECT_FALSE(form.optBBSame.Value);
    EXPECT_FALSE(form.optBBRepeat.Value);
    EXPECT_EQ(likeClicks, 1);
    EXPECT_EQ(sameClicks, 0);
    EXPECT_TRUE(othersClearedBeforeClick);
    // Other groups, even on the same tab page, are left alone.
    EXPECT_TRUE(form.optTBRepeat.Value);
    EXPECT_TRUE(form.optSBSBlankLine.Value);
    EXPECT_TRUE(form.optText.Value);
}

TEST_F(ControlsTest, SelectingTheSelectedOptionAgainDoesNothing) {
    int& clicks = Count(form.optText.Click);
    auto& seen = Record();
    form.optText.Value = true;
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(seen.empty());
}

TEST_F(ControlsTest, ClearingAnOptionTouchesNoOtherAndRunsNoClick) {
    int& sameClicks = Count(form.optBBSame.Click);
    int& likeClicks = Count(form.optBBLike.Click);
    int& repeatClicks = Count(form.optBBRepeat.Click);
    form.optBBSame.Value = false;
    EXPECT_FALSE(form.optBBSame.Value);
    EXPECT_FALSE(form.optBBLike.Value);
    EXPECT_FALSE(form.optBBRepeat.Value);
    EXPECT_EQ(sameClicks + likeClicks + repeatClicks, 0);
}

TEST_F(ControlsTest, SwitchingOptionsBackAndForthKeepsOneSelected) {
    form.optHTML.Value = true;
    form.optRTF.Value = true;
    form.optText.Value = true;
    EXPECT_TRUE(form.optText.Value);
    EXPECT_FALSE(form.optHTML.Value);
    EXPECT_FALSE(form.optRTF.Value);
}

// --- Combo boxes -------------------------------------------------------------

TEST_F(ControlsTest, ComboTextMustBeOneOfTheItems) {
    form.cmbFixWidth.Text = U"60";
    EXPECT_EQ(form.cmbFixWidth.Text.get(), U"60");
    auto& seen = Record();
    for (const char32_t* bad : {U"55", U"", U"60 ", U"080"}) {
        form.cmbFixWidth.Text = bad;
        EXPECT_EQ(form.cmbFixWidth.Text.get(), U"60");
    }
    EXPECT_TRUE(seen.empty());
    form.cmbFixWidth.Text = U"100";
    EXPECT_EQ(form.cmbFixWidth.Text.get(), U"100");
}

// --- Text boxes --------------------------------------------------------------

TEST_F(ControlsTest, TextFromCodeIsCutToTheMaximumLength) {
    int& changes = Count(form.txtTBRepeat.Change);
    form.txtTBRepeat.Text = U"12345678";
    EXPECT_EQ(form.txtTBRepeat.Text.get(), U"123456");
    EXPECT_EQ(changes, 1);
    // Cut to the same text, so nothing changes.
    form.txtTBRepeat.Text = U"123456789";
    EXPECT_EQ(changes, 1);
    // The limit counts characters, not bytes.
    form.txtTBRepeat.Text = U"\u20AC\u20AC\u20AC\u20AC\u20AC\u20AC\u20AC";
    EXPECT_EQ(form.txtTBRepeat.Text.get(), U"\u20AC\u20AC\u20AC\u20AC\u20AC\u20AC");
    EXPECT_EQ(changes, 2);
}

TEST_F(ControlsTest, TextWithoutLimitIsKeptWhole) {
    const Text longText(5000, U'x');
    form.txtVarFile.Text = longText;
    EXPECT_EQ(form.txtVarFile.Text.get(), longText);
    form.txtBBLike.Text = Text(150, U'-');
    EXPECT_EQ(form.txtBBLike.Text.get().size(), 100u);
}

TEST_F(ControlsTest, ChangeRunsOncePerRealChange) {
    int& changes = Count(form.txtVar.Change);
    form.txtVar.Text = U"hello";
    form.txtVar.Text = U"hello";
    EXPECT_EQ(changes, 1);
    form.txtVar.Text = U"";
    EXPECT_EQ(changes, 2);
}

TEST_F(ControlsTest, KeyPressHandlersMayDiscardOrReplaceTheKey) {
    EXPECT_EQ(form.txtSignature1.PressKey('a'), 'a');  // no handler: the key passes

    form.txtSignature.KeyPress += [](int& key) { key = 0; };
    EXPECT_EQ(form.txtSignature.PressKey('a'), 0);
    EXPECT_EQ(form.txtSignature.PressKey(8), 0);

    // Handlers run in order, each seeing what the one before left.
    std::vector<int> seen;
    form.txtVar.KeyPress += [](int& key) {
        if (key >= 'a' && key <= 'z')
            key -= 'a' - 'A';
    };
    form.txtVar.KeyPress += [&](int& key) { seen.push_back(key); };
    EXPECT_EQ(form.txtVar.PressKey('q'), 'Q');
    EXPECT_EQ(seen, (std::vector<int>{'Q'}));
    EXPECT_EQ(form.txtVar.Text.get(), U"");  // pressing a key does not type it
}

// --- Focus -------------------------------------------------------------------

TEST_F(ControlsTest, LostFocusRunsAfterTheNewControlIsActive) {
    ASSERT_TRUE(form.txtVarFile.SetFocus());
    EXPECT_EQ(form.ActiveControl(), &form.txtVarFile);

    std::vector<std::string> order;
    form.txtVar.GotFocus += [&] { order.push_back("txtVar got"); };
    form.txtVarFile.LostFocus += [&] {
        order.push_back("txtVarFile lost");
        EXPECT_EQ(form.ActiveControl(), &form.txtVar);
    };
    EXPECT_TRUE(form.txtVar.SetFocus());
    EXPECT_EQ(order, (std::vector<std::string>{"txtVar got", "txtVarFile lost"}));
    EXPECT_EQ(form.ActiveControl(), &form.txtVar);
}

TEST_F(ControlsTest, FocusingTheActiveControlAgainRunsNoEvents) {
    ASSERT_TRUE(form.SetFocus(form.chkVar));
    int& got = Count(form.chkVar.GotFocus);
    int& lost = Count(form.chkVar.LostFocus);
    EXPECT_TRUE(form.chkVar.SetFocus());
    EXPECT_EQ(got + lost, 0);
}

TEST_F(ControlsTest, UnusableControlsCannotTakeTheFocus) {
    ASSERT_TRUE(form.txtVarFile.SetFocus());
    int& lost = Count(form.txtVarFile.LostFocus);
    EXPECT_FALSE(form.chkSpace.SetFocus());       // disabled itself
    EXPECT_FALSE(form.txtBBLike.SetFocus());      // enabled, but its frame is not
    EXPECT_FALSE(form.optTBLike.SetFocus());      // disabled, in a disabled frame
    EXPECT_FALSE(form.CommonDialog1.SetFocus());  // not visible
    EXPECT_EQ(form.ActiveControl(), &form.txtVarFile);
    EXPECT_EQ(lost, 0);

    form.frmBB.Enabled = true;
    EXPECT_TRUE(form.txtBBLike.SetFocus());
    EXPECT_EQ(lost, 1);
}

TEST_F(ControlsTest, ClearingTheFocusRunsNoLostFocus) {
    ASSERT_TRUE(form.txtVar.SetFocus());
    int& lost = Count(form.txtVar.LostFocus);
    form.ClearFocus();
    EXPECT_EQ(form.ActiveControl(), nullptr);
    EXPECT_EQ(lost, 0);
    // Focusing again after a clear has nobody to lose it.
    EXPECT_TRUE(form.txtVar.SetFocus());
    EXPECT_EQ(lost, 0);
}

// --- Observers ---------------------------------------------------------------

TEST_F(ControlsTest, ObserversHearWhichControlChangedWhat) {
    auto& seen = Record();
    form.chkVar.Value = 1;
    form.txtVar.Text = U"x";
    form.lblFreq.Caption = U"Daily";
    form.email.ForeColor = colors::Blue;
    form.email.FontUnderline = true;
    form.btnNew.Enabled = false;
    form.cmbWidth.Visible = false;
    form.Slider.Tag = U"3";
    form.Tabs.Tab = 2;
    form.mnuPut.Visible = true;
    EXPECT_EQ(seen, (std::vector<Notice>{
                        {&form.chkVar, Property::Value},
                        {&form.txtVar, Property::TextContent},
                        {&form.lblFreq, Property::Caption},
                        {&form.email, Property::ForeColor},
                        {&form.email, Property::FontUnderline},
                        {&form.btnNew, Property::Enabled},
                        {&form.cmbWidth, Property::Visible},
                        {&form.Slider, Property::Tag},
                        {&form.Tabs, Property::Tab},
                        {&form.mnuPut, Property::Visible},
                    }));
}

TEST_F(ControlsTest, ObserversHearNothingWhenAValueIsAssignedUnchanged) {
    auto& seen = Record();
    form.chkFile.Value = 1;
    form.txtTBRepeat.Text = U"*";
    form.frmTB.Enabled = false;
    form.lblVersion.Caption = U"Ver.";
    form.Tabs.Tab = 0;
    form.Caption = U"Velmo";
    form.Hide();
    EXPECT_TRUE(seen.empty());
}

TEST_F(ControlsTest, ObserversHearTheFormItselfAsNoControl) {
    auto& seen = Record();
    form.Caption = U"Velmo - 1.00";
    form.Show();
    form.Refresh();
    form.Hide();
    EXPECT_EQ(seen, (std::vector<Notice>{{nullptr, Property::Caption},
                                         {nullptr, Property::Visible},
                                         {nullptr, Property::Refresh},
                                         {nullptr, Property::Visible}}));
    EXPECT_FALSE(form.Visible);
}

TEST_F(ControlsTest, ObserversHearEveryOptionThatAnotherCleared) {
    auto& seen = Record();
    form.optSBSSepNone.Value = true;
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], (Notice{&form.optSBSSepNone, Property::Value}));
    EXPECT_EQ(seen[1], (Notice{&form.optSBSBlankLine, Property::Value}));
}

// --- Slider and tabs ---------------------------------------------------------

TEST_F(ControlsTest, SliderRefusesPositionsOutsideItsRange) {
    int& changes = Count(form.Slider.Change);
    form.Slider.Value = 9;
    form.Slider.Value = -1;
    EXPECT_EQ(form.Slider.Value.get(), 0);
    EXPECT_EQ(changes, 0);
    form.Slider.Value = 8;
    EXPECT_EQ(form.Slider.Value.get(), 8);
    EXPECT_EQ(changes, 1);
    form.Slider.Tag = U"8";  // the tag is no position change
    EXPECT_EQ(changes, 1);
}

TEST_F(ControlsTest, TabsRefuseANonexistentPage) {
    form.Tabs.Tab = 6;
    EXPECT_EQ(form.Tabs.Tab.get(), 0);
    form.Tabs.Tab = -1;
    EXPECT_EQ(form.Tabs.Tab.get(), 0);
    form.Tabs.Tab = 5;
    EXPECT_EQ(form.Tabs.Tab.get(), 5);
}

// --- Events and kinds --------------------------------------------------------

TEST_F(ControlsTest, HandlersRunInAttachOrderAndLateOnesWaitForTheNextRun) {
    std::vector<int> order;
    form.btnNew.Click += [&] { order.push_back(1); };
    form.btnNew.Click += [&] {
        order.push_back(2);
        if (order.size() == 2)
            form.btnNew.Click += [&] { order.push_back(3); };
    };
    EXPECT_FALSE(form.btnNew.Click.empty());
    form.btnNew.Click();
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    form.btnNew.Click();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 1, 2, 3}));
    EXPECT_TRUE(form.btnClose.Click.empty());
}

TEST_F(ControlsTest, KindNamesAndCasts) {
    EXPECT_EQ(KindName(ControlKind::TabControl), "SSTab");
    EXPECT_EQ(KindName(form.Line1.Kind), "Line");
    EXPECT_EQ(KindName(form.mnuExit.Kind), "Menu");
    Control& c = form.chkFile;
    EXPECT_EQ(c.As<CheckBox>(), &form.chkFile);
    EXPECT_EQ(c.As<OptionButton>(), nullptr);
}

}  // namespace
}  // namespace velmo

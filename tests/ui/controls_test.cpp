#include "ui/model/controls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ui/model/main_form.h"

namespace velmo {
namespace {

using Notice = std::pair<Control*, Property>;

class ControlsTest : public ::testing::Test {
  protected:
    ControlsTest() {
        form.Changed += [this](Control* c, Property p) { notices.emplace_back(c, p); };
    }

    // The number of option buttons selected in each container of option buttons.
    std::map<const Control*, int> SelectedPerGroup() const {
        std::map<const Control*, int> selected;
        for (Control* c : form.Controls()) {
            if (auto* o = c->As<OptionButton>())
                selected[c->Container] += o->Value ? 1 : 0;
        }
        return selected;
    }

    MainForm form;
    std::vector<Notice> notices;
};

// --- The window's structure ---------------------------------------------------

// A control takes its container's address and tab page, so the container must
// come first; names are what the view and the stored options find controls by.
TEST_F(ControlsTest, ContainersComeBeforeTheirChildrenAndNamesAreUnique) {
    const auto& all = form.Controls();
    std::set<std::string> names;
    for (size_t i = 0; i < all.size(); ++i) {
        const Control* c = all[i];
        SCOPED_TRACE(c->Name);
        EXPECT_TRUE(names.insert(c->Name).second);
        EXPECT_EQ(form.Find(c->Name), c);
        if (c->Kind != ControlKind::Menu && c != &form.Tabs) {
            EXPECT_GE(c->TabPage, 0);
            EXPECT_LT(static_cast<size_t>(c->TabPage), form.Tabs.TabCaptions.size());
        }
        if (c->Container == nullptr)
            continue;
        const auto at = std::find(all.begin(), all.end(), c->Container) - all.begin();
        EXPECT_LT(static_cast<size_t>(at), i);
        EXPECT_EQ(c->Container->Kind,
                  c->Kind == ControlKind::Menu ? ControlKind::Menu : ControlKind::Frame);
        EXPECT_EQ(c->TabPage, c->Container->TabPage);
    }
    EXPECT_GT(all.size(), 100u);
}

// Every group starts with one choice, and choosing any button from code keeps
// exactly that one chosen in its group and leaves the other groups alone.
TEST_F(ControlsTest, EveryOptionGroupKeepsOneChoice) {
    std::map<const Control*, int> expected = SelectedPerGroup();
    for (auto& [group, n] : expected) {
        // Frame6's only button is hidden: nothing chosen.
        EXPECT_EQ(n, group == &form.Frame6 ? 0 : 1) << group->Name;
    }
    for (Control* c : form.Controls()) {
        auto* o = c->As<OptionButton>();
        if (o == nullptr)
            continue;
        SCOPED_TRACE(c->Name);
        o->Value = true;  // disabled buttons too
        expected[c->Container] = 1;
        EXPECT_TRUE(o->Value);
        EXPECT_EQ(SelectedPerGroup(), expected);
    }
}

TEST_F(ControlsTest, ChoosingAnOptionClearsTheOthersFirstThenClicksOnce) {
    int clicks = 0;
    form.optBBSame.Click += [&] { clicks += 100; };
    form.optBBLike.Click += [&] { clicks += form.optBBSame.Value ? 10 : 1; };
    form.optBBLike.Value = true;
    form.optBBLike.Value = true;   // already chosen: nothing happens
    form.optBBLike.Value = false;  // clearing clicks nothing and chooses nothing else
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(notices, (std::vector<Notice>{{&form.optBBLike, Property::Value},
                                            {&form.optBBSame, Property::Value},
                                            {&form.optBBLike, Property::Value}}));
    EXPECT_EQ(SelectedPerGroup()[&form.optBBOption], 0);
}

// --- Values and their filters -------------------------------------------------

struct ValueCase {
    const char* control;
    Text start;  // assigned first
    Text assigned;
    Text expected;  // what the control holds afterwards
    int changes;    // notices and runs of the control's own change event
};

void Assign(Control& c, const Text& v) {
    if (auto* x = c.As<CheckBox>())
        x->Value = ToWholeNumber(v);
    if (auto* x = c.As<SliderControl>())
        x->Value = ToWholeNumber(v);
    if (auto* x = c.As<TabControl>())
        x->Tab = ToWholeNumber(v);
    if (auto* x = c.As<TextBox>())
        x->Text = v;
    if (auto* x = c.As<ComboBox>())
        x->Text = v;
}

Text Read(Control& c) {
    if (auto* x = c.As<CheckBox>())
        return ToText(x->Value);
    if (auto* x = c.As<SliderControl>())
        return ToText(x->Value);
    if (auto* x = c.As<TabControl>())
        return ToText(x->Tab);
    if (auto* x = c.As<TextBox>())
        return x->Text;
    return c.As<ComboBox>()->Text;
}

TEST_F(ControlsTest, AssignmentsKeepOnlyValidValuesAndReportRealChanges) {
    const Text many(5000, U'x');
    const ValueCase cases[] = {
        // Check boxes: unchecked, checked, greyed.
        {"chkVar", U"0", U"1", U"1", 1},
        {"chkVar", U"1", U"2", U"2", 1},
        {"chkVar", U"2", U"0", U"0", 1},
        {"chkVar", U"1", U"3", U"1", 0},
        // Combo boxes take one of their items only.
        {"cmbFixWidth", U"60", U"100", U"100", 1},
        {"cmbFixWidth", U"60", U"55", U"60", 0},
        // Text from code is cut to the maximum length, counted in characters.
        {"txtTBRepeat", U"*", U"12345678", U"123456", 1},
        {"txtTBRepeat", U"*", U"\u20AC\u20AC\u20AC\u20AC\u20AC\u20AC\u20AC",
         U"\u20AC\u20AC\u20AC\u20AC\u20AC\u20AC", 1},
        {"txtBBLike", U"", Text(150, U'-'), Text(100, U'-'), 1},
        {"txtVarFile", U"", many, many, 1},  // no limit
        // The slider's positions are 0 to 8, the tabs 0 to 5.
        {"Slider", U"0", U"9", U"0", 0},
        {"Slider", U"0", U"8", U"8", 1},
        {"Slider", U"8", U"0", U"0", 1},
        {"Tabs", U"0", U"6", U"0", 0},
        {"Tabs", U"5", U"0", U"0", 1},
    };
    for (const ValueCase& row : cases) {
        MainForm f;
        Control& c = *f.Find(row.control);
        SCOPED_TRACE(std::string(row.control) + " " + ToUtf8(row.start) + " -> " +
                     ToUtf8(row.assigned.substr(0, 20)));
        Assign(c, row.start);
        int own = 0, heard = 0;
        f.Changed += [&](Control* changed, Property) { heard += changed == &c ? 1 : 100; };
        for (Event<>* e : {c.As<CheckBox>() ? &c.As<CheckBox>()->Click : nullptr,
                           c.As<TextBox>() ? &c.As<TextBox>()->Change : nullptr,
                           c.As<SliderControl>() ? &c.As<SliderControl>()->Change : nullptr}) {
            if (e != nullptr)
                *e += [&] { ++own; };
        }
        Assign(c, row.assigned);
        EXPECT_EQ(Read(c), row.expected);
        EXPECT_EQ(heard, row.changes);
        EXPECT_EQ(own, c.As<TabControl>() || c.As<ComboBox>() ? 0 : row.changes);
    }
}

TEST_F(ControlsTest, ObserversHearWhatChangedOnWhichControlOrTheForm) {
    form.lblFreq.Caption = U"Daily";
    form.email.ForeColor = colors::Blue;
    form.btnNew.Enabled = false;
    form.Slider.Tag = U"3";  // no position change
    form.Caption = U"Velmo - 1.00";
    form.Show();
    form.Refresh();
    form.Show();  // unchanged: no notice
    EXPECT_EQ(notices, (std::vector<Notice>{
                           {&form.lblFreq, Property::Caption},
                           {&form.email, Property::ForeColor},
                           {&form.btnNew, Property::Enabled},
                           {&form.Slider, Property::Tag},
                           {nullptr, Property::Caption},
                           {nullptr, Property::Visible},
                           {nullptr, Property::Refresh},
                       }));
}

// Handlers run in the order attached, each seeing the key the one before left;
// one attached while the event runs waits for the next run.
TEST_F(ControlsTest, HandlersRunInOrderAndMayDiscardOrReplaceTheKey) {
    std::vector<int> seen;
    form.txtVar.KeyPress += [](int& key) { key = key == 'q' ? 'Q' : key; };
    form.txtVar.KeyPress += [&](int& key) {
        seen.push_back(key);
        if (seen.size() == 1)
            form.txtVar.KeyPress += [](int& later) { later = 0; };
    };
    EXPECT_EQ(form.txtVar.PressKey('q'), 'Q');
    EXPECT_EQ(form.txtVar.PressKey('q'), 0);  // discarded by the late handler
    EXPECT_EQ(seen, (std::vector<int>{'Q', 'Q'}));
    EXPECT_EQ(form.txtVar.Text.get(), U"");  // pressing a key does not type it
    EXPECT_EQ(form.txtSignature1.PressKey('a'), 'a');
}

// --- Focus --------------------------------------------------------------------

TEST_F(ControlsTest, OnlyUsableControlsTakeTheFocus) {
    const std::pair<Control*, bool> cases[] = {
        {&form.chkSpace, false},        // disabled itself
        {&form.txtBBLike, false},       // enabled, but its frame is not
        {&form.optTBLike, false},       // disabled, in a disabled frame
        {&form.CommonDialog1, false},   // not visible
        {&form.chkSBSRightSame, true},  // enabled, in two enabled frames
        {&form.txtVarFile, true},
    };
    int lost = 0;
    form.btnNew.LostFocus += [&] { ++lost; };
    for (const auto& [control, usable] : cases) {
        SCOPED_TRACE(control->Name);
        ASSERT_TRUE(form.btnNew.SetFocus());
        lost = 0;
        EXPECT_EQ(control->SetFocus(), usable);
        EXPECT_EQ(form.ActiveControl(), usable ? control : &form.btnNew);
        EXPECT_EQ(lost, usable ? 1 : 0);
    }
    form.frmBB.Enabled = true;
    EXPECT_TRUE(form.txtBBLike.SetFocus());
}

TEST_F(ControlsTest, TheOldControlLosesTheFocusAfterTheNewOneHasIt) {
    ASSERT_TRUE(form.txtVarFile.SetFocus());
    std::string order;
    form.txtVar.GotFocus += [&] { order += "got "; };
    form.txtVar.LostFocus += [&] { order += "lost "; };
    form.txtVarFile.LostFocus +=
        [&] { order += form.ActiveControl() == &form.txtVar ? "old lost " : "too early "; };
    notices.clear();
    EXPECT_TRUE(form.txtVar.SetFocus());
    EXPECT_TRUE(form.txtVar.SetFocus());  // already active: no events
    form.ClearFocus();                    // the window lost the focus: nobody runs LostFocus
    EXPECT_EQ(form.ActiveControl(), nullptr);
    EXPECT_TRUE(form.txtVar.SetFocus());
    EXPECT_EQ(order, "got old lost got ");
    EXPECT_EQ(notices, (std::vector<Notice>{{&form.txtVar, Property::Focus},
                                            {&form.txtVar, Property::Focus}}));
}

}  // namespace
}  // namespace velmo

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

// A control takes its container's address and tab page, so the container must
// come first; names are what the view and the stored options find controls by.
TEST_F(ControlsTest, ContainersComeBeforeTheirChildrenAndNamesAreUnique) {
    const auto& all = form.Controls();
    ASSERT_GT(all.size(), 100u);
    std::set<std::string> names;
    for (size_t i = 0; i < all.size(); ++i) {
        const Control* c = all[i];
        SCOPED_TRACE(c->Name);
        EXPECT_TRUE(names.insert(c->Name).second);
        EXPECT_EQ(form.Find(c->Name), c);
        if (c->Container == nullptr)
            continue;
        const auto at = std::find(all.begin(), all.end(), c->Container) - all.begin();
        EXPECT_LT(static_cast<size_t>(at), i);
        EXPECT_EQ(c->TabPage, c->Container->TabPage);
    }
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
        if (auto* o = c->As<OptionButton>()) {
            o->Value = true;  // disabled buttons too
            expected[c->Container] = 1;
            EXPECT_TRUE(o->Value) << c->Name;
            EXPECT_EQ(SelectedPerGroup(), expected) << c->Name;
        }
    }
    // The others are cleared before the chosen one's Click runs; clearing
    // clicks nothing and chooses nothing else.
    int clicks = 0;
    form.optBBSame.Click += [&] { clicks += 100; };
    form.optBBLike.Click += [&] { clicks += form.optBBSame.Value ? 10 : 1; };
    form.optBBSame.Value = true;
    clicks = 0;
    form.optBBLike.Value = true;
    form.optBBLike.Value = false;
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(SelectedPerGroup()[&form.optBBOption], 0);
}

struct ValueCase {
    const char* control;
    Text start;  // assigned first
    Text assigned;
    Text expected;  // what the control holds afterwards
    int changes;    // notices and runs of the control's own change event
};

// Assigns (when given) and reads a control's one value as text.
Text Value(Control& c, const Text* assign = nullptr) {
    Prop<int>* number = nullptr;
    Prop<Text>* text = nullptr;
    if (auto* x = c.As<CheckBox>())
        number = &x->Value;
    if (auto* x = c.As<SliderControl>())
        number = &x->Value;
    if (auto* x = c.As<TabControl>())
        number = &x->Tab;
    if (auto* x = c.As<TextBox>())
        text = &x->Text;
    if (auto* x = c.As<ComboBox>())
        text = &x->Text;
    if (assign != nullptr && number != nullptr)
        *number = ToWholeNumber(*assign);
    if (assign != nullptr && text != nullptr)
        *text = *assign;
    return number != nullptr ? ToText(number->get()) : text->get();
}

TEST_F(ControlsTest, AssignmentsKeepOnlyValidValuesAndReportRealChanges) {
    const Text many(5000, U'x');
    const ValueCase cases[] = {
        // Check boxes: unchecked, checked, greyed.
        {"chkVar", U"1", U"2", U"2", 1},
        {"chkVar", U"2", U"0", U"0", 1},
        {"chkVar", U"1", U"3", U"1", 0},
        // Combo boxes take one of their items only.
        {"cmbFixWidth", U"60", U"100", U"100", 1},
        {"cmbFixWidth", U"60", U"55", U"60", 0},
        // Text from code is cut to the maximum length.
        {"txtTBRepeat", U"*", U"12345678", U"123456", 1},
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
        Value(c, &row.start);
        int own = 0, heard = 0;
        f.Changed += [&](Control* changed, Property) { heard += changed == &c ? 1 : 100; };
        for (Event<>* e : {c.As<CheckBox>() ? &c.As<CheckBox>()->Click : nullptr,
                           c.As<TextBox>() ? &c.As<TextBox>()->Change : nullptr,
                           c.As<SliderControl>() ? &c.As<SliderControl>()->Change : nullptr}) {
            if (e != nullptr)
                *e += [&] { ++own; };
        }
        Value(c, &row.assigned);
        EXPECT_EQ(Value(c), row.expected);
        EXPECT_EQ(heard, row.changes);
        EXPECT_EQ(own, c.As<TabControl>() || c.As<ComboBox>() ? 0 : row.changes);
    }
}

// Only usable controls take the focus; the old control loses it after the
// new one has it.
TEST_F(ControlsTest, OnlyUsableControlsTakeTheFocus) {
    const std::pair<Control*, bool> cases[] = {
        {&form.chkSpace, false},        // disabled itself
        {&form.txtBBLike, false},       // enabled, but its frame is not
        {&form.optTBLike, false},       // disabled, in a disabled frame
        {&form.CommonDialog1, false},   // not visible
        {&form.chkSBSRightSame, true},  // enabled, in two enabled frames
        {&form.txtVarFile, true},
    };
    std::string order;
    form.btnNew.LostFocus +=
        [&] { order += form.ActiveControl() == &form.btnNew ? "too early " : "lost "; };
    for (const auto& [control, usable] : cases) {
        SCOPED_TRACE(control->Name);
        ASSERT_TRUE(form.btnNew.SetFocus());
        order.clear();
        control->GotFocus += [&] { order += "got "; };
        notices.clear();
        EXPECT_EQ(control->SetFocus(), usable);
        EXPECT_EQ(control->SetFocus(), usable);  // already active: no events
        EXPECT_EQ(form.ActiveControl(), usable ? control : &form.btnNew);
        EXPECT_EQ(order, usable ? "got lost " : "");
        EXPECT_EQ(notices.size(), usable ? 1u : 0u);
    }
}

}  // namespace
}  // namespace velmo

#include "ui/model/controls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
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

// Every option group starts with one choice, and choosing any button from
// code keeps exactly that one chosen in its group and leaves the other groups
// alone.
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

// Values outside a control's range are refused; a real change is one notice.
TEST_F(ControlsTest, AssignmentsKeepOnlyValidValuesAndReportRealChanges) {
    const struct {
        Prop<int>* prop;
        int start, assigned, expected;
    } numbers[] = {
        // Check boxes: unchecked, checked, greyed; the slider 0 to 8, the tabs 0 to 5.
        {&form.chkVar.Value, 1, 2, 2}, {&form.chkVar.Value, 2, 0, 0}, {&form.chkVar.Value, 1, 3, 1},
        {&form.Slider.Value, 0, 9, 0}, {&form.Slider.Value, 0, 8, 8}, {&form.Slider.Value, 8, 0, 0},
        {&form.Tabs.Tab, 0, 6, 0},     {&form.Tabs.Tab, 5, 0, 0},
    };
    for (const auto& row : numbers) {
        SCOPED_TRACE(row.assigned);
        *row.prop = row.start;
        notices.clear();
        *row.prop = row.assigned;
        EXPECT_EQ(row.prop->get(), row.expected);
        EXPECT_EQ(notices.size(), row.start != row.expected ? 1u : 0u);
    }
    // Combo boxes take one of their items only; text from code is cut to the
    // maximum length, where there is one.
    const Text many(5000, U'x');
    const struct {
        Prop<Text>* prop;
        Text assigned, expected;
    } texts[] = {
        {&form.cmbFixWidth.Text, U"100", U"100"},
        {&form.cmbFixWidth.Text, U"55", U"100"},
        {&form.txtTBRepeat.Text, U"12345678", U"123456"},
        {&form.txtVarFile.Text, many, many},
    };
    for (const auto& row : texts) {
        *row.prop = row.assigned;
        EXPECT_EQ(row.prop->get(), row.expected) << ToUtf8(row.assigned.substr(0, 9));
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

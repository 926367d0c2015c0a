#include "ui/model/main_form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace velmo {
namespace {

using K = ControlKind;

struct Row {
    const char* name;
    ControlKind kind;
    int tab;
};

// The whole window in inventory order: each tab page top to bottom, then the tray menu.
const std::vector<Row> kInventory = {
    {"Tabs", K::TabControl, -1},
    // "Variable"
    {"Image3", K::Image, 0},
    {"Label2", K::Label, 0},
    {"txtVarFile", K::TextBox, 0},
    {"cmdVarFile", K::CommandButton, 0},
    {"chkVar", K::CheckBox, 0},
    {"IndNumber", K::Label, 0},
    {"txtVar", K::TextBox, 0},
    {"btnNew", K::CommandButton, 0},
    {"btnAllBack", K::CommandButton, 0},
    {"btnBackOne", K::CommandButton, 0},
    {"btnForwardOne", K::CommandButton, 0},
    {"btnForwardAll", K::CommandButton, 0},
    {"UseEntry", K::CommandButton, 0},
    {"btnDelete", K::CommandButton, 0},
    {"btnRandomize", K::CommandButton, 0},
    {"txtSignature", K::TextBox, 0},
    {"chkTray", K::CheckBox, 0},
    {"btnHide", K::CommandButton, 0},
    {"btnSaveSett2", K::CommandButton, 0},
    {"btnClose", K::CommandButton, 0},
    {"chkAutostart", K::CheckBox, 0},
    {"CommonDialog1", K::CommonDialog, 0},
    // "Borders"
    {"chkBorder", K::CheckBox, 1},
    {"lblFixedWidth", K::Label, 1},
    {"cmbFixWidth", K::ComboBox, 1},
    {"Label4", K::Label, 1},
    {"frmTB", K::Frame, 1},
    {"lblTopBorder", K::Label, 1},
    {"optTBOption", K::Frame, 1},
    {"optTBLike", K::OptionButton, 1},
    {"optTBRepeat", K::OptionButton, 1},
    {"txtTBLike", K::TextBox, 1},
    {"txtTBRepeat", K::TextBox, 1},
    {"lblWidth", K::Label, 1},
    {"cmbWidth", K::ComboBox, 1},
    {"Label1", K::Label, 1},
    {"lblTBLen", K::Label, 1},
    {"frmBB", K::Frame, 1},
    {"optBBOption", K::Frame, 1},
    {"optBBLike", K::OptionButton, 1},
    {"optBBRepeat", K::OptionButton, 1},
    {"optBBSame", K::OptionButton, 1},
    {"txtBBLike", K::TextBox, 1},
    {"txtBBRepeat", K::TextBox, 1},
    {"lblBottomBorder", K::Label, 1},
    {"lblBBLen", K::Label, 1},
    {"txtSignature2", K::TextBox, 1},
    {"cmdApply2", K::CommandButton, 1},
    {"cmdTray2", K::CommandButton, 1},
    {"cmdSave2", K::CommandButton, 1},
    // "Borders2"
    {"frmSBS", K::Frame, 2},
    {"lblSBSLeft", K::Label, 2},
    {"lblSBSLeftLike", K::Label, 2},
    {"txtSBSLeftLike", K::TextBox, 2},
    {"lblSBSIndent", K::Label, 2},
    {"cmbSBSIndent", K::ComboBox, 2},
    {"Line1", K::Line, 2},
    {"lblSBSRight", K::Label, 2},
    {"lblLikeRt", K::Label, 2},
    {"Frame6", K::Frame, 2},
    {"txtSBSRightLike", K::TextBox, 2},
    {"optSBSRightLike", K::OptionButton, 2},
    {"chkSBSRightSame", K::CheckBox, 2},
    {"Line2", K::Line, 2},
    {"lblSBSSep", K::Label, 2},
    {"Frame8", K::Frame, 2},
    {"optSBSSepNone", K::OptionButton, 2},
    {"optSBSBlankLine", K::OptionButton, 2},
    {"optSBSSameTop", K::OptionButton, 2},
    {"optSBSSameBottom", K::OptionButton, 2},
    {"chkSpace", K::CheckBox, 2},
    {"Label3", K::Label, 2},
    {"txtSignature3", K::TextBox, 2},
    {"cmdApply3", K::CommandButton, 2},
    {"cmdTray3", K::CommandButton, 2},
    {"cmdSave3", K::CommandButton, 2},
    // "Fixed"
    {"chkFixed", K::CheckBox, 3},
    {"txtFixed", K::TextBox, 3},
    {"Frame7", K::Frame, 3},
    {"optOrderVF", K::OptionButton, 3},
    {"optOrderFF", K::OptionButton, 3},
    {"txtSignature1", K::TextBox, 3},
    {"Apply", K::CommandButton, 3},
    {"cmdTray1", K::CommandButton, 3},
    {"btnSaveSett", K::CommandButton, 3},
    // "Options"
    {"Slider", K::Slider, 4},
    {"Label10", K::Label, 4},
    {"lblFreq", K::Label, 4},
    {"Frame1", K::Frame, 4},
    {"chkClip", K::CheckBox, 4},
    {"chkFile", K::CheckBox, 4},
    {"txtSigFile", K::TextBox, 4},
    {"cmdSigFile", K::CommandButton, 4},
    {"frOutputType", K::Frame, 4},
    {"optText", K::OptionButton, 4},
    {"optHTML", K::OptionButton, 4},
    {"optRTF", K::OptionButton, 4},
    {"lblAdvert", K::Label, 4},
    {"cmdApply4", K::CommandButton, 4},
    {"cmdTray4", K::CommandButton, 4},
    {"cmdSave4", K::CommandButton, 4},
    // "About"
    {"Image2", K::Image, 5},
    {"imgIcon", K::Image, 5},
    {"lblVersion", K::Label, 5},
    {"lblDescription", K::Label, 5},
    {"email", K::Label, 5},
    {"lblHTML", K::Label, 5},
    {"ulrHomePage", K::Label, 5},
    // Tray menu
    {"TrayMenu", K::Menu, -1},
    {"mnuopen", K::Menu, -1},
    {"mnuPut", K::Menu, -1},
    {"mnuSep1", K::Menu, -1},
    {"mnuAutoPaste", K::Menu, -1},
    {"mnuClipSig", K::Menu, -1},
    {"mnuClipVar", K::Menu, -1},
    {"mnuClipFixed", K::Menu, -1},
    {"mnusep2", K::Menu, -1},
    {"mnuRandomize", K::Menu, -1},
    {"mnuHelp", K::Menu, -1},
    {"mnuSep4", K::Menu, -1},
    {"mnuExit", K::Menu, -1},
};

// The caption of any control that has one.
std::optional<Text> CaptionOf(Control& c) {
    if (auto* x = c.As<Label>())
        return x->Caption.get();
    if (auto* x = c.As<CheckBox>())
        return x->Caption.get();
    if (auto* x = c.As<OptionButton>())
        return x->Caption.get();
    if (auto* x = c.As<CommandButton>())
        return x->Caption.get();
    if (auto* x = c.As<Frame>())
        return x->Caption.get();
    if (auto* x = c.As<MenuItem>())
        return x->Caption.get();
    return std::nullopt;
}

std::set<std::string> NamesWhere(const Form& form, const std::function<bool(Control&)>& pred) {
    std::set<std::string> names;
    for (Control* c : form.Controls()) {
        if (pred(*c))
            names.insert(c->Name);
    }
    return names;
}

// The chain of containers from the control outwards, by name.
std::vector<std::string> ContainerChain(const Control& c) {
    std::vector<std::string> chain;
    for (const Control* p = c.Container; p != nullptr; p = p->Container)
        chain.push_back(p->Name);
    return chain;
}

class MainFormTest : public ::testing::Test {
  protected:
    MainForm form;
};

// --- Inventory ---------------------------------------------------------------

TEST_F(MainFormTest, HoldsEveryControlExactlyOnceInInventoryOrder) {
    // 108 controls on the tab pages, the tab control itself and 13 menu items.
    ASSERT_EQ(kInventory.size(), 122u);
    ASSERT_EQ(form.Controls().size(), kInventory.size());
    for (size_t i = 0; i < kInventory.size(); ++i) {
        const Row& row = kInventory[i];
        SCOPED_TRACE(row.name);
        const auto count = std::count_if(form.Controls().begin(), form.Controls().end(),
                                         [&](Control* c) { return c->Name == row.name; });
        EXPECT_EQ(count, 1);
        Control* c = form.Find(row.name);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c, form.Controls()[i]);
        EXPECT_EQ(KindName(c->Kind), KindName(row.kind));
        EXPECT_EQ(c->TabPage, row.tab);
        EXPECT_EQ(&c->Owner(), &form);
    }
}

TEST_F(MainFormTest, ControlCountsPerTabPage) {
    std::map<int, int> perTab;
    for (Control* c : form.Controls())
        ++perTab[c->TabPage];
    EXPECT_EQ(perTab,
              (std::map<int, int>{{-1, 14}, {0, 22}, {1, 28}, {2, 26}, {3, 9}, {4, 16}, {5, 7}}));
}

TEST_F(MainFormTest, ContainersAreFramesDeclaredBeforeTheirChildren) {
    const auto& all = form.Controls();
    for (size_t i = 0; i < all.size(); ++i) {
        const Control* c = all[i];
        if (c->Container == nullptr)
            continue;
        SCOPED_TRACE(c->Name);
        const auto at = std::find(all.begin(), all.end(), c->Container) - all.begin();
        EXPECT_LT(static_cast<size_t>(at), i);
        if (c->Kind == ControlKind::Menu) {
            EXPECT_EQ(c->Container->Kind, ControlKind::Menu);
        } else {
            EXPECT_EQ(c->Container->Kind, ControlKind::Frame);
        }
        EXPECT_EQ(c->TabPage, c->Container->TabPage);
    }
}

TEST_F(MainFormTest, NestedFramesCarryTheirTabPage) {
    EXPECT_EQ(ContainerChain(form.optBBSame), (std::vector<std::string>{"optBBOption", "frmBB"}));
    EXPECT_EQ(form.optBBSame.TabPage, 1);
    EXPECT_EQ(ContainerChain(form.txtSBSRightLike), (std::vector<std::string>{"Frame6", "frmSBS"}));
    EXPECT_EQ(form.txtSBSRightLike.TabPage, 2);
    EXPECT_EQ(ContainerChain(form.optTBLike), (std::vector<std::string>{"optTBOption", "frmTB"}));
    EXPECT_EQ(ContainerChain(form.optText), (std::vector<std::string>{"frOutputType", "Frame1"}));
    EXPECT_EQ(ContainerChain(form.optSBSBlankLine), (std::vector<std::string>{"Frame8", "frmSBS"}));
    EXPECT_EQ(ContainerChain(form.Line2), (std::vector<std::string>{"frmSBS"}));
    // Previews and the buttons under them sit on the page, not in a frame.
    EXPECT_EQ(form.txtSignature2.Container, nullptr);
    EXPECT_EQ(form.chkSpace.Container, nullptr);
    EXPECT_EQ(form.lblAdvert.Container, nullptr);
}

TEST_F(MainFormTest, TypedLookupFollowsKind) {
    EXPECT_EQ(form.Find<CheckBox>("chkFile"), &form.chkFile);
    EXPECT_EQ(form.Find<Label>("chkFile"), nullptr);
    EXPECT_EQ(form.Find("chkfile"), nullptr);  // names are exact
    EXPECT_EQ(form.Find("nothing"), nullptr);
}

// --- Captions and texts ------------------------------------------------------

TEST_F(MainFormTest, CaptionsKeepBlanksQuotesAndAccessKeys) {
    const std::vector<std::pair<const char*, Text>> expected = {
        {"btnAllBack", U"|  <<"},
        {"btnForwardAll", U">>  |"},
        {"btnBackOne", U"<"},
        {"btnForwardOne", U">"},
        {"Apply", U"&Apply "},
        {"lblWidth", U"   to total"},
        {"lblFixedWidth", U"Non-Bordered WordWrap at "},
        {"frmTB", U"Top Border "},
        {"frmBB", U"Bottom Border "},
        {"lblBottomBorder",
         U"If you use bottom border \"Like\" make it the same size or less as the top border."},
        {"lblTopBorder", U"Must have at least 40 characters in the Like box to use it."},
        {"cmdTray4", U"Minimize Tray"},
        {"cmdTray1", U"Tray Minimize"},
        {"btnHide", U"Tray &Minimize"},
        {"chkTray", U"S&tart On Tray"},
        {"chkAutostart", U"Start &with the desktop"},
        {"btnSaveSett", U"&Save Settings"},
        {"cmdSave3", U"Save Settings"},
        {"chkFile", U"&Send to Signature File"},
        {"chkSpace", U"Add Space Under Top, and Above Bottom Borders"},
        {"frmSBS", U"Side Borders / Separator"},
        {"lblSBSIndent", U"Indent Spaces"},
        {"Frame6", U"Frame6"},
        {"Frame8", U"Separator"},
        {"optTBOption", U""},
        {"optBBOption", U""},
        {"Label3", U"True education is to know and to do the will of God."},
        {"lblVersion", U"Ver."},
        {"lblHTML", U"Home Page for Velmo"},
        {"IndNumber", U""},
        {"lblDescription", U""},
        {"cmdVarFile", U""},
        {"cmdSigFile", U""},
    };
    for (const auto& [name, caption] : expected) {
        SCOPED_TRACE(name);
        Control* c = form.Find(name);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(CaptionOf(*c), caption);
    }
}

TEST_F(MainFormTest, ImplementerWordingIsFilledIn) {
    EXPECT_EQ(form.Label2.Caption.get().rfind(U"By: ", 0), 0u);
    EXPECT_NE(form.email.Caption.get().find(U'@'), Text::npos);
    EXPECT_EQ(form.ulrHomePage.Caption.get().rfind(U"http", 0), 0u);
    EXPECT_FALSE(form.lblAdvert.Caption.get().empty());
}

TEST_F(MainFormTest, InitialTextBoxContents) {
    const std::map<std::string, Text> expected = {
        {"txtVarFile", U"Variable File Path"},
        {"txtSigFile", U"Signature File Location"},
        {"txtTBRepeat", U"*"},
        {"txtBBRepeat", U"*"},
        {"txtSBSLeftLike", U"**"},
        {"txtSBSRightLike", U"**"},
    };
    for (Control* c : form.Controls()) {
        auto* box = c->As<TextBox>();
        if (box == nullptr)
            continue;
        SCOPED_TRACE(c->Name);
        const auto it = expected.find(c->Name);
        EXPECT_EQ(box->Text.get(), it == expected.end() ? Text{} : it->second);
    }
}

// --- Initial states ----------------------------------------------------------

TEST_F(MainFormTest, OnlyTheDesignedControlsStartDisabled) {
    EXPECT_EQ(NamesWhere(form, [](Control& c) { return !c.Enabled; }),
              (std::set<std::string>{"frmTB",           "optTBLike",      "optTBRepeat",
                                     "txtTBLike",       "txtTBRepeat",    "lblWidth",
                                     "cmbWidth",        "frmBB",          "optBBLike",
                                     "optBBRepeat",     "optBBSame",      "lblSBSLeft",
                                     "lblSBSLeftLike",  "txtSBSLeftLike", "lblSBSIndent",
                                     "cmbSBSIndent",    "lblSBSRight",    "txtSBSRightLike",
                                     "optSBSRightLike", "optSBSSameTop",  "optSBSSameBottom",
                                     "chkSpace"}));
}

TEST_F(MainFormTest, ADisabledFrameDisablesWhatIsInside) {
    // Enabled on its own, but its frame is off until borders are switched on.
    EXPECT_TRUE(form.txtBBLike.Enabled);
    EXPECT_FALSE(form.txtBBLike.EffectivelyEnabled());
    EXPECT_TRUE(form.Label1.Enabled);
    EXPECT_FALSE(form.Label1.EffectivelyEnabled());
    // Two levels deep: the inner borderless frame is enabled, the outer one is not.
    form.optTBLike.Enabled = true;
    EXPECT_FALSE(form.optTBLike.EffectivelyEnabled());
    form.frmTB.Enabled = true;
    EXPECT_TRUE(form.optTBLike.EffectivelyEnabled());
    EXPECT_FALSE(form.optTBRepeat.EffectivelyEnabled());  // still off itself

    EXPECT_TRUE(form.chkSBSRightSame.EffectivelyEnabled());
    EXPECT_TRUE(form.optSBSBlankLine.EffectivelyEnabled());
}

TEST_F(MainFormTest, OnlyTheDialogTheMenuHolderAndPutStartHidden) {
    EXPECT_EQ(NamesWhere(form, [](Control& c) { return !c.Visible; }),
              (std::set<std::string>{"CommonDialog1", "TrayMenu", "mnuPut"}));
}

TEST_F(MainFormTest, OneOptionSelectedPerGroup) {
    EXPECT_EQ(NamesWhere(form,
                         [](Control& c) {
                             auto* o = c.As<OptionButton>();
                             return o != nullptr && o->Value;
                         }),
              (std::set<std::string>{"optTBRepeat", "optBBSame", "optSBSBlankLine", "optOrderVF",
                                     "optText"}));
    std::map<const Control*, int> selectedPerContainer;
    for (Control* c : form.Controls()) {
        if (auto* o = c->As<OptionButton>(); o != nullptr && o->Value) {
            ++selectedPerContainer[c->Container];
        }
    }
    for (const auto& [container, n] : selectedPerContainer) {
        EXPECT_EQ(n, 1) << container->Name;
    }
    EXPECT_EQ(form.optTBRepeat.Caption.get(), U"Repeat");
}

TEST_F(MainFormTest, OnlySendToFileStartsChecked) {
    EXPECT_EQ(NamesWhere(form,
                         [](Control& c) {
                             auto* box = c.As<CheckBox>();
                             return box != nullptr && box->Value != 0;
                         }),
              (std::set<std::string>{"chkFile"}));
    EXPECT_EQ(form.chkFile.Value.get(), 1);
}

TEST_F(MainFormTest, TabsShowSixPagesStartingOnTheFirst) {
    EXPECT_EQ(form.Tabs.TabCaptions, (std::vector<Text>{U"Variable", U"Borders", U"Borders2",
                                                        U"Fixed", U"Options", U"About"}));
    EXPECT_EQ(form.Tabs.Tab.get(), 0);
}

TEST_F(MainFormTest, SliderHasNineEmptyTaggedPositions) {
    EXPECT_EQ(form.Slider.Min, 0);
    EXPECT_EQ(form.Slider.Max, 8);
    EXPECT_EQ(form.Slider.Value.get(), 0);
    EXPECT_EQ(form.Slider.Tag.get(), U"");
}

TEST_F(MainFormTest, ComboBoxesListTheirChoicesAndStartEmpty) {
    const std::vector<Text> widths = {U"40", U"60", U"80", U"100"};
    EXPECT_EQ(form.cmbFixWidth.Items, widths);
    EXPECT_EQ(form.cmbWidth.Items, widths);
    EXPECT_EQ(form.cmbSBSIndent.Items, (std::vector<Text>{U"0", U"1", U"2", U"3", U"4"}));
    for (ComboBox* box : {&form.cmbFixWidth, &form.cmbWidth, &form.cmbSBSIndent}) {
        EXPECT_EQ(box->Text.get(), U"") << box->Name;
    }
}

// --- Text boxes and fonts ----------------------------------------------------

TEST_F(MainFormTest, MaxLengthsLimitOnlyTheBorderBoxes) {
    const std::map<std::string, int> limits = {
        {"txtTBLike", 100}, {"txtBBLike", 100},    {"txtTBRepeat", 6},
        {"txtBBRepeat", 6}, {"txtSBSLeftLike", 6}, {"txtSBSRightLike", 6},
    };
    for (Control* c : form.Controls()) {
        auto* box = c->As<TextBox>();
        if (box == nullptr)
            continue;
        const auto it = limits.find(c->Name);
        EXPECT_EQ(box->MaxLength, it == limits.end() ? 0 : it->second) << c->Name;
    }
}

TEST_F(MainFormTest, PreviewsAndEditorsAreMultiLineInAFixedPitchFont) {
    const std::map<std::string, ScrollBars> multiLine = {
        {"txtSignature", ScrollBars::Both},  {"txtSignature1", ScrollBars::Both},
        {"txtSignature2", ScrollBars::Both}, {"txtSignature3", ScrollBars::Both},
        {"txtVar", ScrollBars::Vertical},    {"txtFixed", ScrollBars::Vertical},
    };
    const FontSpec courier{"Courier New", 8.25};
    for (Control* c : form.Controls()) {
        auto* box = c->As<TextBox>();
        if (box == nullptr)
            continue;
        SCOPED_TRACE(c->Name);
        const auto it = multiLine.find(c->Name);
        if (it == multiLine.end()) {
            EXPECT_FALSE(box->MultiLine);
            EXPECT_EQ(box->Bars, ScrollBars::None);
            EXPECT_EQ(box->Font, FontSpec{});
        } else {
            EXPECT_TRUE(box->MultiLine);
            EXPECT_EQ(box->Bars, it->second);
            EXPECT_EQ(box->Font, courier);
        }
    }
}

TEST_F(MainFormTest, PreviewsShareOneSizeAndRow) {
    for (TextBox* preview :
         {&form.txtSignature, &form.txtSignature1, &form.txtSignature2, &form.txtSignature3}) {
        SCOPED_TRACE(preview->Name);
        EXPECT_EQ(preview->Position.top, 3960);
        EXPECT_EQ(preview->Position.width, 5655);
        EXPECT_EQ(preview->Position.height, 2055);
    }
    EXPECT_EQ(form.txtSignature.Position.left, 240);
    EXPECT_EQ(form.txtSignature2.Position.left, 120);
}

TEST_F(MainFormTest, DefaultFontUnlessDesignedOtherwise) {
    const FontSpec courier{"Courier New", 8.25};
    const std::map<std::string, FontSpec> special = {
        {"txtSignature", courier},
        {"txtSignature1", courier},
        {"txtSignature2", courier},
        {"txtSignature3", courier},
        {"txtVar", courier},
        {"txtFixed", courier},
        {"Label2", {"Times New Roman", 8.25}},
        {"Label3", {"Comic Sans MS", 18}},
        {"lblAdvert", {"Comic Sans MS", 15.75}},
        {"lblHTML", {"Comic Sans MS", 20.25}},
        {"lblVersion", {"MS Sans Serif", 8.25, true, true}},
    };
    const FontSpec plain{"MS Sans Serif", 8.25, false, false, false};
    for (Control* c : form.Controls()) {
        const auto it = special.find(c->Name);
        EXPECT_EQ(c->Font, it == special.end() ? plain : it->second) << c->Name;
    }
}

TEST_F(MainFormTest, LabelColoursAndAlignment) {
    struct Look {
        std::uint32_t color;
        Alignment align;
    };
    const std::map<std::string, Look> special = {
        {"Label3", {colors::Grey, Alignment::Center}},
        {"lblAdvert", {colors::Red, Alignment::Center}},
        {"lblHTML", {colors::Red, Alignment::Center}},
        {"lblVersion", {colors::SystemButtonText, Alignment::Right}},
        {"IndNumber", {colors::SystemButtonText, Alignment::Right}},
        {"lblTopBorder", {colors::SystemHighlight, Alignment::Left}},
        {"lblBottomBorder", {colors::SystemHighlight, Alignment::Left}},
        {"lblDescription", {colors::Black, Alignment::Left}},
    };
    for (Control* c : form.Controls()) {
        auto* label = c->As<Label>();
        if (label == nullptr)
            continue;
        SCOPED_TRACE(c->Name);
        const auto it = special.find(c->Name);
        const Look look =
            it == special.end() ? Look{colors::SystemButtonText, Alignment::Left} : it->second;
        EXPECT_EQ(label->ForeColor.get(), look.color);
        EXPECT_EQ(label->Align, look.align);
        EXPECT_FALSE(label->FontUnderline);
    }
}

// --- Layout and pictures -----------------------------------------------------

TEST_F(MainFormTest, PositionsOfSelectedControls) {
    auto pos = [](const Control& c) {
        return std::vector<int>{c.Position.left, c.Position.top, c.Position.width,
                                c.Position.height};
    };
    EXPECT_EQ(pos(form.Tabs), (std::vector<int>{0, 0, 6075, 6930}));
    EXPECT_EQ(pos(form.chkAutostart), (std::vector<int>{240, 6435, 2175, 315}));
    EXPECT_EQ(pos(form.IndNumber), (std::vector<int>{4560, 1820, 1335, 255}));
    EXPECT_EQ(pos(form.optTBRepeat), (std::vector<int>{0, 360, 855, 315}));
    EXPECT_EQ(pos(form.optBBSame), (std::vector<int>{0, 720, 1095, 375}));
    EXPECT_EQ(pos(form.optOrderFF), (std::vector<int>{3360, 240, 1095, 195}));
    EXPECT_EQ(pos(form.cmdSigFile), (std::vector<int>{4800, 1350, 495, 495}));
    EXPECT_EQ(pos(form.cmdApply4), (std::vector<int>{240, 6120, 1695, 240}));
    EXPECT_EQ(pos(form.lblDescription), (std::vector<int>{360, 1560, 5325, 3450}));
}

// The box added under "Start On Tray" covers nothing else on its page, stays
// inside the window, and its access key is no other control's on the page.
TEST_F(MainFormTest, AutostartBoxHasARowAndAnAccessKeyOfItsOwn) {
    const Twips& box = form.chkAutostart.Position;
    EXPECT_LE(box.top + box.height, MainForm::kClientHeight);
    const auto key = [](const Text& caption) -> char32_t {
        const size_t amp = caption.find(U'&');
        if (amp == Text::npos || amp + 1 == caption.size())
            return 0;
        const char32_t c = caption[amp + 1];
        return c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c;
    };
    for (Control* c : form.Controls()) {
        if (c == &form.chkAutostart || c->TabPage != 0 || c->Container != nullptr)
            continue;
        SCOPED_TRACE(c->Name);
        const Twips& p = c->Position;
        EXPECT_TRUE(p.left + p.width <= box.left || box.left + box.width <= p.left ||
                    p.top + p.height <= box.top || box.top + box.height <= p.top);
        if (const auto caption = CaptionOf(*c)) {
            EXPECT_NE(key(*caption), key(form.chkAutostart.Caption));
        }
    }
}

TEST_F(MainFormTest, HiddenRightLikeOptionLiesLeftOfItsFrame) {
    EXPECT_EQ(form.optSBSRightLike.Position.left, -840);
    EXPECT_LT(form.optSBSRightLike.Position.left + form.optSBSRightLike.Position.width, 0);
}

TEST_F(MainFormTest, DividersAreVerticalLines) {
    EXPECT_EQ((std::vector<int>{form.Line1.X1, form.Line1.Y1, form.Line1.X2, form.Line1.Y2}),
              (std::vector<int>{1560, 240, 1560, 1440}));
    EXPECT_EQ((std::vector<int>{form.Line2.X1, form.Line2.Y1, form.Line2.X2, form.Line2.Y2}),
              (std::vector<int>{3240, 240, 3240, 1440}));
}

TEST_F(MainFormTest, PicturesAndGraphicalButtons) {
    EXPECT_EQ(form.Image3.Picture, "banner");
    EXPECT_EQ(form.Image2.Picture, form.Image3.Picture);
    EXPECT_TRUE(form.Image3.Stretch);
    EXPECT_TRUE(form.Image2.Stretch);
    EXPECT_EQ(form.imgIcon.Picture, "icon");
    EXPECT_FALSE(form.imgIcon.Stretch);
    EXPECT_EQ(NamesWhere(form,
                         [](Control& c) {
                             auto* b = c.As<CommandButton>();
                             return b != nullptr && !b->Picture.empty();
                         }),
              (std::set<std::string>{"cmdVarFile", "cmdSigFile"}));
    EXPECT_EQ(form.cmdVarFile.Picture, "cabinet");
    EXPECT_EQ(form.cmdSigFile.Picture, form.cmdVarFile.Picture);
}

// --- Window, dialog and tray menu --------------------------------------------

TEST_F(MainFormTest, WindowStartsHiddenWithItsDesignCaption) {
    EXPECT_EQ(form.Caption.get(), U"Velmo");
    EXPECT_FALSE(form.Visible);
    EXPECT_EQ(form.ActiveControl(), nullptr);
    // The window icon and the About picture are one and the same.
    EXPECT_EQ(form.Icon, form.imgIcon.Picture);
    // The fixed client area is a whole number of pixels.
    EXPECT_EQ(MainForm::kClientWidth % MainForm::kTwipsPerPixel, 0);
    EXPECT_EQ(MainForm::kClientHeight % MainForm::kTwipsPerPixel, 0);
    EXPECT_LE(form.Tabs.Position.width, MainForm::kClientWidth);
}

TEST_F(MainFormTest, FileDialogHasItsTitle) {
    EXPECT_EQ(form.CommonDialog1.DialogTitle, U"Find The Signature File...");
    EXPECT_FALSE(form.CommonDialog1.Visible);
}

TEST_F(MainFormTest, TrayMenuTreeInOrder) {
    struct Item {
        std::string name;
        std::string parent;
        Text caption;
        bool visible;
    };
    std::vector<Item> actual;
    for (Control* c : form.Controls()) {
        auto* item = c->As<MenuItem>();
        if (item == nullptr)
            continue;
        actual.push_back({c->Name, c->Container ? c->Container->Name : "", item->Caption.get(),
                          item->Visible.get()});
    }
    const std::vector<Item> expected = {
        {"TrayMenu", "", U"&TrayMenu", false},
        {"mnuopen", "TrayMenu", U"&Open Window", true},
        {"mnuPut", "TrayMenu", U"&Put on Tray", false},
        {"mnuSep1", "TrayMenu", U"-", true},
        {"mnuAutoPaste", "TrayMenu", U"&Load Clipboard", true},
        {"mnuClipSig", "mnuAutoPaste", U"Full &Signature", true},
        {"mnuClipVar", "mnuAutoPaste", U"&Variable Part", true},
        {"mnuClipFixed", "mnuAutoPaste", U"&Fixed Part", true},
        {"mnusep2", "TrayMenu", U"-", true},
        {"mnuRandomize", "TrayMenu", U"&Randomize", true},
        {"mnuHelp", "TrayMenu", U"&Help", true},
        {"mnuSep4", "TrayMenu", U"-", true},
        {"mnuExit", "TrayMenu", U"&Quit", true},
    };
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_EQ(actual[i].name, expected[i].name);
        EXPECT_EQ(actual[i].parent, expected[i].parent);
        EXPECT_EQ(actual[i].caption, expected[i].caption);
        EXPECT_EQ(actual[i].visible, expected[i].visible);
    }
    EXPECT_EQ(NamesWhere(form,
                         [](Control& c) {
                             auto* m = c.As<MenuItem>();
                             return m != nullptr && m->IsSeparator();
                         }),
              (std::set<std::string>{"mnuSep1", "mnusep2", "mnuSep4"}));
}

}  // namespace
}  // namespace velmo

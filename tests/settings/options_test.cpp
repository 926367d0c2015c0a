#include "ui/options.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace velmo {
namespace {

class OptionsTest : public ::testing::Test, protected testing::TestApp {
  protected:
    MainForm& form = app.form;

    // What a save would store for the current options.
    Text Packed() const { return EncodeProgramValues(ProgramFlags(ReadOptions(app.form))); }
};

TEST_F(OptionsTest, DefaultsEncodeAsTheKnownString) {
    SetDefaults(app);
    EXPECT_EQ(Packed(), DefaultProgramValues);
    EXPECT_EQ(form.Slider.Value.get(), 5);
    EXPECT_EQ(form.chkFile.Value.get(), 0);
    EXPECT_TRUE(form.optTBRepeat.Value);
    EXPECT_EQ(form.txtTBLike.Text.get().size(), 41u);
    EXPECT_EQ(form.cmbFixWidth.Text.get(), U"60");
    EXPECT_EQ(form.cmbSBSIndent.Text.get(), U"1");
    EXPECT_FALSE(form.optBBLike.Value || form.optBBRepeat.Value || form.optBBSame.Value);
    EXPECT_TRUE(form.optSBSSepNone.Value);
    EXPECT_FALSE(form.optSBSBlankLine.Value);
    EXPECT_TRUE(form.optText.Value);  // untouched initial state
}

TEST_F(OptionsTest, SetDefaultsRunsChangeHandlingInItsOrder) {
    std::vector<std::string> order;
    for (Control* c : form.Controls()) {
        if (auto* box = c->As<CheckBox>())
            box->Click += [&order, box] { order.push_back(box->Name); };
    }
    form.chkBorder.Value = 0;  // so that SetDefaults changes it
    order.clear();
    SetDefaults(app);
    // Only the boxes whose value changes: chkFile starts checked in the window.
    const std::vector<std::string> expected = {"chkFile", "chkVar", "chkBorder", "chkSBSRightSame"};
    EXPECT_EQ(order, expected);
}

TEST_F(OptionsTest, DefaultStringAppliesBackToTheSameFields) {
    SetDefaults(app);
    form.optHTML.Value = true;
    form.Slider.Value = 2;
    form.chkBorder.Value = 0;
    app.ProgramValues = Text(DefaultProgramValues);
    app.SettingValues = {U"60",
                         Text(DefaultLikeBorder),
                         U"*",
                         U"60",
                         Text(DefaultLikeBorder),
                         U"*",
                         U"*",
                         U"1",
                         U"*",
                         U"",
                         U"",
                         U""};
    ApplyOptions(app);
    EXPECT_EQ(Packed(), DefaultProgramValues);
    EXPECT_TRUE(form.optText.Value);
    EXPECT_EQ(form.Slider.Value.get(), 5);
}

TEST_F(OptionsTest, EveryOptionSurvivesAnEncodeAndApply) {
    SetDefaults(app);
    form.Slider.Value = 8;
    form.chkClip.Value = 1;
    form.chkFile.Value = 1;
    form.chkVar.Value = 0;
    form.chkFixed.Value = 1;
    form.chkTray.Value = 1;
    form.optOrderVF.Value = true;
    form.chkBorder.Value = 0;
    form.chkSpace.Value = 1;
    form.optTBLike.Value = true;
    form.optBBRepeat.Value = true;
    form.optSBSRightLike.Value = true;
    form.optSBSSameBottom.Value = true;
    form.chkSBSRightSame.Value = 0;
    form.optRTF.Value = true;
    const Text packed = Packed();
    EXPECT_EQ(packed, U" 8 1 1 0 1 1-1 0 1-1 0-1 0-1 0 0 0-1 0 3");

    testing::TestApp other;
    SetDefaults(other.app);
    other.app.ProgramValues = packed;
    other.app.SettingValues = {U"80",
                               U"  " + Repeat(U"~", 45) + U" ",
                               U"=-",
                               U"100",
                               U" bottom ",
                               U"#",
                               U"<<",
                               U"3",
                               U">>",
                               U"/home/a/sig.txt",
                               U"/home/a/q.txt",
                               U"/home/a/Fixed.fxt"};
    // Applying sets the repeat text, whose change handling selects "Repeat".
    ApplyOptions(other.app);
    const MainForm& g = other.app.form;
    EXPECT_EQ(EncodeProgramValues(ProgramFlags(ReadOptions(other.app.form))), packed);
    EXPECT_TRUE(g.optTBLike.Value) << "a stored Like top border comes back as Like";
    EXPECT_FALSE(g.optTBRepeat.Value);
    EXPECT_EQ(g.cmbFixWidth.Text.get(), U"80");
    EXPECT_EQ(g.txtTBLike.Text.get(), Repeat(U"~", 45));
    EXPECT_EQ(g.txtTBRepeat.Text.get(), U"=-");
    EXPECT_EQ(g.cmbWidth.Text.get(), U"100");
    EXPECT_EQ(g.txtBBLike.Text.get(), U" bottom ");
    EXPECT_EQ(g.txtSBSLeftLike.Text.get(), U"<<");
    EXPECT_EQ(g.cmbSBSIndent.Text.get(), U"3");
    EXPECT_EQ(g.txtSBSRightLike.Text.get(), U">>");
    EXPECT_EQ(other.app.SignatureFilePath, U"/home/a/sig.txt");
    EXPECT_EQ(other.app.VariableFilePath, U"/home/a/q.txt");
    EXPECT_EQ(other.app.FixedTextFilePath, U"/home/a/Fixed.fxt");
}

TEST_F(OptionsTest, PathsAreInPlaceBeforeAnyControlChanges) {
    SetDefaults(app);
    Text seen;
    form.chkFile.Click += [&] { seen = app.SignatureFilePath; };
    app.ProgramValues = U" 5 0 1 1 0 0 0 1 0 0 0 0 0 0-1 0 0 0 1 1";
    app.SettingValues[9] = U"/tmp/sig.txt";
    ApplyOptions(app);
    EXPECT_EQ(seen, U"/tmp/sig.txt");
}

TEST_F(OptionsTest, DerivedButtonsAndAnyNonZeroSelects) {
    SetDefaults(app);
    form.optOrderVF.Value = true;
    form.optTBLike.Value = true;
    // Field 6 and 9 zero select optOrderFF and optTBRepeat; 1 as well as -1 selects.
    app.ProgramValues = U" 5 0 0 1 0 0 0 1 0 0 1 0 0 0 1 0 0 0 1 0";
    ApplyOptions(app);
    EXPECT_TRUE(form.optOrderFF.Value);
    EXPECT_TRUE(form.optTBRepeat.Value);
    EXPECT_TRUE(form.optBBLike.Value);
    EXPECT_TRUE(form.optSBSSepNone.Value);
}

TEST_F(OptionsTest, OutputTypeZeroLeavesTheButtonsAsTheyWere) {
    SetDefaults(app);
    form.optHTML.Value = true;
    app.ProgramValues = U" 5 0 0 1 0 0 0 1 0 0 0 0 0 0-1 0 0 0 1 0";
    ApplyOptions(app);
    EXPECT_TRUE(form.optHTML.Value);
    EXPECT_FALSE(form.optText.Value);
}

TEST_F(OptionsTest, StoredTopLikeLosesBlanksBottomLikeKeepsThem) {
    SetDefaults(app);
    app.ProgramValues = Text(DefaultProgramValues);
    app.SettingValues[1] = U"  ==== top ====  ";
    app.SettingValues[4] = U"  ==== bottom ====  ";
    ApplyOptions(app);
    EXPECT_EQ(form.txtTBLike.Text.get(), U"==== top ====");
    EXPECT_EQ(form.txtBBLike.Text.get(), U"  ==== bottom ====  ");
}

TEST_F(OptionsTest, OutOfRangeNumbersTakeTheDefaultOrKeepTheCheckBox) {
    // Not the defaults, so that keeping them is told from taking the defaults.
    form.Slider.Value = 2;
    form.chkClip.Value = 1;
    form.cmbFixWidth.Text = U"80";
    form.cmbWidth.Text = U"100";
    form.cmbSBSIndent.Text = U"3";
    // Slider 9, check box 7, an unknown width, an empty width (a lost value:
    // the text would go unwrapped) and an unknown indent.
    app.ProgramValues = U" 9 7 0 1 0 0 0 1 0 0 0 0 0 0-1 0 0 0 1 1";
    app.SettingValues = {U"55", U"", U"*", U"", U"", U"*", U"*", U"9", U"*", U"", U"", U""};
    ApplyOptions(app);
    EXPECT_EQ(form.Slider.Value.get(), 5);
    EXPECT_EQ(form.chkClip.Value.get(), 1);
    EXPECT_EQ(form.cmbFixWidth.Text.get(), U"60");
    EXPECT_EQ(form.cmbWidth.Text.get(), U"60");
    EXPECT_EQ(form.cmbSBSIndent.Text.get(), U"1");
    app.ProgramValues[1] = U'0';  // the lowest position is in range
    ApplyOptions(app);
    EXPECT_EQ(form.Slider.Value.get(), 0);
}

TEST_F(OptionsTest, MalformedPackedStringsAreTreatedAsAbsent) {
    for (const Text& bad : {Text(U" 5 0"), Text(DefaultProgramValues) + U" 1",
                            Text(U" 5 0 0 1 0 0 0 1 0 0 0 0 0 0-1 0 0 0 1x"),
                            Text(U"ab 0 0 1 0 0 0 1 0 0 0 0 0 0-1 0 0 0 1 1")}) {
        EXPECT_FALSE(DecodeProgramValues(bad).has_value()) << ToUtf8(bad);
        testing::TestApp t;
        t.app.form.chkBorder.Value = 0;
        t.app.ProgramValues = bad;
        t.app.SettingValues[9] = U"/x/sig.txt";
        ApplyOptions(t.app);
        EXPECT_EQ(t.app.form.chkBorder.Value.get(), 1) << "defaults applied";
        EXPECT_EQ(t.app.SignatureFilePath, U"");
    }
}

TEST_F(OptionsTest, OptionNamesAreControlsOfTheWindow) {
    for (std::string_view name : SignatureOptionNames) {
        EXPECT_NE(form.Find(name), nullptr) << name;
    }
}

}  // namespace
}  // namespace velmo

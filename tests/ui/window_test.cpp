#include "ui/window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/options.h"
#include "support/fakes.h"

namespace velmo {
namespace {

Text Number(int n) {
    return ToText(n);
}

std::vector<Text> Paragraphs(const Text& text) {
    std::vector<Text> out;
    const Text gap = U"\r\n\r\n";
    size_t start = 0;
    for (size_t found; (found = text.find(gap, start)) != Text::npos; start = found + gap.size())
        out.push_back(text.substr(start, found - start));
    out.push_back(text.substr(start));
    return out;
}

class WindowTest : public ::testing::Test, protected testing::TestApp {
  protected:
    MainForm& form = app.form;
};

TEST_F(WindowTest, LoadShowsTheVersionInBothForms) {
    Form_Load(app);
    const Text major = Number(VELMO_VERSION_MAJOR);
    const Text minor = Number(VELMO_VERSION_MINOR);
    const Text patch = Number(VELMO_VERSION_PATCH);
    EXPECT_EQ(form.lblVersion.Caption.get(), U"Version " + major + U"." + minor + U"." + patch);
    EXPECT_EQ(form.Caption.get(), U"Velmo - " + major + U"." + minor + patch);
}

TEST_F(WindowTest, LoadSelectsTheFirstPageAddsTheIconAndStaysHidden) {
    form.Tabs.Tab = 4;
    int timesShown = 0;
    form.Changed += [&](Control* c, Property p) {
        if (c == nullptr && p == Property::Visible && form.Visible)
            ++timesShown;
    };
    Form_Load(app);
    EXPECT_EQ(form.Tabs.Tab.get(), 0);
    EXPECT_EQ(icon.adds, 1);
    EXPECT_EQ(icon.lastIcon, "icon");
    EXPECT_EQ(icon.lastTip, U"Velmo");
    EXPECT_FALSE(form.Visible);
    EXPECT_EQ(timesShown, 0);
}

TEST_F(WindowTest, LoadFillsFourParagraphsOfDescription) {
    Form_Load(app);
    const std::vector<Text> paragraphs = Paragraphs(form.lblDescription.Caption);
    ASSERT_EQ(paragraphs.size(), 4u);
    for (const Text& p : paragraphs) {
        EXPECT_FALSE(p.empty());
        EXPECT_NE(p.front(), U'\r');
        EXPECT_NE(p.back(), U'\n');
    }
    EXPECT_EQ(paragraphs[3].rfind(U"Revised: ", 0), 0u);
    EXPECT_NE(paragraphs[3].find(U"velmo@example.org"), Text::npos);
    EXPECT_NE(paragraphs[3].find(form.email.Caption.get()), Text::npos);
}

TEST_F(WindowTest, LoadMatchesTheEditorsAndTheScheduleToTheirBoxes) {
    ASSERT_EQ(form.chkVar.Value.get(), 0);
    ASSERT_EQ(form.chkFixed.Value.get(), 0);
    Form_Load(app);
    EXPECT_FALSE(form.txtVar.Enabled);
    EXPECT_FALSE(form.Slider.Enabled);
    EXPECT_EQ(form.lblFreq.Caption.get(), U"<< Disabled >>");
    EXPECT_FALSE(form.txtFixed.Enabled);
    EXPECT_EQ(form.Slider.Tag.get(), U"0");
}

TEST_F(WindowTest, LoadLeavesTheBorderControlsAsDesigned) {
    Form_Load(app);
    EXPECT_TRUE(form.chkSBSRightSame.Enabled);
    EXPECT_TRUE(form.txtBBLike.Enabled);
    EXPECT_FALSE(form.optBBRepeat.Enabled);
    EXPECT_FALSE(form.frmTB.Enabled);
    EXPECT_TRUE(form.cmbFixWidth.Visible);
}

TEST_F(WindowTest, OnlyTheVariablePagePreviewRefusesTyping) {
    app.AppPath = U"/opt/velmo/";
    Form_Load(app);
    SetDefaults(app);
    for (int key : {int{'a'}, int{'Z'}, int{' '}, 8, 13})
        EXPECT_EQ(form.txtSignature.PressKey(key), 0) << key;
    EXPECT_EQ(form.txtSignature.Text.get(), U"");

    for (TextBox* preview : {&form.txtSignature1, &form.txtSignature2, &form.txtSignature3}) {
        for (char32_t key : Text(U"typed")) {
            if (preview->PressKey(static_cast<int>(key)))
                preview->Text = preview->Text.get() + key;
        }
        EXPECT_EQ(preview->Text.get(), U"typed") << preview->Name;
    }

    // The next build puts the signature back everywhere.
    form.cmdApply2.Click();
    for (TextBox* preview :
         {&form.txtSignature, &form.txtSignature1, &form.txtSignature2, &form.txtSignature3})
        EXPECT_EQ(preview->Text.get(), app.SignatureText) << preview->Name;
    EXPECT_NE(app.SignatureText, U"");
}

}  // namespace
}  // namespace velmo

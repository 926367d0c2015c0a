#include "ui/about.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/fakes.h"
#include "ui/window.h"

namespace velmo {
namespace {

class AboutTest : public ::testing::Test, protected testing::TestApp {
  protected:
    void SetUp() override {
        Form_Load(app);
        form.Tabs.Tab = 5;
    }

    static void Hover(Control& control) { control.MouseMove(0, 0, 120, 60); }

    static bool Hovered(const Label& link) {
        return link.FontUnderline && link.ForeColor.get() == colors::Blue;
    }
    static bool Plain(const Label& link) {
        return !link.FontUnderline && link.ForeColor.get() == colors::Black;
    }

    MainForm& form = app.form;
};

TEST_F(AboutTest, ALinkLooksHoveredUntilThePointerReachesThePage) {
    const std::uint32_t designColour = form.ulrHomePage.ForeColor;
    Hover(form.email);
    EXPECT_TRUE(Hovered(form.email));
    EXPECT_FALSE(form.ulrHomePage.FontUnderline);
    EXPECT_EQ(form.ulrHomePage.ForeColor.get(), designColour);

    Hover(form.Tabs);
    EXPECT_TRUE(Plain(form.email));
    EXPECT_TRUE(Plain(form.ulrHomePage));

    Hover(form.ulrHomePage);
    EXPECT_TRUE(Hovered(form.ulrHomePage));
    EXPECT_TRUE(Plain(form.email));
    Hover(form.Tabs);
    EXPECT_TRUE(Plain(form.ulrHomePage));
}

TEST_F(AboutTest, MovingStraightFromOneLinkToTheOtherKeepsBothHovered) {
    Hover(form.email);
    Hover(form.ulrHomePage);
    EXPECT_TRUE(Hovered(form.email));
    EXPECT_TRUE(Hovered(form.ulrHomePage));
}

TEST_F(AboutTest, TheOtherLabelsOfThePageHaveNoHover) {
    Hover(form.email);
    int changes = 0;
    form.Changed += [&](Control*, Property) { ++changes; };
    for (Label* label : {&form.lblHTML, &form.lblVersion, &form.lblDescription})
        Hover(*label);
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(Hovered(form.email));
}

TEST_F(AboutTest, ThePageBackgroundResetsTheLinksFromAnyPage) {
    Hover(form.email);
    Hover(form.ulrHomePage);
    form.Tabs.Tab = 1;
    Hover(form.Tabs);
    EXPECT_TRUE(Plain(form.email));
    EXPECT_TRUE(Plain(form.ulrHomePage));
}

TEST_F(AboutTest, ClickingALinkOpensWhatItShows) {
    form.email.Click();
    form.ulrHomePage.Click();
    EXPECT_EQ(browser.opened,
              (std::vector<Text>{U"mailto:velmo@example.org", U"https://velmo.example.org/"}));
    EXPECT_EQ(browser.opened[0], U"mailto:" + form.email.Caption.get());
    EXPECT_EQ(browser.opened[1], form.ulrHomePage.Caption.get());
}

}  // namespace
}  // namespace velmo

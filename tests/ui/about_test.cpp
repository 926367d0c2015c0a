#include "ui/about.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/fakes.h"
#include "ui/window.h"

namespace velmo {
namespace {

enum Look { Design, Hovered, Plain };

class AboutTest : public ::testing::Test, protected testing::TestApp {
  protected:
    void SetUp() override {
        Form_Load(app);
        form.Tabs.Tab = 5;
    }

    static Look LookOf(const Label& link) {
        if (link.FontUnderline && link.ForeColor.get() == colors::Blue)
            return Hovered;
        return !link.FontUnderline && link.ForeColor.get() == colors::Black ? Plain : Design;
    }

    MainForm& form = app.form;
};

// A link looks hovered from the pointer's first move over it until the
// pointer reaches the page's background; other labels have no hover.
TEST_F(AboutTest, LinksLookHoveredUntilThePointerReachesThePage) {
    const struct {
        Control* over;
        Look email;
        Look homePage;
    } steps[] = {
        {&form.email, Hovered, Design},           {&form.Tabs, Plain, Plain},
        {&form.ulrHomePage, Plain, Hovered},      {&form.email, Hovered, Hovered},
        {&form.lblHTML, Hovered, Hovered},        {&form.lblVersion, Hovered, Hovered},
        {&form.lblDescription, Hovered, Hovered}, {&form.Tabs, Plain, Plain},
    };
    for (const auto& step : steps) {
        step.over->MouseMove(0, 0, 120, 60);
        EXPECT_EQ(LookOf(form.email), step.email) << step.over->Name;
        EXPECT_EQ(LookOf(form.ulrHomePage), step.homePage) << step.over->Name;
    }
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

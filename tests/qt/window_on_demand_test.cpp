#include "qt/window_on_demand.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>
#include <vector>

#include "support/fakes.h"
#include "ui/startup.h"

namespace velmo {
namespace {

class WindowOnDemandTest : public ::testing::Test {
  protected:
    testing::TestApp t;
    MainForm& form = t.app.form;
    std::vector<MainWindow*> built;
    std::unique_ptr<WindowOnDemand> lazy = std::make_unique<WindowOnDemand>(
        t.app, [this](MainWindow* window) { built.push_back(window); });
};

TEST_F(WindowOnDemandTest, NothingIsBuiltDuringStartUp) {
    form.Show();
    form.Hide();
    form.Show();
    EXPECT_EQ(lazy->window(), nullptr);
    EXPECT_TRUE(built.empty());

    lazy->StartUpDone();
    ASSERT_NE(lazy->window(), nullptr);
    EXPECT_EQ(built, std::vector<MainWindow*>{lazy->window()});
    EXPECT_TRUE(lazy->window()->isVisible());
}

TEST_F(WindowOnDemandTest, AHiddenStartBuildsTheWindowWhenItIsFirstShownAndOnlyOnce) {
    ASSERT_TRUE(Main(t.app));
    form.Hide();
    lazy->StartUpDone();
    EXPECT_EQ(lazy->window(), nullptr);

    form.Show();
    ASSERT_NE(lazy->window(), nullptr);
    EXPECT_TRUE(lazy->window()->isVisible());
    EXPECT_EQ(lazy->window()->windowTitle().toStdString(), ToUtf8(form.Caption.get()));
    MainWindow* first = lazy->window();

    form.Hide();
    EXPECT_FALSE(first->isVisible());
    form.Show();
    EXPECT_EQ(lazy->window(), first);
    EXPECT_EQ(built.size(), 1u);
}

TEST_F(WindowOnDemandTest, MinimizingBuildsItToo) {
    lazy->StartUpDone();
    form.Minimized = true;
    ASSERT_NE(lazy->window(), nullptr);
    EXPECT_EQ(built.size(), 1u);
}

TEST_F(WindowOnDemandTest, TheModelOutlivesIt) {
    lazy->StartUpDone();
    form.Show();
    ASSERT_NE(lazy->window(), nullptr);
    lazy.reset();
    // Observers of the model must not reach the window or its builder now.
    form.Hide();
    form.Show();
    form.Caption = U"still fine";
    EXPECT_EQ(built.size(), 1u);
}

}  // namespace
}  // namespace velmo

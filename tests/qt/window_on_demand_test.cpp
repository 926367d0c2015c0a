#include "qt/window_on_demand.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "support/fakes.h"

namespace velmo {
namespace {

// Start-up builds nothing, whatever it shows; after it the window is built
// once, when the model is first shown or minimized. The model outlives it.
TEST(WindowOnDemandTest, BuiltOnceWhenFirstShownOrMinimizedAfterStartUp) {
    const struct {
        bool shownAtEnd;  // of start-up
        std::function<void(MainForm&)> after;
    } rows[] = {
        {true, [](MainForm&) {}},
        {false, [](MainForm& f) { f.Show(); }},
        {false, [](MainForm& f) { f.Minimized = true; }},
    };
    for (const auto& row : rows) {
        testing::TestApp t;
        MainForm& form = t.app.form;
        std::vector<MainWindow*> built;
        auto lazy = std::make_unique<WindowOnDemand>(
            t.app, [&built](MainWindow* window) { built.push_back(window); });
        form.Show();
        if (!row.shownAtEnd)
            form.Hide();
        EXPECT_EQ(lazy->window(), nullptr);
        lazy->StartUpDone();
        EXPECT_EQ(lazy->window() != nullptr, row.shownAtEnd);
        row.after(form);
        ASSERT_NE(lazy->window(), nullptr);
        EXPECT_EQ(built, std::vector<MainWindow*>{lazy->window()});
        EXPECT_TRUE(lazy->window()->isVisible());
        form.Hide();
        form.Show();
        lazy.reset();
        // Observers of the model must not reach the window or its builder now.
        form.Hide();
        form.Show();
        form.Caption = U"still fine";
        EXPECT_EQ(built.size(), 1u);
    }
}

}  // namespace
}  // namespace velmo

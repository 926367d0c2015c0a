#include "win32/window_on_demand.h"

#include "ui/app.h"

namespace velmo {

WindowOnDemand::WindowOnDemand(App& app, std::function<void(MainWindow*)> built)
    : app_(app), built_(std::move(built)), trigger_(app.form, [this] { Build(); }) {}

// The trigger goes before the window, with the members in reverse order.
WindowOnDemand::~WindowOnDemand() = default;

void WindowOnDemand::StartUpDone() {
    trigger_.StartUpDone();
}

void WindowOnDemand::Build() {
    window_ = std::make_unique<MainWindow>(app_);
    if (built_)
        built_(window_.get());
}

}  // namespace velmo

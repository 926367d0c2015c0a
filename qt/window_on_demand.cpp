#include "qt/window_on_demand.h"

#include "ui/app.h"

namespace velmo {

WindowOnDemand::WindowOnDemand(App& app, std::function<void(MainWindow*)> built)
    : app_(app), built_(std::move(built)) {
    changed_ = app_.form.Changed.Connect([this](Control* control, Property property) {
        if (starting_ || window_ || control != nullptr)
            return;
        if ((property == Property::Visible && app_.form.Visible) ||
            (property == Property::Minimized && app_.form.Minimized)) {
            Build();
        }
    });
}

// The handler stops before the window goes: one run while it goes would see
// no window and build another.
WindowOnDemand::~WindowOnDemand() {
    changed_.Disconnect();
    window_.reset();
}

void WindowOnDemand::StartUpDone() {
    starting_ = false;
    if (!window_ && (app_.form.Visible || app_.form.Minimized))
        Build();
}

void WindowOnDemand::Build() {
    window_ = std::make_unique<MainWindow>(app_);
    if (built_)
        built_(window_.get());
}

}  // namespace velmo

#include "qt/window_on_demand.h"

#include "ui/app.h"

namespace velmo {

WindowOnDemand::WindowOnDemand(App& app, std::function<void(MainWindow*)> built)
    : app_(app), built_(std::move(built)) {
    const std::weak_ptr<const bool> alive = alive_;
    app_.form.Changed += [this, alive](Control* control, Property property) {
        if (alive.expired() || starting_ || window_ || control != nullptr)
            return;
        if ((property == Property::Visible && app_.form.Visible) ||
            (property == Property::Minimized && app_.form.Minimized)) {
            Build();
        }
    };
}

// The window goes before the members its observers look at.
WindowOnDemand::~WindowOnDemand() {
    alive_.reset();
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

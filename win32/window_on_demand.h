#pragma once

// Builds the main window once start-up is done, and then only when the model
// is first shown: the signature does not wait for the window, and a start in
// the notification area builds none until the window is opened.

#include <functional>
#include <memory>

#include "ui/front_end.h"
#include "win32/main_window.h"

namespace velmo {

struct App;

class WindowOnDemand {
  public:
    // `built` hears of the window when it has been built.
    WindowOnDemand(App& app, std::function<void(MainWindow*)> built);
    ~WindowOnDemand();
    WindowOnDemand(const WindowOnDemand&) = delete;
    WindowOnDemand& operator=(const WindowOnDemand&) = delete;

    // Start-up is over: builds the window now if the model is shown.
    void StartUpDone();

    // The window, or null while none has been needed.
    MainWindow* window() const { return window_.get(); }

  private:
    void Build();

    App& app_;
    std::function<void(MainWindow*)> built_;
    std::unique_ptr<MainWindow> window_;
    BuildOnFirstShow trigger_;
};

}  // namespace velmo

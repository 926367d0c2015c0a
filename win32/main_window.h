#pragma once

// The window drawn from the window model with Win32 controls.

#include <windows.h>

namespace velmo {

struct App;

class MainWindow {
  public:
    explicit MainWindow(App& app);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND Handle() const { return window_; }

    // Keyboard navigation (Tab, accelerators, Enter, Escape) for a message of
    // the message loop; true when the window used it.
    bool TranslateDialogKeys(MSG& message);

  private:
    App& app_;
    HWND window_ = nullptr;
};

}  // namespace velmo

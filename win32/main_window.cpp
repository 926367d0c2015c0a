#include "win32/main_window.h"

#include "ui/app.h"

namespace velmo {

MainWindow::MainWindow(App& app) : app_(app) {}

MainWindow::~MainWindow() {
    if (window_ != nullptr)
        DestroyWindow(window_);
}

bool MainWindow::TranslateDialogKeys(MSG& message) {
    return window_ != nullptr && IsDialogMessageW(window_, &message);
}

}  // namespace velmo

// Velmo's entry point: the platform services, start-up, then the window.

#include <QApplication>
#include <memory>

#include "core/app.h"
#include "core/posix_file_store.h"
#include "core/posix_platform.h"
#include "core/startup.h"
#include "settings/reg_file_store.h"
#include "ui/qt/main_window.h"
#include "ui/qt/pictures.h"
#include "ui/qt/qt_ports.h"

int main(int argc, char** argv) {
    using namespace velmo;
    QApplication qt(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmo"));
    QApplication::setWindowIcon(ProgramIcon());
    // A tray program lives on when its window or a message box closes.
    QApplication::setQuitOnLastWindowClosed(false);

    QtMessageBox messages;
    QtFileDialog dialog;
    QtClipboard clipboard;
    PosixClock clock;
    StandardRandom random;
    PosixFileStore files;
    RegFileStore settings(files, RegFileStore::DefaultPath());
    BootTimer timer;
    LockFileInstance instance;
    QtNotifyIcon icon;
    PosixProgram program;
    QtBrowser browser;
    App app({messages, dialog, clipboard, clock, random, files, settings, timer, instance, icon,
             program, browser});

    icon.Attach(app);
    SignalHandler onSignal([&app] { app.form.btnClose.Click(); });

    // The window is built once start-up is done and only when it is first
    // shown: the signature does not wait for a hundred widgets, and a start
    // in the notification area builds none until the window is opened.
    std::unique_ptr<MainWindow> window;
    bool starting = true;
    auto buildWindow = [&] {
        window = std::make_unique<MainWindow>(app);
        messages.SetWindow(window.get());
        dialog.SetWindow(window.get());
    };
    dialog.AcceptNewNamesFor(app.form.CommonDialog1.DialogTitle);
    app.form.Changed += [&](Control* control, Property property) {
        if (control == nullptr && property == Property::Visible && app.form.Visible && !window &&
            !starting) {
            buildWindow();
        }
    };

    if (!Main(app))
        return 0;
    starting = false;
    if (app.form.Visible)
        buildWindow();
    return QApplication::exec();
}

// Velmo's entry point: the platform services, start-up, then the window.

#include <QApplication>
#include <cstdio>

#include "core/app.h"
#include "core/posix_file_store.h"
#include "core/posix_platform.h"
#include "core/startup.h"
#include "settings/reg_file_store.h"
#include "ui/qt/pictures.h"
#include "ui/qt/qt_ports.h"
#include "ui/qt/window_on_demand.h"

int main(int argc, char** argv) {
    using namespace velmo;
    // The settings and the user's files are kept below the home folder;
    // without one they would land at the root of the file system.
    if (HomeFolder().empty()) {
        std::fputs(
            "Velmo cannot start: there is no home folder for this user (HOME is not "
            "an absolute path and the system has none either). Nothing was changed.\n",
            stderr);
        return 1;
    }
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

    dialog.AcceptNewNamesFor(app.form.CommonDialog1.DialogTitle);
    WindowOnDemand window(app, [&](MainWindow* built) {
        messages.SetWindow(built);
        dialog.SetWindow(built);
    });

    if (!Main(app))
        return 0;
    window.StartUpDone();
    return QApplication::exec();
}

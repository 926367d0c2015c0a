// Velmo's entry point: the platform services, start-up, then the window.

#include <QApplication>

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

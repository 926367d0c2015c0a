// Velmo's entry point: the platform services, the window, then start-up.

#include <QApplication>

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

    MainWindow window(app);
    messages.SetWindow(&window);
    dialog.SetWindow(&window);
    dialog.AcceptNewNamesFor(app.form.CommonDialog1.DialogTitle);
    icon.Attach(app);
    SignalHandler onSignal([&app] { app.form.btnClose.Click(); });

    if (!Main(app))
        return 0;
    return QApplication::exec();
}

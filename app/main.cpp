// Velmo's entry point: the platform services, start-up, then the window.

#include <QApplication>
#include <cstdio>
#include <cstring>
#include <string>

#include "domain/profile.h"
#include "domain/version.h"
#include "platform/native.h"
#include "platform/random.h"
#include "qt/pictures.h"
#include "qt/qt_ports.h"
#include "qt/wake_ups.h"
#include "qt/window_on_demand.h"
#include "ui/app.h"
#include "ui/startup.h"

namespace {

constexpr const char* kUsage =
    "Usage: velmo [--profile NAME] [--help] [--version] [Qt options]\n"
    "Keeps an e-mail signature fresh: a fixed part and a quotation picked at\n"
    "random, written to the signature file; lives in the notification area.\n"
    "\n"
    "  --profile NAME  run the profile NAME: its own options, texts, signature\n"
    "                  file and icon (letters, digits, '.', '_' and '-')\n"
    "  --help          show this help and exit\n"
    "  --version       show the version and exit\n"
    "\n"
    "Qt's own options (-platform, -display, -style, ...) are accepted.\n"
    "Options: ~/.config/Velmo/User.reg. Quotes and fixed text: ~/.local/share/Velmo/.\n"
    "A profile's: in profiles/NAME/ in each of those folders.\n"
    "See velmo(1).\n";

// Qt's own command-line options, which QApplication takes out of the
// arguments; the first group is followed by a value.
constexpr const char* kQtOptionsWithValue[] = {"platform",
                                               "platformpluginpath",
                                               "platformtheme",
                                               "plugin",
                                               "qwindowgeometry",
                                               "qwindowtitle",
                                               "qwindowicon",
                                               "display",
                                               "geometry",
                                               "title",
                                               "name",
                                               "style",
                                               "stylesheet",
                                               "session",
                                               "visual",
                                               "cmap"};
constexpr const char* kQtOptions[] = {"reverse", "widgetcount",   "nograb",     "dograb",
                                      "sync",    "qmljsdebugger", "testability"};

bool OneOf(const char* name, std::size_t length, const auto& names) {
    for (const char* n : names)
        if (std::strlen(n) == length && std::strncmp(n, name, length) == 0)
            return true;
    return false;
}

// Answers --help and --version, takes --profile, and rejects what neither
// Velmo nor Qt knows and a name that is no profile name, before any file is
// touched or window-system connection made. Returns the exit status, or -1
// to go on starting.
int CommandLine(int argc, char** argv, std::string& profile) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(arg, "--version") == 0) {
            std::printf("velmo %s\n", velmo::kVersionText);
            return 0;
        }
    }
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--profile") == 0 || std::strncmp(arg, "--profile=", 10) == 0) {
            const char* value = arg[9] == '=' ? arg + 10 : (i + 1 < argc ? argv[++i] : nullptr);
            if (value == nullptr) {
                std::fputs("velmo: --profile needs a name (try velmo --help)\n", stderr);
                return 2;
            }
            if (const std::string refusal = velmo::ProfileNameRefusal(value); !refusal.empty()) {
                std::fprintf(stderr, "velmo: %s\n", refusal.c_str());
                return 2;
            }
            profile = value;
            continue;
        }
        const char* name = arg[0] == '-' ? arg + (arg[1] == '-' ? 2 : 1) : nullptr;
        if (name != nullptr && *name != '\0') {
            const char* equals = std::strchr(name, '=');
            const std::size_t length =
                equals ? static_cast<std::size_t>(equals - name) : std::strlen(name);
            if (OneOf(name, length, kQtOptions))
                continue;
            if (OneOf(name, length, kQtOptionsWithValue) && (equals || ++i < argc))
                continue;
        }
        std::fprintf(stderr, "velmo: unknown argument '%s' (try velmo --help)\n", arg);
        return 2;
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace velmo;
    std::string profile;
    if (const int status = CommandLine(argc, argv, profile); status >= 0)
        return status;
    // The settings and the user's files are kept below the home folder;
    // without one they would land at the root of the file system.
    if (!HomeFolderKnown()) {
        std::fputs(
            "Velmo cannot start: there is no home folder for this user (HOME is not "
            "an absolute path and the system has none either). Nothing was changed.\n",
            stderr);
        return 1;
    }
    QApplication qt(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmo"));
    // Wayland shells find the program's name and icon through its desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("velmo"));
    QApplication::setWindowIcon(ProgramIcon());
    // A tray program lives on when its window or a message box closes.
    QApplication::setQuitOnLastWindowClosed(false);

    QtMessageBox messages;
    QtFileDialog dialog;
    QtClipboard clipboard;
    const std::unique_ptr<ClockPort> clock = MakeClock();
    StandardRandom random;
    const std::unique_ptr<FileStorePort> files = MakeFileStore();
    const std::unique_ptr<SettingsStorePort> settings = MakeSettingsStore(*files, profile);
    QtTimer timer;
    const std::unique_ptr<SingleInstancePort> instance = MakeInstanceGuard(profile);
    QtNotifyIcon icon;
    const std::unique_ptr<ProgramPort> program = MakeProgram(profile);
    QtBrowser browser;
    QtEventLoop loop;
    App app({messages, dialog, clipboard, *clock, random, *files, *settings, timer, *instance, icon,
             *program, browser, loop});

    icon.Attach(app);
    // SIGINT and SIGTERM end the program as Exit does.
    QtEndRequests onEndRequest([&app] { app.form.cmdExit.Click(); });

    WindowOnDemand window(app, [&](MainWindow* built) {
        messages.SetWindow(built);
        dialog.SetWindow(built);
    });

    // Every way out returns from here, so that the destructors run: the
    // lock is released, and QApplication's destructor hands the clipboard to the
    // desktop's clipboard manager, which keeps a signature put there last.
    if (!Main(app) || loop.Quitting())
        return 0;
    window.StartUpDone();
    return QApplication::exec();
}

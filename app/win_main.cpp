// Velmo's entry point on Windows: the platform services, start-up, then the
// window and the notification icon on the Win32 message loop.

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>
#include <string_view>

#include "domain/profile.h"
#include "domain/version.h"
#include "platform/native.h"
#include "platform/random.h"
#include "platform/windows_text.h"
#include "ui/app.h"
#include "ui/startup.h"
#include "win32/win32_ports.h"
#include "win32/window_on_demand.h"

namespace {

constexpr std::wstring_view kUsage =
    L"Usage: velmo [--profile NAME] [--help] [--version]\r\n"
    L"Keeps an e-mail signature fresh: a fixed part and a quotation picked at\r\n"
    L"random, written to the signature file; lives in the notification area.\r\n"
    L"\r\n"
    L"  --profile NAME  run the profile NAME: its own options, texts, signature\r\n"
    L"                  file and icon (letters, digits, '.', '_' and '-')\r\n"
    L"  --help          show this help and exit\r\n"
    L"  --version       show the version and exit\r\n"
    L"\r\n"
    L"Options: HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware.\r\n"
    L"Quotes and fixed text: the program's folder, or %APPDATA%\\Velmo\\ when it\r\n"
    L"cannot be written to.\r\n"
    L"A profile's: HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\Profiles\\NAME\\User\\Freeware,\r\n"
    L"and Profiles\\NAME\\ in the folder of the quotes.\r\n";

// A program of the window subsystem has no console of its own: what it has to
// say goes where its standard output or error was sent, else to the console
// of the program that started it, else into a message box.
void Say(std::wstring_view text, bool error) {
    HANDLE out = GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    bool console = false;
    if (out == nullptr || out == INVALID_HANDLE_VALUE) {
        if (AttachConsole(ATTACH_PARENT_PROCESS) != 0) {
            out = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
            console = out != INVALID_HANDLE_VALUE;
        }
    }
    if (out == nullptr || out == INVALID_HANDLE_VALUE) {
        MessageBoxW(nullptr, std::wstring(text).c_str(), L"Velmo",
                    MB_OK | (error ? MB_ICONERROR : MB_ICONINFORMATION));
        return;
    }
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(out, &mode) != 0) {
        WriteConsoleW(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    } else {
        // A file or a pipe: UTF-8.
        const std::string bytes = velmo::ToUtf8(velmo::FromWide(text));
        WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
    if (console)
        CloseHandle(out);
}

// Answers --help and --version, takes --profile, and rejects anything else
// and a name that is no profile name, before any key or file is touched.
// Returns the exit status, or -1 to go on starting.
int CommandLine(std::string& profile) {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (args == nullptr)
        return -1;
    int status = -1;
    for (int i = 1; i < count && status < 0; ++i) {
        const std::wstring_view arg = args[i];
        if (arg == L"--help" || arg == L"-h") {
            Say(kUsage, false);
            status = 0;
        } else if (arg == L"--version") {
            Say(L"velmo " + velmo::ToWide(velmo::FromUtf8(velmo::kVersionText)) + L"\r\n", false);
            status = 0;
        }
    }
    for (int i = 1; i < count && status < 0; ++i) {
        const std::wstring_view arg = args[i];
        if (arg == L"--profile" || arg.starts_with(L"--profile=")) {
            const wchar_t* value =
                arg.size() > 9 ? args[i] + 10 : (i + 1 < count ? args[++i] : nullptr);
            if (value == nullptr) {
                Say(L"velmo: --profile needs a name (try velmo --help)\r\n", true);
                status = 2;
                break;
            }
            const std::string name = velmo::ToUtf8(velmo::FromWide(value));
            if (const std::string refusal = velmo::ProfileNameRefusal(name); !refusal.empty()) {
                Say(L"velmo: " + velmo::ToWide(velmo::FromUtf8(refusal)) + L"\r\n", true);
                status = 2;
                break;
            }
            profile = name;
            continue;
        }
        Say(L"velmo: unknown argument '" + std::wstring(arg) + L"' (try velmo --help)\r\n", true);
        status = 2;
    }
    LocalFree(args);
    return status;
}

// The thread's COM apartment, for as long as the program runs: the shell's
// open verb (the browser, the guide) and the file dialog call on COM objects
// of shell extensions, which need one.
class ComApartment {
  public:
    ComApartment()
        : entered_(SUCCEEDED(
              CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComApartment() {
        if (entered_)
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool entered_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace velmo;
    std::string profile;
    if (const int status = CommandLine(profile); status >= 0)
        return status;

    const ComApartment com;
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    MessageWindow messageWindow;
    Win32EventLoop loop;
    Win32MessageBox messages(loop);
    Win32FileDialog dialog(loop);
    Win32Clipboard clipboard(messageWindow.Handle());
    const std::unique_ptr<ClockPort> clock = MakeClock();
    StandardRandom random;
    const std::unique_ptr<FileStorePort> files = MakeFileStore();
    const std::unique_ptr<SettingsStorePort> settings = MakeSettingsStore(*files, profile);
    Win32Timer timer(messageWindow);
    const std::unique_ptr<SingleInstancePort> instance = MakeInstanceGuard(profile);
    Win32NotifyIcon icon(messageWindow);
    const std::unique_ptr<ProgramPort> program = MakeProgram(profile);
    Win32Browser browser;
    App app({messages, dialog, clipboard, *clock, random, *files, *settings, timer, *instance, icon,
             *program, browser, loop});

    icon.Attach(app);
    // The console's Ctrl+C and closing, the session's end and WM_CLOSE end
    // the program as Exit does.
    Win32EndRequests onEndRequest(messageWindow, [&app] { app.form.cmdExit.Click(); });

    WindowOnDemand window(app, [&](MainWindow* built) {
        messages.SetWindow(built->Handle());
        dialog.SetWindow(built->Handle());
    });

    // Every way out returns from here, so that the destructors run: the
    // icon goes and the instance guard is released.
    if (!Main(app) || loop.Quitting())
        return 0;
    window.StartUpDone();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        MainWindow* shown = window.window();
        if (shown != nullptr && shown->TranslateDialogKeys(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

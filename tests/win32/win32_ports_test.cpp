#include "win32/win32_ports.h"

#include <gtest/gtest.h>

#include <commdlg.h>
#include <dlgs.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/wake_up_windows.h"
#include "platform/windows_text.h"
#include "support/fakes.h"
#include "ui/app.h"

namespace velmo {
namespace {

// Serves the thread's messages for a while.
void Pump(double seconds) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

// Takes a WM_QUIT left in the queue; true when there was one.
bool TakeQuit() {
    MSG message;
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

// Ends a modal loop or menu that nothing else ended within ten seconds, so that a
// broken case fails instead of hanging.
class Watchdog {
  public:
    Watchdog() : thread_(GetCurrentThreadId()), done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        watch_ = std::thread([this] {
            if (WaitForSingleObject(done_, 10'000) == WAIT_TIMEOUT) {
                fired_ = true;
                // A menu's loop ends by Escape, a dialog's by WM_QUIT.
                if (const HWND menu = FindWindowW(L"#32768", nullptr); menu != nullptr)
                    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
                PostThreadMessageW(thread_, WM_QUIT, 0, 0);
            }
        });
    }
    ~Watchdog() {
        SetEvent(done_);
        watch_.join();
        CloseHandle(done_);
    }
    bool fired() const { return fired_; }

  private:
    DWORD thread_;
    HANDLE done_;
    std::thread watch_;
    bool fired_ = false;
};

// The message box open on this thread, by its title.
HWND OpenBox(const wchar_t* title) {
    return FindWindowW(L"#32770", title);
}

struct Win32PortsTest : ::testing::Test {
    void TearDown() override { TakeQuit(); }
    MessageWindow window;
    Win32EventLoop loop;
};

TEST_F(Win32PortsTest, TheTimerFiresWhileAMessageBoxRunsItsOwnLoop) {
    Win32MessageBox box(loop);
    Win32Timer timer(window);
    int fired = 0;
    // Due inside the box's loop: it closes the box by ending the program.
    timer.Start(0.1, [&] {
        ++fired;
        loop.Quit();
    });
    Watchdog watchdog;
    const auto start = std::chrono::steady_clock::now();
    const Answer answer = box.Show(U"Keep this entry?", message::ErrorYesNo, U"Timer check");
    EXPECT_FALSE(watchdog.fired());
    EXPECT_EQ(fired, 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    // Closed by Quit: as by Escape, which stands for No.
    EXPECT_EQ(answer, Answer::No);
    // The program's own loop ends next.
    MSG message;
    EXPECT_EQ(GetMessageW(&message, nullptr, 0, 0), 0);
}

TEST_F(Win32PortsTest, TheTimerFiresWhileTheTrayMenuIsOpenAndTheMenuHoldsTheVisibleItems) {
    testing::TestPlatform p;
    Win32NotifyIcon icon(window);
    Win32Timer timer(window);
    App app({p.messages, p.fileDialog, p.clipboard, p.clock, p.random, p.files, p.settings, timer,
             p.instance, icon, p.program, p.browser, loop});
    icon.Attach(app);
    app.form.mnuOpenWindow.Visible = false;
    app.form.mnuPutOnTray.Visible = true;
    app.form.mnuHelp.Enabled = false;
    std::vector<std::wstring> items;
    UINT helpState = 0;
    bool found = false;
    timer.Start(0.2, [&] {
        const HWND menuWindow = FindWindowW(L"#32768", nullptr);
        const auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
        found = menu != nullptr;
        for (int i = 0; menu != nullptr && i < GetMenuItemCount(menu); ++i) {
            wchar_t caption[64] = {};
            GetMenuStringW(menu, static_cast<UINT>(i), caption, 64, MF_BYPOSITION);
            items.emplace_back(caption);
            if (items.back() == L"&Help")
                helpState = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        }
        EndMenu();
    });
    Watchdog watchdog;
    PostMessageW(window.Handle(), MessageWindow::kTrayMessage, 1, WM_RBUTTONUP);
    Pump(1.0);
    EXPECT_FALSE(watchdog.fired());
    ASSERT_TRUE(found);
    // Separators have no caption.
    const std::vector<std::wstring> expected = {
        L"&Put on Tray", L"", L"&Load Clipboard", L"", L"&Randomize", L"&Help", L"", L"&Quit"};
    EXPECT_EQ(items, expected);
    EXPECT_NE(helpState & MF_GRAYED, 0u);
    EXPECT_FALSE(app.TrayBusy);
}

TEST_F(Win32PortsTest, StopCancelsAndStartReplacesTheRequest) {
    Win32Timer timer(window);
    std::vector<std::string> calls;
    timer.Start(0.05, [&] { calls.push_back("first"); });
    timer.Start(0.2, [&] { calls.push_back("second"); });
    Pump(0.12);
    EXPECT_TRUE(calls.empty());
    Pump(0.4);
    EXPECT_EQ(calls, std::vector<std::string>{"second"});
    timer.Start(0.05, [&] { calls.push_back("stopped"); });
    timer.Stop();
    Pump(0.3);
    EXPECT_EQ(calls, std::vector<std::string>{"second"});
    timer.Start(0, [&] { calls.push_back("at once"); });
    Pump(0.1);
    EXPECT_EQ(calls, (std::vector<std::string>{"second", "at once"}));
}

TEST_F(Win32PortsTest, TheClipboardHoldsTheTextAsUnicodeWithItsLineBreaks) {
    const Text text = U"Gr\u00fc\u00dfe \u2014 \u5f15\u7528 \U0001F600\r\nzweite Zeile\r\n";
    Win32Clipboard(window.Handle()).SetText(text);
    ASSERT_NE(OpenClipboard(nullptr), 0);
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    const std::wstring read(static_cast<const wchar_t*>(GlobalLock(data)));
    GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(read, ToWide(text));
}

TEST_F(Win32PortsTest, QuitEndsTheLoopAndLaterBoxesAndDialogsAnswerAsByEscape) {
    Win32MessageBox box(loop);
    Win32FileDialog dialog(loop);
    EXPECT_FALSE(loop.Quitting());
    loop.Quit();
    EXPECT_TRUE(loop.Quitting());
    MSG message;
    EXPECT_EQ(GetMessageW(&message, nullptr, 0, 0), 0);
    // None of these is shown: the watchdog would end a box that was.
    Watchdog watchdog;
    EXPECT_EQ(box.Show(U"a", message::Notice, U""), Answer::Ok);
    EXPECT_EQ(box.Show(U"b", message::WarningOkCancel, U""), Answer::Cancel);
    EXPECT_EQ(box.Show(U"c", message::ErrorYesNoDefaultNo, U""), Answer::No);
    EXPECT_EQ(box.Show(U"d", message::WarningYesNoCancelDefaultCancel, U""), Answer::Cancel);
    EXPECT_EQ(dialog.OpenFile(U"", {{U"Text (*.txt)", {U"*.txt"}}}, U"t", FileChoice::Existing),
              std::nullopt);
    EXPECT_FALSE(watchdog.fired());
}

TEST_F(Win32PortsTest, MessageBoxesHaveTheStylesButtonsDefaultTitleAndOwner) {
    Win32MessageBox box(loop);
    Win32Timer timer(window);
    // A shown window of the program owns the box.
    const HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                       nullptr, nullptr, nullptr, nullptr);
    box.SetWindow(owner);
    const struct {
        MessageStyle style;
        int defaultId;
        int press;
        Answer answer;
    } rows[] = {
        {message::ErrorYesNoDefaultNo, IDNO, IDYES, Answer::Yes},
        {message::ErrorYesNo, IDYES, IDNO, Answer::No},
        {message::WarningOkCancel, IDOK, IDCANCEL, Answer::Cancel},
        {message::WarningYesNoCancelDefaultCancel, IDCANCEL, IDNO, Answer::No},
    };
    for (const auto& row : rows) {
        HWND seenOwner = nullptr;
        int defaultId = 0;
        bool open = false;
        timer.Start(0.1, [&] {
            // The default title: the program's name.
            const HWND shown = OpenBox(L"Velmo");
            open = shown != nullptr;
            seenOwner = GetWindow(shown, GW_OWNER);
            // The button drawn as the default, which Return presses.
            for (const int id : {IDOK, IDCANCEL, IDYES, IDNO}) {
                const HWND button = GetDlgItem(shown, id);
                if (button != nullptr &&
                    (GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                    defaultId = id;
            }
            PostMessageW(shown, WM_COMMAND, static_cast<WPARAM>(row.press), 0);
        });
        Watchdog watchdog;
        const Answer answer = box.Show(U"Question", row.style, U"");
        EXPECT_FALSE(watchdog.fired());
        ASSERT_TRUE(open);
        EXPECT_EQ(answer, row.answer);
        EXPECT_EQ(defaultId, row.defaultId);
        EXPECT_EQ(seenOwner, owner);
    }
    DestroyWindow(owner);
}

TEST_F(Win32PortsTest, ALoneCarriageReturnBreaksTheMessagesLine) {
    Win32MessageBox box(loop);
    Win32Timer timer(window);
    std::wstring shown;
    timer.Start(0.1, [&] {
        const HWND open = OpenBox(L"Registry");
        wchar_t text[128] = {};
        GetDlgItemTextW(open, 0xFFFF, text, 128);
        shown = text;
        PostMessageW(open, WM_COMMAND, IDOK, 0);
    });
    Watchdog watchdog;
    box.Show(U"ERROR # 5 : Access denied\rPlease exit and try again.", message::Notice,
             U"Registry");
    EXPECT_EQ(shown, L"ERROR # 5 : Access denied\r\nPlease exit and try again.");
}

TEST_F(Win32PortsTest, TheFileDialogHasTheTitleTypesFolderAndNameItWasGiven) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    // A new folder each time: the dialog remembers the one last chosen.
    const std::wstring folder =
        std::wstring(temp) + L"velmo-dialog-\u00e9-" + std::to_wstring(GetTickCount64()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring file = folder + L"sig.txt";
    CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));

    Win32FileDialog dialog(loop);
    Win32Timer timer(window);
    std::wstring seenFolder;
    std::wstring seenName;
    std::vector<std::wstring> types;
    timer.Start(0.3, [&] {
        const HWND open = FindWindowW(L"#32770", L"Find The Signature File...");
        wchar_t text[MAX_PATH] = {};
        SendMessageW(open, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(text));
        seenFolder = text;
        text[0] = L'\0';
        SendMessageW(open, CDM_GETSPEC, MAX_PATH, reinterpret_cast<LPARAM>(text));
        seenName = text;
        const HWND typeList = GetDlgItem(open, cmb1);
        for (LRESULT i = 0; i < SendMessageW(typeList, CB_GETCOUNT, 0, 0); ++i) {
            SendMessageW(typeList, CB_GETLBTEXT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(text));
            types.emplace_back(text);
        }
        PostMessageW(open, WM_COMMAND, IDOK, 0);
    });
    Watchdog watchdog;
    const std::optional<Text> chosen = dialog.OpenFile(
        FromWide(file), {{U"Text (*.txt)", {U"*.txt"}}, {U"All Files (*.*)", {U"*"}}},
        U"Find The Signature File...", FileChoice::Existing);
    EXPECT_FALSE(watchdog.fired());
    // The folder as the dialog spells it, without the last backslash.
    EXPECT_EQ(seenFolder + L"\\", folder);
    EXPECT_EQ(seenName, L"sig.txt");
    EXPECT_EQ(types, (std::vector<std::wstring>{L"Text (*.txt)", L"All Files (*.*)"}));
    EXPECT_EQ(chosen, std::optional<Text>(FromWide(file)));
    DeleteFileW(file.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST_F(Win32PortsTest, TrayMessagesReachTheModelsTrayHandling) {
    testing::TestPlatform p;
    Win32NotifyIcon icon(window);
    App app({p.messages, p.fileDialog, p.clipboard, p.clock, p.random, p.files, p.settings, p.timer,
             p.instance, icon, p.program, p.browser, loop});
    icon.Attach(app);
    MainForm& form = app.form;
    form.Hide();
    const auto click = [&](UINT mouse) {
        PostMessageW(window.Handle(), MessageWindow::kTrayMessage, 1, mouse);
        Pump(0.05);
    };
    // An XEmbed-like report: a single click before the double-click.
    click(WM_LBUTTONDOWN);
    click(WM_LBUTTONUP);
    EXPECT_FALSE(form.Visible);
    click(WM_LBUTTONDBLCLK);
    EXPECT_TRUE(form.Visible);
    EXPECT_FALSE(form.mnuOpenWindow.Visible);
    EXPECT_TRUE(form.mnuPutOnTray.Visible);
    click(WM_MOUSEMOVE);
    click(WM_MBUTTONUP);
    EXPECT_TRUE(form.Visible);
    click(WM_LBUTTONDBLCLK);
    EXPECT_FALSE(form.Visible);
    EXPECT_TRUE(form.mnuOpenWindow.Visible);
    // A click while an earlier one is handled (its menu open) is dropped.
    app.TrayBusy = true;
    click(WM_LBUTTONDBLCLK);
    EXPECT_FALSE(form.Visible);
}

TEST_F(Win32PortsTest, EndRequestsAndClosingTheMessageWindowAskToEnd) {
    int requests = 0;
    Win32EndRequests ends(window, [&] { ++requests; });
    EXPECT_EQ(SendMessageW(window.Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_EQ(requests, 0);
    SendMessageW(window.Handle(), WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(requests, 0);
    SendMessageW(window.Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(requests, 1);
    SendMessageW(window.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(requests, 2);
    EXPECT_NE(IsWindow(window.Handle()), 0);
    // Ctrl+C on the console it was started from, on the system's own thread.
    std::thread([] { OnConsoleEvent(CTRL_C_EVENT); }).join();
    Pump(0.3);
    EXPECT_EQ(requests, 3);
}

}  // namespace
}  // namespace velmo

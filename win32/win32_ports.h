#pragma once

// The platform services that need the window system, on Win32: message
// boxes, the file dialog, the clipboard, the notification icon, the browser,
// the timer and the end requests, all on the thread's message loop.

#include <windows.h>

#include <functional>
#include <map>

#include "platform/ports.h"
#include "platform/wake_up.h"

namespace velmo {

struct App;
class MenuItem;

// The program's hidden top-level window: it is never shown and so is on no
// task bar, but as a top-level window it hears what the system broadcasts
// ("TaskbarCreated", the session's end). The notification icon's clicks, the
// timer's and the end requests' wake-ups are posted to it.
class MessageWindow {
  public:
    // Messages posted by the wake-ups and the notification icon.
    static constexpr UINT kTrayMessage = WM_APP + 1;
    static constexpr UINT kTimerMessage = WM_APP + 2;
    static constexpr UINT kEndRequestMessage = WM_APP + 3;

    MessageWindow();
    ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    HWND Handle() const { return window_; }
    // Handles `message` from now on; the handler's result is the message's.
    void On(UINT message, std::function<LRESULT(WPARAM, LPARAM)> handler);

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM w, LPARAM l);
    HWND window_ = nullptr;
    std::map<UINT, std::function<LRESULT(WPARAM, LPARAM)>> handlers_;
};

// Leaves the message loop: GetMessageW returns 0, and a message box or a
// dialog open at the time ends as by Escape on the way. A request made while
// start-up still runs is kept: see Quitting().
class Win32EventLoop : public EventLoopPort {
  public:
    void Quit() override;
    bool Quitting() const { return quitting_; }

  private:
    bool quitting_ = false;
};

// Message boxes, owned by the main window while it is shown. Once the program
// is ending a box is not shown: it answers as by Escape.
class Win32MessageBox : public MessageBoxPort {
  public:
    explicit Win32MessageBox(const Win32EventLoop& loop) : loop_(loop) {}
    void SetWindow(HWND window) { window_ = window; }
    Answer Show(const Text& text, const MessageStyle& style, const Text& title) override;

  private:
    const Win32EventLoop& loop_;
    HWND window_ = nullptr;
};

class Win32FileDialog : public FileDialogPort {
  public:
    explicit Win32FileDialog(const Win32EventLoop& loop) : loop_(loop) {}
    void SetWindow(HWND window) { window_ = window; }
    std::optional<Text> OpenFile(const Text& initial, const FileFilters& filters, const Text& title,
                                 FileChoice choice) override;

  private:
    const Win32EventLoop& loop_;
    HWND window_ = nullptr;
};

// Unicode text (CF_UNICODETEXT); the system makes the other text formats
// from it for programs that ask for them.
class Win32Clipboard : public ClipboardPort {
  public:
    explicit Win32Clipboard(HWND owner) : owner_(owner) {}
    void SetText(const Text& text) override;

  private:
    HWND owner_;
};

// The icon in the notification area (identifier 1 of the message window),
// with the program's icon and tip. Clicks reach the model's tray handling;
// the menu is built from the model's items each time it opens. The icon is
// added again when the task bar comes back ("TaskbarCreated").
class Win32NotifyIcon : public NotifyIconPort {
  public:
    explicit Win32NotifyIcon(MessageWindow& window);
    ~Win32NotifyIcon() override;
    Win32NotifyIcon(const Win32NotifyIcon&) = delete;
    Win32NotifyIcon& operator=(const Win32NotifyIcon&) = delete;
    // The program whose tray events and menu this icon serves.
    void Attach(App& app) { app_ = &app; }

    bool Available() override { return true; }
    void Add(const std::string& icon, const Text& tip) override;
    void Remove() override;
    void PopupMenu() override;
    IconClick OpenCloseClick() override { return IconClick::Double; }

  private:
    bool Notify(DWORD what);
    void AddItems(HMENU menu, const MenuItem* parent, std::map<UINT, MenuItem*>& ids);

    MessageWindow& window_;
    App* app_ = nullptr;
    HICON icon_ = nullptr;
    std::wstring tip_;
    bool shown_ = false;  // added and not removed
};

class Win32Browser : public BrowserPort {
  public:
    bool Open(const Text& address) override;
};

// A timer on real elapsed time (time asleep counts). Its waitable timer is
// waited on by the system's thread pool, which posts to the message window:
// the timer goes on firing while a menu or a modal dialog runs its own loop.
class Win32Timer : public TimerPort {
  public:
    explicit Win32Timer(MessageWindow& window);
    ~Win32Timer() override;
    Win32Timer(const Win32Timer&) = delete;
    Win32Timer& operator=(const Win32Timer&) = delete;
    void Start(double seconds, std::function<void()> due) override;
    void Stop() override;

  private:
    MessageWindow& window_;
    WakeTimer timer_;
    HANDLE wait_ = nullptr;
    std::function<void()> due_;
};

// The requests to end the program from outside, as one call on the message
// loop: the console's Ctrl+C and closing, the session's end
// (WM_QUERYENDSESSION, WM_ENDSESSION) and WM_CLOSE to the message window.
class Win32EndRequests {
  public:
    Win32EndRequests(MessageWindow& window, std::function<void()> onRequest);
    ~Win32EndRequests();
    Win32EndRequests(const Win32EndRequests&) = delete;
    Win32EndRequests& operator=(const Win32EndRequests&) = delete;

  private:
    MessageWindow& window_;
    EndRequests requests_;
    HANDLE wait_ = nullptr;
    std::function<void()> onRequest_;
};

}  // namespace velmo

#include "win32/win32_ports.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <cwchar>
#include <vector>

#include "platform/file_text.h"
#include "platform/windows_text.h"
#include "ui/app.h"
#include "ui/front_end.h"
#include "ui/tray.h"
#include "win32/pictures.h"

namespace velmo {

namespace {

constexpr wchar_t kMessageWindowClass[] = L"VelmoMessageWindow";

// A line break the window's texts may hold as CR alone, as CR LF for Win32.
std::wstring WithCrLf(const Text& text) {
    Text out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == U'\r' && (i + 1 == text.size() || text[i + 1] != U'\n'))
            out += U'\n';
    }
    return ToWide(out);
}

HWND ShownOrNone(HWND window) {
    return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

// Runs on a thread of the system's pool each time `handle` is signalled.
void CALLBACK PostTimerMessage(PVOID window, BOOLEAN) {
    PostMessageW(static_cast<HWND>(window), MessageWindow::kTimerMessage, 0, 0);
}

void CALLBACK PostEndRequestMessage(PVOID window, BOOLEAN) {
    PostMessageW(static_cast<HWND>(window), MessageWindow::kEndRequestMessage, 0, 0);
}

HANDLE WaitFor(const WaitHandle& handle, HWND window, WAITORTIMERCALLBACK callback) {
    HANDLE wait = nullptr;
    if (handle.kind != WaitHandle::Kind::SignalledHandle)
        return nullptr;
    if (RegisterWaitForSingleObject(&wait, reinterpret_cast<HANDLE>(handle.value), callback, window,
                                    INFINITE, WT_EXECUTEDEFAULT) == 0)
        return nullptr;
    return wait;
}

// Waits for a callback that is running to return.
void EndWait(HANDLE wait) {
    if (wait != nullptr)
        UnregisterWaitEx(wait, INVALID_HANDLE_VALUE);
}

}  // namespace

MessageWindow::MessageWindow() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = Procedure;
    type.hInstance = instance;
    type.lpszClassName = kMessageWindowClass;
    RegisterClassExW(&type);  // fails harmlessly when already registered
    window_ = CreateWindowExW(0, kMessageWindowClass, L"Velmo", WS_POPUP, 0, 0, 0, 0, nullptr,
                              nullptr, instance, this);
}

MessageWindow::~MessageWindow() {
    if (window_ != nullptr) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void MessageWindow::On(UINT message, std::function<LRESULT(WPARAM, LPARAM)> handler) {
    handlers_[message] = std::move(handler);
}

LRESULT CALLBACK MessageWindow::Procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(l);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr) {
        const auto it = self->handlers_.find(message);
        if (it != self->handlers_.end()) {
            // A copy: the handler may replace itself.
            const auto handler = it->second;
            if (handler)
                return handler(w, l);
        }
    }
    // Closing this window is a request to end, never its destruction.
    if (message == WM_CLOSE)
        return 0;
    return DefWindowProcW(window, message, w, l);
}

void Win32EventLoop::Quit() {
    quitting_ = true;
    PostQuitMessage(0);
}

Answer Win32MessageBox::Show(const Text& text, const MessageStyle& style, const Text& title) {
    const MessageChoices choices = ChoicesOf(style);
    if (loop_.Quitting())
        return choices.escapeAnswer;
    UINT type = MB_OK;
    switch (style.buttons) {
        case MessageButtons::Ok:
            type = MB_OK;
            break;
        case MessageButtons::OkCancel:
            type = MB_OKCANCEL;
            break;
        case MessageButtons::YesNo:
            type = MB_YESNO;
            break;
        case MessageButtons::YesNoCancel:
            type = MB_YESNOCANCEL;
            break;
    }
    switch (style.icon) {
        case MessageIcon::None:
            break;
        case MessageIcon::Error:
            type |= MB_ICONERROR;
            break;
        case MessageIcon::Warning:
            type |= MB_ICONWARNING;
            break;
    }
    constexpr UINT kDefaultButtons[] = {MB_DEFBUTTON1, MB_DEFBUTTON2, MB_DEFBUTTON3};
    for (size_t i = 0; i < choices.buttons.size() && i < 3; ++i) {
        if (choices.buttons[i] == choices.defaultAnswer)
            type |= kDefaultButtons[i];
    }
    const HWND owner = ShownOrNone(window_);
    // A box of the program in the notification area comes to the front.
    if (owner == nullptr)
        type |= MB_SETFOREGROUND;
    const int pressed =
        MessageBoxW(owner, WithCrLf(text).c_str(), ToWide(MessageTitle(title)).c_str(), type);
    // Ended by Quit, or closed some other way.
    if (loop_.Quitting())
        return choices.escapeAnswer;
    switch (pressed) {
        case IDOK:
            return Answer::Ok;
        case IDYES:
            return Answer::Yes;
        case IDNO:
            return Answer::No;
        case IDCANCEL:
            return Answer::Cancel;
        default:
            return choices.escapeAnswer;
    }
}

std::optional<Text> Win32FileDialog::OpenFile(const Text& initial, const FileFilters& filters,
                                              const Text& title, FileChoice choice) {
    if (loop_.Quitting())
        return std::nullopt;
    wchar_t documents[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents)))
        documents[0] = L'\0';
    const DialogStart start = StartOfDialog(
        initial, PathStyle::Windows,
        [](const Text& path) {
            const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
            return attributes != INVALID_FILE_ATTRIBUTES &&
                   (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        },
        FromWide(documents));

    // "Description\0*.a;*.b\0" for each type, and one more NUL at the end.
    std::wstring filter;
    for (const FileFilter& f : ListedFilters(filters)) {
        std::wstring patterns;
        for (const Text& pattern : f.patterns) {
            if (!patterns.empty())
                patterns += L';';
            patterns += ToWide(pattern == U"*" ? Text(U"*.*") : pattern);
        }
        filter += ToWide(f.description) + L'\0' + patterns + L'\0';
    }
    filter += L'\0';

    std::vector<wchar_t> file(32768, L'\0');
    // A name with its folder: the dialog opens there, where the folder
    // alone could give way to the one the user last chose.
    Text named = start.folder;
    if (!named.empty() && named.back() != U'\\' && named.back() != U'/')
        named += U'\\';
    const std::wstring name = ToWide(start.fileName.empty() ? Text() : named + start.fileName);
    if (name.size() < file.size())
        std::wmemcpy(file.data(), name.data(), name.size());
    const std::wstring folder = ToWide(start.folder);
    const std::wstring caption = ToWide(title);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = ShownOrNone(window_);
    dialog.lpstrFilter = filter.size() > 1 ? filter.c_str() : nullptr;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = caption.empty() ? nullptr : caption.c_str();
    // A new name is taken where the program is to make the file.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
                   (choice == FileChoice::Existing ? OFN_FILEMUSTEXIST : 0);
    if (GetOpenFileNameW(&dialog) == 0 || loop_.Quitting())
        return std::nullopt;
    return FromWide(file.data());
}

void Win32Clipboard::SetText(const Text& text) {
    const std::wstring wide = ToWide(NativeLineEnds(text));
    // Another program may hold the clipboard open for a moment.
    bool open = false;
    for (int attempt = 0; attempt < 10 && !open; ++attempt) {
        open = OpenClipboard(owner_) != 0;
        if (!open)
            Sleep(20);
    }
    if (!open)
        return;
    EmptyClipboard();
    const size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes); memory != nullptr) {
        if (void* data = GlobalLock(memory); data != nullptr) {
            std::memcpy(data, wide.c_str(), bytes);
            GlobalUnlock(memory);
            if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr)
                GlobalFree(memory);
        } else {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
}

Win32NotifyIcon::Win32NotifyIcon(MessageWindow& window) : window_(window) {
    window_.On(MessageWindow::kTrayMessage, [this](WPARAM, LPARAM l) -> LRESULT {
        if (app_ == nullptr)
            return 0;
        switch (LOWORD(l)) {
            case WM_LBUTTONUP:
                TrayIconClicked(*app_, IconClick::Single);
                break;
            case WM_LBUTTONDBLCLK:
                TrayIconClicked(*app_, IconClick::Double);
                break;
            case WM_MBUTTONUP:
                TrayIconClicked(*app_, IconClick::Middle);
                break;
            case WM_RBUTTONUP:
                TrayIconClicked(*app_, IconClick::Context);
                break;
            default:
                break;
        }
        return 0;
    });
    // Explorer started again: its new task bar has no icons.
    window_.On(RegisterWindowMessageW(L"TaskbarCreated"), [this](WPARAM, LPARAM) -> LRESULT {
        if (shown_)
            Notify(NIM_ADD);
        return 0;
    });
}

Win32NotifyIcon::~Win32NotifyIcon() {
    window_.On(MessageWindow::kTrayMessage, nullptr);
    window_.On(RegisterWindowMessageW(L"TaskbarCreated"), nullptr);
    if (shown_)
        Notify(NIM_DELETE);
    if (icon_ != nullptr)
        DestroyIcon(icon_);
}

bool Win32NotifyIcon::Notify(DWORD what) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window_.Handle();
    data.uID = 1;
    if (what != NIM_DELETE) {
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.uCallbackMessage = MessageWindow::kTrayMessage;
        data.hIcon = icon_ != nullptr
                         ? icon_
                         : LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
        wcsncpy(data.szTip, tip_.c_str(), std::size(data.szTip) - 1);
    }
    return Shell_NotifyIconW(what, &data) != 0;
}

void Win32NotifyIcon::Add(const std::string&, const Text& tip) {
    if (icon_ == nullptr)
        icon_ = ProgramIcon(GetSystemMetrics(SM_CXSMICON));
    tip_ = ToWide(tip);
    shown_ = true;
    Notify(NIM_ADD);
}

void Win32NotifyIcon::Remove() {
    if (!shown_)
        return;
    shown_ = false;
    Notify(NIM_DELETE);
}

void Win32NotifyIcon::AddItems(HMENU menu, const MenuItem* parent, std::map<UINT, MenuItem*>& ids) {
    for (Control* c : app_->form.Controls()) {
        auto* item = c->As<MenuItem>();
        if (item == nullptr || item->Container != parent || !item->Visible)
            continue;
        if (item->IsSeparator()) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        bool hasChildren = false;
        for (Control* other : app_->form.Controls())
            hasChildren = hasChildren || other->Container == item;
        const UINT enabled = item->Enabled ? MF_ENABLED : MF_GRAYED;
        const std::wstring caption = ToWide(item->Caption.get());
        if (hasChildren) {
            HMENU sub = CreatePopupMenu();
            AddItems(sub, item, ids);
            AppendMenuW(menu, MF_POPUP | enabled, reinterpret_cast<UINT_PTR>(sub), caption.c_str());
        } else {
            const UINT id = static_cast<UINT>(ids.size()) + 1;
            ids[id] = item;
            AppendMenuW(menu, MF_STRING | enabled, id, caption.c_str());
        }
    }
}

void Win32NotifyIcon::PopupMenu() {
    if (app_ == nullptr)
        return;
    // Built as the items stand now: their captions, visibility and state.
    std::map<UINT, MenuItem*> ids;
    HMENU menu = CreatePopupMenu();
    AddItems(menu, &app_->form.mnuTray, ids);
    POINT at{};
    GetCursorPos(&at);
    // Without the foreground the menu would not close when the user clicks
    // elsewhere; the posted message lets it close at once on a second click.
    SetForegroundWindow(window_.Handle());
    const UINT chosen =
        static_cast<UINT>(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                           at.x, at.y, window_.Handle(), nullptr));
    PostMessageW(window_.Handle(), WM_NULL, 0, 0);
    DestroyMenu(menu);
    if (const auto it = ids.find(chosen); it != ids.end())
        it->second->Click();
}

bool Win32Browser::Open(const Text& address) {
    const HINSTANCE result =
        ShellExecuteW(nullptr, L"open", ToWide(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

Win32Timer::Win32Timer(MessageWindow& window) : window_(window) {
    window.On(MessageWindow::kTimerMessage, [this](WPARAM, LPARAM) -> LRESULT {
        if (!timer_.Acknowledge())
            return 0;
        auto due = std::move(due_);
        due_ = nullptr;
        if (due)
            due();
        return 0;
    });
    wait_ = WaitFor(timer_.Handle(), window.Handle(), PostTimerMessage);
}

Win32Timer::~Win32Timer() {
    EndWait(wait_);
    window_.On(MessageWindow::kTimerMessage, nullptr);
}

void Win32Timer::Start(double seconds, std::function<void()> due) {
    due_ = std::move(due);
    timer_.Start(seconds);
}

void Win32Timer::Stop() {
    due_ = nullptr;
    timer_.Stop();
}

Win32EndRequests::Win32EndRequests(MessageWindow& window, std::function<void()> onRequest)
    : window_(window), onRequest_(std::move(onRequest)) {
    window.On(MessageWindow::kEndRequestMessage, [this](WPARAM, LPARAM) -> LRESULT {
        if (requests_.Acknowledge() && onRequest_)
            onRequest_();
        return 0;
    });
    // The session may end: nothing is to be saved first.
    window.On(WM_QUERYENDSESSION, [](WPARAM, LPARAM) -> LRESULT { return TRUE; });
    window.On(WM_ENDSESSION, [this](WPARAM ending, LPARAM) -> LRESULT {
        if (ending && onRequest_)
            onRequest_();
        return 0;
    });
    window.On(WM_CLOSE, [this](WPARAM, LPARAM) -> LRESULT {
        if (onRequest_)
            onRequest_();
        return 0;
    });
    wait_ = WaitFor(requests_.Handle(), window.Handle(), PostEndRequestMessage);
}

Win32EndRequests::~Win32EndRequests() {
    EndWait(wait_);
    for (const UINT message : {MessageWindow::kEndRequestMessage, UINT{WM_QUERYENDSESSION},
                               UINT{WM_ENDSESSION}, UINT{WM_CLOSE}})
        window_.On(message, nullptr);
}

}  // namespace velmo

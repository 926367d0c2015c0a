// Reads and drives a running Win32 program's windows from outside, with
// window messages only, for the end-to-end run under Wine:
//   peek windows                  every visible top-level window: title, class,
//                                 and the texts of a dialog's static controls
//   peek list TITLE               the controls of the window titled TITLE
//   peek click TITLE TEXT         clicks the visible button captioned TEXT
//   peek tab TITLE N              selects tab N of the window's tab control
// Exit status 1 when the window or the control is not there.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::wstring TextOf(HWND window) {
    wchar_t text[4096];
    const auto length = SendMessageW(window, WM_GETTEXT, sizeof text / sizeof text[0],
                                     reinterpret_cast<LPARAM>(text));
    return std::wstring(text, static_cast<size_t>(length));
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256];
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, static_cast<size_t>(length));
}

void Print(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

// Line breaks as visible escapes, so that one control is one line.
std::wstring OneLine(std::wstring text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'\r')
            out += L"\\r";
        else if (c == L'\n')
            out += L"\\n";
        else if (c == L'\t')
            out += L"\\t";
        else
            out += c;
    }
    return out;
}

std::vector<HWND> Descendants(HWND top) {
    std::vector<HWND> found;
    EnumChildWindows(
        top,
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::vector<HWND> TopLevel() {
    std::vector<HWND> found;
    EnumWindows(
        [](HWND window, LPARAM list) {
            if (IsWindowVisible(window))
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND Window(const std::wstring& title) {
    for (HWND window : TopLevel())
        if (TextOf(window) == title)
            return window;
    std::fputs("peek: no such window\n", stderr);
    return nullptr;
}

int Windows() {
    for (HWND window : TopLevel()) {
        const std::wstring name = ClassOf(window);
        Print(OneLine(TextOf(window)) + L"\t" + name + L"\n");
        if (name != L"#32770")
            continue;
        for (HWND child : Descendants(window))
            if (ClassOf(child) == L"Static" && IsWindowVisible(child))
                Print(L"\t" + OneLine(TextOf(child)) + L"\n");
    }
    return 0;
}

int List(HWND top) {
    for (HWND child : Descendants(top)) {
        const std::wstring name = ClassOf(child);
        std::wstring line = name + L"\t" + OneLine(TextOf(child));
        line += IsWindowVisible(child) ? L"\tvisible" : L"\thidden";
        line += IsWindowEnabled(child) ? L"\tenabled" : L"\tdisabled";
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        const LONG kind = style & BS_TYPEMASK;
        if (name == L"Button" && kind != BS_PUSHBUTTON && kind != BS_DEFPUSHBUTTON &&
            kind != BS_GROUPBOX)
            line += L"\tcheck=" + std::to_wstring(SendMessageW(child, BM_GETCHECK, 0, 0));
        if (name == WC_TABCONTROLW)
            line += L"\ttab=" + std::to_wstring(SendMessageW(child, TCM_GETCURSEL, 0, 0));
        if (name == TRACKBAR_CLASSW)
            line += L"\tpos=" + std::to_wstring(SendMessageW(child, TBM_GETPOS, 0, 0));
        Print(line + L"\n");
    }
    return 0;
}

// Every window of that title is searched: a tooltip or another program's
// window may share the title of the one that has the button.
int Click(const std::wstring& title, const std::wstring& caption) {
    for (HWND top : TopLevel()) {
        if (TextOf(top) != title)
            continue;
        for (HWND child : Descendants(top)) {
            if (ClassOf(child) == L"Button" && IsWindowVisible(child) && TextOf(child) == caption) {
                // Posted: the click may open a modal message box.
                PostMessageW(child, BM_CLICK, 0, 0);
                return 0;
            }
        }
    }
    std::fputs("peek: no such button\n", stderr);
    return 1;
}

int SelectTab(HWND top, int tab) {
    for (HWND child : Descendants(top)) {
        if (ClassOf(child) == WC_TABCONTROLW) {
            // Moving the focus of a tab control without buttons selects the
            // tab and tells the window, as a click does.
            SendMessageW(child, TCM_SETCURFOCUS, static_cast<WPARAM>(tab), 0);
            return 0;
        }
    }
    std::fputs("peek: no tab control\n", stderr);
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"windows" && argc == 2)
        return Windows();
    HWND top = argc > 2 ? Window(argv[2]) : nullptr;
    if (argc > 2 && top == nullptr)
        return 1;
    if (command == L"list" && argc == 3)
        return List(top);
    if (command == L"click" && argc == 4)
        return Click(argv[2], argv[3]);
    if (command == L"tab" && argc == 4)
        return SelectTab(top, _wtoi(argv[3]));
    std::fputs("Usage: peek windows | list TITLE | click TITLE TEXT | tab TITLE N\n", stderr);
    return 2;
}

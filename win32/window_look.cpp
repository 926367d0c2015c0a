#include "win32/window_look.h"

#include <uxtheme.h>
#include <vsstyle.h>

#include <cmath>

#include "platform/windows_text.h"

namespace velmo {

namespace {

// A function of user32 that older Windows lacks: null there.
template <typename F>
F User32(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (user32 == nullptr)
        return nullptr;
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

// The font of message boxes and dialogs, at `dpi`.
LOGFONTW MessageFont(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    using ForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    if (const auto forDpi = User32<ForDpi>("SystemParametersInfoForDpi");
        forDpi != nullptr &&
        forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi))) {
        return metrics.lfMessageFont;
    }
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, SystemDpi());
    return metrics.lfMessageFont;
}

}  // namespace

int DpiOf(HWND window) {
    using ForWindow = UINT(WINAPI*)(HWND);
    if (const auto forWindow = User32<ForWindow>("GetDpiForWindow"); forWindow != nullptr) {
        if (const UINT dpi = forWindow(window); dpi > 0)
            return static_cast<int>(dpi);
    }
    return SystemDpi();
}

SIZE WindowSizeFor(int width, int height, DWORD style, DWORD exStyle, int dpi) {
    RECT r{0, 0, width, height};
    using ForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    if (const auto forDpi = User32<ForDpi>("AdjustWindowRectExForDpi"); forDpi != nullptr) {
        forDpi(&r, style, FALSE, exStyle, static_cast<UINT>(dpi));
    } else {
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
    }
    return {r.right - r.left, r.bottom - r.top};
}

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool IsClass(HWND window, const wchar_t* name) {
    wchar_t found[32] = {};
    GetClassNameW(window, found, 32);
    return lstrcmpiW(found, name) == 0;
}

COLORREF ColorOf(std::uint32_t color) {
    if (color == colors::SystemHighlight)
        return GetSysColor(COLOR_HIGHLIGHT);
    if (color == colors::SystemButtonText)
        return GetSysColor(COLOR_BTNTEXT);
    // The model's blue-green-red order is GDI's.
    return static_cast<COLORREF>(color & 0xFFFFFF);
}

void Look::Reset(int dpi) {
    Clear();
    dpi_ = dpi;
}

void Look::Clear() {
    for (const auto& [key, font] : fonts_)
        DeleteObject(font);
    fonts_.clear();
    DropPageBrush();
}

void Look::DropPageBrush() {
    if (ownBrush_ && pageBrush_ != nullptr)
        DeleteObject(pageBrush_);
    pageBrush_ = nullptr;
    ownBrush_ = false;
}

HFONT Look::Font(const FontSpec& wanted, bool underline) {
    const std::string key = wanted.name + "/" + std::to_string(wanted.size) +
                            (wanted.bold ? "b" : "") + (wanted.italic ? "i" : "") +
                            (underline || wanted.underline ? "u" : "");
    if (const auto found = fonts_.find(key); found != fonts_.end())
        return found->second;
    LOGFONTW font = MessageFont(dpi_);
    const FontSpec defaults;
    if (wanted.name != defaults.name) {
        // A font of its own, such as the fixed pitch of the previews.
        const std::wstring face = ToWide(FromAnsi(wanted.name));
        lstrcpynW(font.lfFaceName, face.c_str(), LF_FACESIZE);
        font.lfHeight = -static_cast<LONG>(std::lround(wanted.size * dpi_ / 72.0));
        font.lfWeight = FW_NORMAL;
        font.lfCharSet = DEFAULT_CHARSET;
        font.lfPitchAndFamily =
            wanted.name == "Courier New" ? FIXED_PITCH | FF_MODERN : DEFAULT_PITCH | FF_DONTCARE;
    } else if (wanted.size != defaults.size) {
        font.lfHeight = static_cast<LONG>(std::lround(font.lfHeight * wanted.size / defaults.size));
    }
    if (wanted.bold)
        font.lfWeight = FW_BOLD;
    if (wanted.italic)
        font.lfItalic = TRUE;
    font.lfUnderline = underline || wanted.underline ? TRUE : FALSE;
    HFONT made = CreateFontIndirectW(&font);
    fonts_[key] = made;
    return made;
}

HBRUSH Look::PageBrush(HWND tabs, SIZE page) {
    if (pageBrush_ != nullptr && page.cx == pageSize_.cx && page.cy == pageSize_.cy)
        return pageBrush_;
    DropPageBrush();
    pageSize_ = page;
    pageBrush_ = GetSysColorBrush(COLOR_BTNFACE);
    if (page.cx <= 0 || page.cy <= 0)
        return pageBrush_;
    HTHEME theme = IsAppThemed() ? OpenThemeData(tabs, L"TAB") : nullptr;
    if (theme == nullptr)
        return pageBrush_;
    // The body of a tab page is a gradient on some themes: drawn once at the
    // size of a page and laid under every page and every control on it.
    HDC screen = GetDC(tabs);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, page.cx, page.cy);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, page.cx, page.cy};
    DrawThemeBackground(theme, dc, TABP_BODY, 0, &all, nullptr);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(tabs, screen);
    CloseThemeData(theme);
    pageBrush_ = CreatePatternBrush(bitmap);
    DeleteObject(bitmap);
    ownBrush_ = true;
    return pageBrush_;
}

}  // namespace velmo

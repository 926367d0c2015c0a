#pragma once

// How the window looks on this desktop: the system's dialog font and the
// model's fonts at the window's dots per inch, the colours, the themed
// background of the tab pages.

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>

#include "ui/model/controls.h"

namespace velmo {

// The dots per inch of a window on its monitor (the system's where the
// system knows no per-monitor value).
int DpiOf(HWND window);

// The frame of a top-level window around a client area of `width` by `height`.
SIZE WindowSizeFor(int width, int height, DWORD style, DWORD exStyle, int dpi);

// The text of a window.
std::wstring TextOf(HWND window);

// Whether a window is of a window class, such as WC_EDITW.
bool IsClass(HWND window, const wchar_t* name);

// A model colour as a colour of GDI: system colours follow the desktop.
COLORREF ColorOf(std::uint32_t color);

class Look {
  public:
    Look() = default;
    Look(const Look&) = delete;
    Look& operator=(const Look&) = delete;
    ~Look() { Clear(); }

    // Drops the fonts and the brush made for another DPI.
    void Reset(int dpi);

    // The font of a control: the system's dialog font for the model's
    // default one, with its size, weight and slant where the model sets
    // them; the named font at its size otherwise.
    HFONT Font(const FontSpec& wanted, bool underline = false);

    // The background of the tab pages: the tab control's themed body where
    // visual styles are on, the dialog colour otherwise. Made again when
    // asked for at another size: a page drawn while the layout changes asks
    // at its size of the moment.
    HBRUSH PageBrush(HWND tabs, SIZE page);

  private:
    void Clear();
    void DropPageBrush();

    int dpi_ = 96;
    std::map<std::string, HFONT> fonts_;
    HBRUSH pageBrush_ = nullptr;
    SIZE pageSize_{};  // of the page the brush was made for
    bool ownBrush_ = false;
};

}  // namespace velmo

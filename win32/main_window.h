#pragma once

// The window drawn from the window model with Win32 controls: one control
// per model control, at its place, on the pages of a tab control. User input
// becomes assignments and events on the model; changes on the model reach the
// controls without echoing back.

#include <windows.h>

#include <map>
#include <unordered_map>
#include <vector>

#include "ui/model/controls.h"
#include "win32/window_look.h"

namespace velmo {

struct App;

class MainWindow {
  public:
    explicit MainWindow(App& app);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND Handle() const { return window_; }

    // Keyboard navigation for a message of the message loop, before it is
    // translated and dispatched: Tab and Shift+Tab in the model's order, the
    // arrows within an option group, Alt with a caption's & letter,
    // Ctrl+Tab and Ctrl+Page Down/Up for the tabs, Enter on a button clicks
    // it; Escape does nothing. True when the window used the message.
    bool TranslateDialogKeys(MSG& message);

    // The control drawn for a model control (null for the ones drawn by none:
    // menus, the file dialog, frames that only group), and back.
    HWND WindowOf(const Control* control) const;
    Control* ControlOf(HWND window) const;
    HWND TabStrip() const { return tabs_; }
    HWND Page(int tab) const { return pages_.at(static_cast<size_t>(tab)); }

    // Twips to pixels at the window's dots per inch: 15 twips a pixel at 96.
    int Pixels(int twips) const { return MulDiv(twips, dpi_, 1440); }
    int Dpi() const { return dpi_; }

  private:
    static LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM w, LPARAM l);
    static LRESULT CALLBACK PageProc(HWND window, UINT message, WPARAM w, LPARAM l);
    static LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM w, LPARAM l, UINT_PTR id,
                                        DWORD_PTR self);
    LRESULT OnForm(UINT message, WPARAM w, LPARAM l);
    LRESULT OnPage(HWND page, UINT message, WPARAM w, LPARAM l);
    LRESULT OnControl(HWND window, Control* control, UINT message, WPARAM w, LPARAM l);

    void Build();
    HWND Create(Control& control, HWND page, bool groupStart);
    // Places and sizes every window at the current dots per inch, with its
    // font and picture: at creation and whenever the DPI changes.
    void Layout();
    void Place(Control& control, HWND window);
    void ShowPage(int tab);
    void Sync(Control* control, Property property);
    void SyncAll(Control& control);
    void SyncForm(Property property);
    void Command(HWND window, int code);
    void MouseMoved(Control& control, LPARAM at);

    // Where a control sits on its page, in pixels: its own place plus the
    // places of the frames around it.
    RECT PlaceOnPage(const Control& control) const;
    bool Shown(const Control& control) const;
    // Where the free room right of a place on a control's page ends.
    int RoomRightOf(const Control& control, const RECT& place) const;

    App& app_;
    HWND owner_ = nullptr;  // hidden: owning the window keeps it off the task bar
    HWND window_ = nullptr;
    HWND tabs_ = nullptr;
    HWND lastFocus_ = nullptr;  // where the focus was when the window was left
    std::vector<HWND> pages_;
    std::map<const Control*, HWND> windows_;
    std::unordered_map<HWND, Control*> controls_;
    std::map<const Control*, HBITMAP> pictures_;
    std::map<const Control*, FontSpec> fonts_;  // as fitted to the control's place
    Look look_;
    int dpi_ = 96;
    int pageTop_ = 0;        // twips of the tab control's top that lie above its pages, in pixels
    bool updating_ = false;  // the model is being drawn: notifications are not input
    bool closing_ = false;   // the window is being destroyed: nothing reaches the model
    wchar_t highSurrogate_ = 0;  // the first half of a character being typed, held back
    // The model outlives the window: the handler stops with the window's members.
    Connection changed_;
};

}  // namespace velmo

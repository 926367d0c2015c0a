#include "win32/main_window.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "platform/windows_text.h"
#include "ui/app.h"
#include "ui/tray.h"
#include "win32/pictures.h"

namespace velmo {

namespace {

constexpr wchar_t kFormClass[] = L"VelmoMainForm";
constexpr wchar_t kPageClass[] = L"VelmoTabPage";
constexpr UINT_PTR kSubclassId = 1;
constexpr DWORD kFormStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

void RegisterClasses() {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW form{};
    form.cbSize = sizeof form;
    form.lpszClassName = kFormClass;
    form.hInstance = instance;
    form.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    form.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    WNDCLASSEXW page = form;
    form.lpfnWndProc = DefWindowProcW;
    RegisterClassExW(&form);
    page.lpszClassName = kPageClass;
    page.lpfnWndProc = DefWindowProcW;
    page.hbrBackground = nullptr;  // painted with the tab page's brush
    RegisterClassExW(&page);
}

// The size of a text in a font, on one line or wrapped at `wrapWidth`.
SIZE TextSize(HFONT font, const std::wstring& text, int wrapWidth = 0) {
    // One memory device for all measures: a window's device costs a trip to
    // the window system each time.
    static HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT r{0, 0, wrapWidth > 0 ? wrapWidth : 1 << 20, 0};
    const UINT flags = DT_CALCRECT | DT_NOPREFIX | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE);
    DrawTextW(dc, text.empty() ? L" " : text.c_str(), -1, &r, flags);
    SelectObject(dc, old);
    return {r.right - r.left, r.bottom - r.top};
}

// The hidden owner of the window: a close request to it would destroy the
// window it owns with it, so it closes only when the window goes.
LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_CLOSE)
        return 0;
    return DefWindowProcW(window, message, w, l);
}

int CheckStateOf(Check value) {
    return value == Check::On       ? BST_CHECKED
           : value == Check::Greyed ? BST_INDETERMINATE
                                    : BST_UNCHECKED;
}

}  // namespace

MainWindow::MainWindow(App& app) : app_(app) {
    RegisterClasses();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    // Never shown: the window it owns has no button on the task bar.
    owner_ = CreateWindowExW(0, kFormClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                             nullptr);
    SetWindowLongPtrW(owner_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OwnerProc));
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kFormClass, L"Velmo", kFormStyle, CW_USEDEFAULT,
                              CW_USEDEFAULT, 400, 400, nullptr, nullptr, instance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FormProc));
    dpi_ = DpiOf(window_);
    look_.Reset(dpi_);
    if (HICON big = ProgramIcon(GetSystemMetrics(SM_CXICON)); big != nullptr)
        SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    if (HICON small = ProgramIcon(GetSystemMetrics(SM_CXSMICON)); small != nullptr)
        SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    Build();
    Layout();

    changed_ = app_.form.Changed.Connect(
        [this](Control* control, Property property) { Sync(control, property); });

    // A window built after start-up shows what start-up left in the model.
    SyncForm(Property::Caption);
    if (Control* active = app_.form.ActiveControl())
        Sync(active, Property::Focus);
    if (app_.form.Minimized) {
        SyncForm(Property::Minimized);
    } else if (app_.form.Visible) {
        SyncForm(Property::Visible);
    }
}

MainWindow::~MainWindow() {
    changed_.Disconnect();
    closing_ = true;
    for (const auto& [control, window] : windows_)
        RemoveWindowSubclass(window, &ControlProc, kSubclassId);
    RemoveWindowSubclass(tabs_, &ControlProc, kSubclassId);
    // The icons go once the window that shows them is gone.
    const HICON icons[] = {
        reinterpret_cast<HICON>(SendMessageW(window_, WM_GETICON, ICON_BIG, 0)),
        reinterpret_cast<HICON>(SendMessageW(window_, WM_GETICON, ICON_SMALL, 0))};
    DestroyWindow(window_);
    DestroyWindow(owner_);
    for (HICON icon : icons) {
        if (icon != nullptr)
            DestroyIcon(icon);
    }
    for (const auto& [control, bitmap] : pictures_) {
        if (bitmap != nullptr)
            DeleteObject(bitmap);
    }
}

HWND MainWindow::WindowOf(const Control* control) const {
    const auto it = windows_.find(control);
    return it == windows_.end() ? nullptr : it->second;
}

Control* MainWindow::ControlOf(HWND window) const {
    const auto it = controls_.find(window);
    return it == controls_.end() ? nullptr : it->second;
}

void MainWindow::Build() {
    MainForm& form = app_.form;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    tabs_ = CreateWindowExW(0, WC_TABCONTROLW, L"",
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | WS_GROUP, 0, 0,
                            100, 100, window_, nullptr, instance, nullptr);
    SetWindowSubclass(tabs_, &ControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    for (size_t i = 0; i < form.Tabs.TabCaptions.size(); ++i) {
        std::wstring caption = ToWide(form.Tabs.TabCaptions[i]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageW(tabs_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
        // Pages are control parents: the dialog keys go through their controls.
        HWND page = CreateWindowExW(WS_EX_CONTROLPARENT, kPageClass, L"", WS_CHILD, 0, 0, 10, 10,
                                    window_, nullptr, instance, nullptr);
        SetWindowLongPtrW(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetWindowLongPtrW(page, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PageProc));
        pages_.push_back(page);
    }
    // The strip lies under the pages and comes last in the Tab order.
    SetWindowPos(tabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    windows_[&form.Tabs] = tabs_;
    controls_[tabs_] = &form.Tabs;

    const Control* previous = nullptr;
    for (Control* c : form.Controls()) {
        if (c->Kind == ControlKind::Menu || c->Kind == ControlKind::CommonDialog ||
            c->Kind == ControlKind::TabControl || c->TabPage < 0 ||
            static_cast<size_t>(c->TabPage) >= pages_.size()) {
            continue;
        }
        // Option buttons of one container form one group for the arrow keys;
        // every other control is a group of its own.
        const bool groupStart = c->Kind != ControlKind::OptionButton || previous == nullptr ||
                                previous->Kind != ControlKind::OptionButton ||
                                previous->Container != c->Container;
        HWND w = Create(*c, pages_[static_cast<size_t>(c->TabPage)], groupStart);
        if (w == nullptr)
            continue;
        previous = c;
        windows_[c] = w;
        controls_[w] = c;
        SetWindowSubclass(w, &ControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    }
    for (Control* c : form.Controls()) {
        if (WindowOf(c) != nullptr && c != &form.Tabs)
            SyncAll(*c);
    }
    SyncAll(form.Tabs);
}

HWND MainWindow::Create(Control& c, HWND page, bool groupStart) {
    const wchar_t* kind = nullptr;
    DWORD style = WS_CHILD | (groupStart ? WS_GROUP : 0);
    DWORD exStyle = 0;
    switch (c.Kind) {
        case ControlKind::Label: {
            const auto& l = static_cast<Label&>(c);
            kind = WC_STATICW;
            // Captions are plain text: an & is shown as it is.
            style |= SS_NOPREFIX | SS_NOTIFY;
            if (l.Align == Alignment::Center) {
                style |= SS_CENTER;
            } else if (l.Align == Alignment::Right) {
                style |= SS_RIGHT;
            } else if (c.Position.height <= 300) {
                style |= SS_LEFTNOWORDWRAP;
            }
            break;
        }
        case ControlKind::TextBox: {
            const auto& t = static_cast<TextBox&>(c);
            kind = WC_EDITW;
            exStyle = WS_EX_CLIENTEDGE;
            style |= WS_TABSTOP | (t.ReadOnly ? ES_READONLY : 0);
            if (t.MultiLine) {
                style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL;
                // Both bars: lines run on, as in a plain-text mail.
                if (t.Bars == ScrollBars::Both)
                    style |= WS_HSCROLL | ES_AUTOHSCROLL;
            } else {
                style |= ES_AUTOHSCROLL;
            }
            break;
        }
        case ControlKind::CheckBox:
            kind = WC_BUTTONW;
            style |= WS_TABSTOP | BS_3STATE;  // the model ticks it
            break;
        case ControlKind::OptionButton:
            kind = WC_BUTTONW;
            // The model keeps the groups, and a group may have none selected.
            style |= WS_TABSTOP | BS_RADIOBUTTON;
            break;
        case ControlKind::ComboBox:
            kind = WC_COMBOBOXW;
            style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
            break;
        case ControlKind::CommandButton:
            kind = WC_BUTTONW;
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        case ControlKind::Frame:
            if (static_cast<Frame&>(c).Borderless)
                return nullptr;  // it only groups: its buttons sit on the page
            kind = WC_BUTTONW;
            style |= BS_GROUPBOX;
            break;
        case ControlKind::Image:
            kind = WC_STATICW;
            style |= SS_OWNERDRAW;
            break;
        case ControlKind::Line: {
            const auto& l = static_cast<LineShape&>(c);
            kind = WC_STATICW;
            style |= l.X1 == l.X2 ? SS_ETCHEDVERT : SS_ETCHEDHORZ;
            break;
        }
        case ControlKind::Slider:
            kind = TRACKBAR_CLASSW;
            style |= WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS | TBS_BOTTOM;
            break;
        default:
            return nullptr;
    }
    HWND w = CreateWindowExW(exStyle, kind, L"", style, 0, 0, 10, 10, page, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    if (w == nullptr)
        return nullptr;
    if (auto* t = c.As<TextBox>()) {
        // No limit but the model's: a pasted quote may be long.
        SendMessageW(w, EM_SETLIMITTEXT, t->MaxLength > 0 ? t->MaxLength : 0x7FFFFFFE, 0);
    } else if (auto* combo = c.As<ComboBox>()) {
        for (const Text& item : combo->Items)
            SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(item).c_str()));
    } else if (auto* s = c.As<SliderControl>()) {
        SendMessageW(w, TBM_SETRANGE, FALSE, MAKELPARAM(s->Min, s->Max));
        SendMessageW(w, TBM_SETPAGESIZE, 0, 1);
        SendMessageW(w, TBM_SETLINESIZE, 0, 1);
    }
    return w;
}

RECT MainWindow::PlaceOnPage(const Control& c) const {
    int left = 0;
    int top = 0;
    for (const Control* in = c.Container; in != nullptr; in = in->Container) {
        left += in->Position.left;
        top += in->Position.top;
    }
    Twips p = c.Position;
    if (const auto* l = dynamic_cast<const LineShape*>(&c)) {
        p = {std::min(l->X1, l->X2), std::min(l->Y1, l->Y2), std::abs(l->X2 - l->X1),
             std::abs(l->Y2 - l->Y1)};
    }
    const int x = Pixels(left + p.left);
    const int y = Pixels(top + p.top) - pageTop_;
    return {x, y, x + Pixels(p.width), y + Pixels(p.height)};
}

int MainWindow::RoomRightOf(const Control& c, const RECT& r) const {
    // The page is as wide as the window less the tab control's edges.
    int limit = Pixels(MainForm::kClientWidth) - MulDiv(8, dpi_, 96);
    for (const auto& [other, w] : windows_) {
        if (other == &c || other->TabPage != c.TabPage || other->Kind == ControlKind::Frame ||
            other == &app_.form.Tabs || !Shown(*other)) {
            continue;
        }
        const RECT o = PlaceOnPage(*other);
        // On the same row: more than a touch of their heights is shared.
        const int touch = MulDiv(3, dpi_, 96);
        if (o.left > r.left && o.top < r.bottom - touch && o.bottom > r.top + touch)
            limit = std::min<int>(limit, o.left - MulDiv(2, dpi_, 96));
    }
    return limit;
}

bool MainWindow::Shown(const Control& c) const {
    // An empty label shows nothing, and would hide what it overlaps.
    if (const auto* l = dynamic_cast<const Label*>(&c); l != nullptr && l->Caption.get().empty())
        return false;
    for (const Control* in = &c; in != nullptr; in = in->Container) {
        if (!in->Visible)
            return false;
        // Placed left of its frame's edge: out of sight, as its frame clips it.
        if (in->Container != nullptr && in->Position.left < 0)
            return false;
    }
    return true;
}

void MainWindow::Layout() {
    MainForm& form = app_.form;
    look_.Reset(dpi_);
    HFONT base = look_.Font(FontSpec{});
    SendMessageW(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(base), FALSE);

    // Positions count from the top of the tab control, strip included; the
    // highest control of any page goes just under the strip.
    int highest = MainForm::kClientHeight;
    for (Control* c : form.Controls()) {
        if (c->Container == nullptr && c->TabPage >= 0 && c->Kind != ControlKind::CommonDialog)
            highest = std::min(highest, c->Position.top);
    }
    pageTop_ = Pixels(highest) - MulDiv(4, dpi_, 96);
    int bottom = 0;
    for (Control* c : form.Controls()) {
        if (HWND w = WindowOf(c); w != nullptr && c != &form.Tabs) {
            Place(*c, w);
            RECT r{};
            GetWindowRect(w, &r);
            MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
            if (c->Container == nullptr)
                bottom = std::max<int>(bottom, r.bottom);
        }
    }

    // The client area the layout was made for, or more where this desktop's
    // tab strip and fonts leave the lowest buttons too little room.
    const int width = Pixels(MainForm::kClientWidth);
    int height = Pixels(MainForm::kClientHeight);
    SetWindowPos(tabs_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT inside{0, 0, width, height};
    SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&inside));
    const int margin = MulDiv(6, dpi_, 96);
    height = std::max<int>(height, inside.top + bottom + margin + (height - inside.bottom));
    SetWindowPos(tabs_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    inside = {0, 0, width, height};
    SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&inside));
    for (HWND page : pages_) {
        SetWindowPos(page, HWND_TOP, inside.left, inside.top, inside.right - inside.left,
                     inside.bottom - inside.top, SWP_NOACTIVATE);
    }
    look_.PageBrush(tabs_, {inside.right - inside.left, inside.bottom - inside.top});

    const SIZE outer = WindowSizeFor(width, height, kFormStyle, WS_EX_CONTROLPARENT, dpi_);
    SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window_, nullptr, TRUE);
}

void MainWindow::Place(Control& c, HWND w) {
    const bool underline = c.As<Label>() != nullptr && c.As<Label>()->FontUnderline;
    FontSpec& wanted = fonts_[&c];
    wanted = c.Font;
    HFONT font = look_.Font(wanted, underline);
    RECT r = PlaceOnPage(c);
    if (c.Kind == ControlKind::Label || c.Kind == ControlKind::Image) {
        // A picture that begins above and left of the place and runs into it
        // keeps the caption or picture below it; the place keeps its bottom.
        for (const Control* other : app_.form.Controls()) {
            if (other == &c)
                break;
            if (other->Kind != ControlKind::Image || other->TabPage != c.TabPage ||
                WindowOf(other) == nullptr) {
                continue;
            }
            const RECT o = PlaceOnPage(*other);
            if (o.left <= r.left && o.top <= r.top && o.bottom > r.top && o.right > r.left)
                r.top = o.bottom + Pixels(c.Kind == ControlKind::Label ? 15 : 30);
        }
        // A caption keeps a line's height.
        if (c.Kind == ControlKind::Label)
            r.bottom = std::max<LONG>(r.bottom, r.top + TextSize(font, L"Xg").cy);
    }
    int width = r.right - r.left;
    int height = r.bottom - r.top;
    const std::wstring text = TextOf(w);
    const SIZE line = TextSize(font, L"Xg");
    switch (c.Kind) {
        case ControlKind::Label:
            if ((GetWindowLongW(w, GWL_STYLE) & SS_TYPEMASK) == SS_LEFTNOWORDWRAP) {
                // A caption wider than its place in this desktop's font grows
                // over free room up to the next control on its row; past that
                // it is set a little smaller, down to four fifths.
                const int room = RoomRightOf(c, r) - r.left;
                while (TextSize(font, text).cx + 2 > room && wanted.size > c.Font.size * 0.8) {
                    wanted.size -= 0.25;
                    font = look_.Font(wanted, underline);
                }
                width = std::max<int>(width, TextSize(font, text).cx + 2);
            } else if (!text.empty()) {
                // A wrapped caption needs at least its widest word.
                for (size_t from = 0; from < text.size();) {
                    size_t to = text.find_first_of(L" \r\n", from);
                    to = to == std::wstring::npos ? text.size() : to;
                    width =
                        std::max<int>(width, TextSize(font, text.substr(from, to - from)).cx + 2);
                    from = to + 1;
                }
                height = std::max<int>(height, TextSize(font, text, width).cy);
            }
            break;
        case ControlKind::CheckBox:
        case ControlKind::OptionButton: {
            // The mark, the gap after it and the caption in this desktop's font.
            // They reach no further than the next control on their row
            // unless their caption needs it.
            const int mark = MulDiv(13 + 6, dpi_, 96);
            const int needed = mark + TextSize(font, text).cx;
            width = std::min(std::max(width, needed),
                             std::max<int>(RoomRightOf(c, r) - r.left, needed));
            // One height for all, so that a row of them lines up.
            height = std::max<int>(height, line.cy + MulDiv(4, dpi_, 96));
            break;
        }
        case ControlKind::TextBox:
            if (!c.As<TextBox>()->MultiLine)
                height = std::max<int>(height, line.cy + MulDiv(6, dpi_, 96));
            break;
        case ControlKind::CommandButton:
            height = std::max<int>(height, line.cy + MulDiv(8, dpi_, 96));
            break;
        case ControlKind::ComboBox:
            // The window's height includes the open list.
            height = Pixels(c.Position.height) + line.cy * 6;
            break;
        case ControlKind::Line: {
            const bool vertical = width < height;
            (vertical ? width : height) = 2;
            if (vertical)
                r.left -= 1;
            break;
        }
        case ControlKind::Image:
        case ControlKind::Frame:
        case ControlKind::Slider:
        default:
            break;
    }
    SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetWindowPos(w, nullptr, r.left, r.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

    // Pictures at the size they are drawn.
    std::string picture;
    if (auto* image = c.As<Image>())
        picture = image->Picture;
    if (auto* button = c.As<CommandButton>())
        picture = button->Picture;
    if (picture.empty())
        return;
    HBITMAP& bitmap = pictures_[&c];
    if (bitmap != nullptr)
        DeleteObject(bitmap);
    const bool stretch = c.As<Image>() != nullptr && c.As<Image>()->Stretch;
    const int inset = c.Kind == ControlKind::CommandButton ? MulDiv(8, dpi_, 96) : 0;
    const int side = std::min(width, height) - inset;
    bitmap = stretch ? Picture(picture, width, height) : Picture(picture, side, side);
    if (c.Kind == ControlKind::CommandButton) {
        // Without its picture a browse button says what it is with "...".
        LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
        style = bitmap != nullptr ? style | BS_BITMAP : style & ~static_cast<LONG_PTR>(BS_BITMAP);
        SetWindowLongPtrW(w, GWL_STYLE, style);
        SendMessageW(w, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
        if (bitmap == nullptr && c.As<CommandButton>()->Caption.get().empty())
            SetWindowTextW(w, L"...");
    }
    InvalidateRect(w, nullptr, TRUE);
}

void MainWindow::ShowPage(int tab) {
    if (SendMessageW(tabs_, TCM_GETCURSEL, 0, 0) != tab)
        SendMessageW(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
    HWND focus = GetFocus();
    bool left = false;
    for (size_t i = 0; i < pages_.size(); ++i) {
        if (static_cast<int>(i) == tab)
            ShowWindow(pages_[i], SW_SHOWNA);
    }
    for (size_t i = 0; i < pages_.size(); ++i) {
        if (static_cast<int>(i) != tab) {
            // The focus on a page going out of sight goes to the tab strip.
            if (focus != nullptr && IsChild(pages_[i], focus)) {
                SetFocus(tabs_);
                left = true;
            }
            ShowWindow(pages_[i], SW_HIDE);
        }
    }
    // The model's focus goes with it, whoever turned the page: the control
    // left runs its LostFocus.
    if (left)
        app_.form.Tabs.SetFocus();
}

void MainWindow::SyncAll(Control& c) {
    for (Property property :
         {Property::Caption, Property::TextContent, Property::Value, Property::Enabled,
          Property::Visible, Property::ForeColor, Property::FontUnderline, Property::Tab}) {
        Sync(&c, property);
    }
}

void MainWindow::SyncForm(Property property) {
    MainForm& form = app_.form;
    switch (property) {
        case Property::Caption:
            SetWindowTextW(window_, ToWide(form.Caption.get()).c_str());
            break;
        case Property::Visible:
        case Property::Minimized: {
            if (property == Property::Visible && !form.Visible) {
                ShowWindow(window_, SW_HIDE);
                break;
            }
            if (property == Property::Minimized && !form.Minimized)
                break;
            // Owned by a hidden window it has no button on the task bar: so
            // while the notification icon is the way back to it.
            HWND owner = ListedOnTaskBar(app_) ? nullptr : owner_;
            if (reinterpret_cast<HWND>(GetWindowLongPtrW(window_, GWLP_HWNDPARENT)) != owner) {
                const bool visible = IsWindowVisible(window_) != FALSE;
                if (visible)
                    ShowWindow(window_, SW_HIDE);
                SetWindowLongPtrW(window_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
            }
            if (property == Property::Minimized) {
                ShowWindow(window_, SW_SHOWMINNOACTIVE);
            } else {
                ShowWindow(window_, IsIconic(window_) ? SW_RESTORE : SW_SHOW);
                SetForegroundWindow(window_);
            }
            break;
        }
        case Property::Refresh:
            RedrawWindow(window_, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            break;
        default:
            break;
    }
}

void MainWindow::Sync(Control* c, Property property) {
    if (closing_)
        return;
    const bool wasUpdating = updating_;
    updating_ = true;
    if (c == nullptr) {
        SyncForm(property);
        updating_ = wasUpdating;
        return;
    }
    HWND w = WindowOf(c);
    switch (property) {
        case Property::Enabled:
        case Property::Visible:
            // A frame's state reaches what is inside it.
            for (Control* inner : app_.form.Controls()) {
                bool inside = false;
                for (const Control* in = inner; in != nullptr && !inside; in = in->Container)
                    inside = in == c;
                HWND iw = WindowOf(inner);
                if (!inside || iw == nullptr || inner == &app_.form.Tabs)
                    continue;
                if (property == Property::Enabled) {
                    EnableWindow(iw, inner->EffectivelyEnabled());
                } else {
                    ShowWindow(iw, Shown(*inner) ? SW_SHOWNA : SW_HIDE);
                }
            }
            break;
        case Property::Focus:
            if (w != nullptr && GetFocus() != w)
                SetFocus(w);
            break;
        case Property::Caption: {
            Text caption;
            if (auto* l = c->As<Label>())
                caption = l->Caption;
            else if (auto* b = c->As<CheckBox>())
                caption = b->Caption;
            else if (auto* o = c->As<OptionButton>())
                caption = o->Caption;
            else if (auto* cb = c->As<CommandButton>())
                caption = cb->Caption;
            else if (auto* f = c->As<Frame>())
                caption = f->Caption;
            else
                break;
            if (w != nullptr &&
                !(c->As<CommandButton>() && !c->As<CommandButton>()->Picture.empty()))
                SetWindowTextW(w, ToWide(caption).c_str());
            if (w != nullptr && c->Kind == ControlKind::Label)
                ShowWindow(w, Shown(*c) ? SW_SHOWNA : SW_HIDE);
            break;
        }
        case Property::TextContent:
            if (w == nullptr)
                break;
            if (auto* t = c->As<TextBox>()) {
                const std::wstring text = ToWide(t->Text.get());
                if (TextOf(w) != text)
                    SetWindowTextW(w, text.c_str());
            } else if (auto* combo = c->As<ComboBox>()) {
                const auto found =
                    std::find(combo->Items.begin(), combo->Items.end(), combo->Text.get());
                const LRESULT index =
                    found == combo->Items.end() ? -1 : found - combo->Items.begin();
                SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
            }
            break;
        case Property::Value:
            if (w == nullptr)
                break;
            if (auto* b = c->As<CheckBox>())
                SendMessageW(w, BM_SETCHECK, CheckStateOf(b->Value), 0);
            if (auto* o = c->As<OptionButton>())
                SendMessageW(w, BM_SETCHECK, o->Value ? BST_CHECKED : BST_UNCHECKED, 0);
            if (auto* s = c->As<SliderControl>())
                SendMessageW(w, TBM_SETPOS, TRUE, s->Value);
            break;
        case Property::ForeColor:
        case Property::FontUnderline:
            if (auto* l = c->As<Label>(); l != nullptr && w != nullptr) {
                SendMessageW(w, WM_SETFONT,
                             reinterpret_cast<WPARAM>(look_.Font(fonts_[c], l->FontUnderline)),
                             FALSE);
                InvalidateRect(w, nullptr, TRUE);
            }
            break;
        case Property::Tab:
            if (auto* t = c->As<TabControl>())
                ShowPage(t->Tab);
            break;
        case Property::Refresh:
            if (w != nullptr)
                InvalidateRect(w, nullptr, TRUE);
            break;
        default:
            break;
    }
    updating_ = wasUpdating;
}

}  // namespace velmo

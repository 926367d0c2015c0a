#include "win32/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>

#include "platform/windows_text.h"
#include "ui/app.h"
#include "ui/startup.h"
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

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
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

bool IsClass(HWND window, const wchar_t* name) {
    wchar_t found[32] = {};
    GetClassNameW(window, found, 32);
    return lstrcmpiW(found, name) == 0;
}

int CheckStateOf(Check value) {
    return value == Check::On       ? BST_CHECKED
           : value == Check::Greyed ? BST_INDETERMINATE
                                    : BST_UNCHECKED;
}

// The window of the focus, as one of ours or the control that holds it.
HWND Focused() {
    return GetFocus();
}

}  // namespace

MainWindow::MainWindow(App& app) : app_(app) {
    RegisterClasses();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    // Never shown: the window it owns has no button on the task bar.
    owner_ = CreateWindowExW(0, kFormClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                             nullptr);
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
    for (HICON icon : {reinterpret_cast<HICON>(SendMessageW(window_, WM_GETICON, ICON_BIG, 0)),
                       reinterpret_cast<HICON>(SendMessageW(window_, WM_GETICON, ICON_SMALL, 0))}) {
        if (icon != nullptr)
            DestroyIcon(icon);
    }
    DestroyWindow(window_);
    DestroyWindow(owner_);
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
    FontSpec& spec = fonts_[&c];
    spec = c.Font;
    HFONT font = look_.Font(spec, underline);
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
                while (TextSize(font, text).cx + 2 > room && spec.size > c.Font.size * 0.8) {
                    spec.size -= 0.25;
                    font = look_.Font(spec, underline);
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
            const int mark = MulDiv(13 + 6, dpi_, 96);
            width = std::max<int>(width, mark + TextSize(font, text).cx);
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
    HWND focus = Focused();
    for (size_t i = 0; i < pages_.size(); ++i) {
        if (static_cast<int>(i) == tab)
            ShowWindow(pages_[i], SW_SHOWNA);
    }
    for (size_t i = 0; i < pages_.size(); ++i) {
        if (static_cast<int>(i) != tab) {
            // The focus on a page going out of sight goes to the tab strip.
            if (focus != nullptr && IsChild(pages_[i], focus))
                SetFocus(tabs_);
            ShowWindow(pages_[i], SW_HIDE);
        }
    }
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

void MainWindow::Command(HWND w, int code) {
    Control* c = ControlOf(w);
    if (c == nullptr || updating_ || closing_)
        return;
    if (auto* b = c->As<CommandButton>(); b != nullptr && code == BN_CLICKED) {
        b->Click();
    } else if (auto* box = c->As<CheckBox>(); box != nullptr && code == BN_CLICKED) {
        box->UserClick();
        Sync(box, Property::Value);  // in case the model kept its value
    } else if (auto* option = c->As<OptionButton>(); option != nullptr && code == BN_CLICKED) {
        option->Value = true;
        Sync(option, Property::Value);
    } else if (auto* text = c->As<TextBox>(); text != nullptr && code == EN_CHANGE) {
        text->Text = FromWide(TextOf(w));
    } else if (auto* combo = c->As<ComboBox>(); combo != nullptr && code == CBN_SELCHANGE) {
        const LRESULT index = SendMessageW(w, CB_GETCURSEL, 0, 0);
        if (index >= 0 && static_cast<size_t>(index) < combo->Items.size())
            combo->Text = combo->Items[static_cast<size_t>(index)];
        Sync(combo, Property::TextContent);
    } else if (auto* label = c->As<Label>(); label != nullptr && code == STN_CLICKED) {
        label->Click();
    }
}

void MainWindow::MouseMoved(Control& c, LPARAM at) {
    // Positions in twips, as the model counts them.
    const double x = MulDiv(GET_X_LPARAM(at), 1440, dpi_);
    const double y = MulDiv(GET_Y_LPARAM(at), 1440, dpi_);
    c.MouseMove(0, 0, x, y);
}

bool MainWindow::TranslateDialogKeys(MSG& m) {
    if (window_ == nullptr || (m.hwnd != window_ && !IsChild(window_, m.hwnd)))
        return false;
    if (m.message == WM_KEYDOWN) {
        const bool control = GetKeyState(VK_CONTROL) < 0;
        const bool shift = GetKeyState(VK_SHIFT) < 0;
        const int count = static_cast<int>(pages_.size());
        const int tab = app_.form.Tabs.Tab;
        if (control && (m.wParam == VK_TAB || m.wParam == VK_NEXT || m.wParam == VK_PRIOR)) {
            const bool back = m.wParam == VK_PRIOR || (m.wParam == VK_TAB && shift);
            app_.form.Tabs.Tab = (tab + (back ? count - 1 : 1)) % count;
            return true;
        }
        if (m.wParam == VK_RETURN) {
            Control* c = ControlOf(Focused());
            if (auto* text = c != nullptr ? c->As<TextBox>() : nullptr;
                text != nullptr && !text->MultiLine) {
                // A key press that a one-line box has no use for.
                text->PressKey(13);
                return true;
            }
            if (c != nullptr && c->Kind == ControlKind::CommandButton) {
                SendMessageW(m.hwnd, BM_CLICK, 0, 0);
                return true;
            }
        }
    }
    return IsDialogMessageW(window_, &m) != FALSE;
}

LRESULT CALLBACK MainWindow::FormProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || self->window_ != window)
        return DefWindowProcW(window, message, w, l);
    return self->OnForm(message, w, l);
}

LRESULT MainWindow::OnForm(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_CLOSE:
            if (!closing_)
                Form_QueryUnload(app_);
            return 0;
        case WM_COMMAND:
            // IDOK and IDCANCEL from Enter and Escape: the window has no
            // default button, and Escape closes nothing.
            return 0;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(l);
            if (header->hwndFrom == tabs_ && header->code == TCN_SELCHANGE && !updating_ &&
                !closing_) {
                const int tab = static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0));
                app_.form.Tabs.Tab = tab;
                Sync(&app_.form.Tabs, Property::Tab);  // in case the model kept its tab
            }
            return 0;
        }
        case WM_SIZE:
            if (!updating_ && !closing_ && (w == SIZE_MINIMIZED || w == SIZE_RESTORED)) {
                updating_ = true;
                app_.form.Minimized = w == SIZE_MINIMIZED;
                updating_ = false;
            }
            return 0;
        case WM_ACTIVATE:
            // The focus leaves with the window and comes back to where it was,
            // as in a dialog; the first time to the first control.
            if (LOWORD(w) == WA_INACTIVE) {
                if (HWND focus = GetFocus(); focus != nullptr && IsChild(window_, focus))
                    lastFocus_ = focus;
            } else {
                const auto usable = [](HWND focus) {
                    return focus != nullptr && IsWindow(focus) && IsWindowVisible(focus) &&
                           IsWindowEnabled(focus);
                };
                HWND focus = lastFocus_;
                if (!usable(focus))
                    focus = WindowOf(app_.form.ActiveControl());
                if (!usable(focus))
                    focus = GetNextDlgTabItem(window_, nullptr, FALSE);
                if (focus != nullptr)
                    SetFocus(focus);
            }
            return 0;
        case WM_DPICHANGED: {
            dpi_ = HIWORD(w);
            Layout();
            const auto* suggested = reinterpret_cast<const RECT*>(l);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_SETTINGCHANGE:
            if (w == SPI_SETNONCLIENTMETRICS)
                Layout();
            break;
        case WM_SYSCOLORCHANGE:
        case WM_THEMECHANGED:
            Layout();
            break;
        default:
            break;
    }
    return DefWindowProcW(window_, message, w, l);
}

LRESULT CALLBACK MainWindow::PageProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcW(window, message, w, l);
    return self->OnPage(window, message, w, l);
}

LRESULT MainWindow::OnPage(HWND page, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_COMMAND:
            if (l != 0)
                Command(reinterpret_cast<HWND>(l), HIWORD(w));
            return 0;
        case WM_HSCROLL: {
            Control* c = ControlOf(reinterpret_cast<HWND>(l));
            if (auto* s = c != nullptr ? c->As<SliderControl>() : nullptr;
                s != nullptr && !updating_ && !closing_) {
                s->Value =
                    static_cast<int>(SendMessageW(reinterpret_cast<HWND>(l), TBM_GETPOS, 0, 0));
                Sync(s, Property::Value);
            }
            return 0;
        }
        case WM_ERASEBKGND: {
            RECT r{};
            GetClientRect(page, &r);
            FillRect(reinterpret_cast<HDC>(w), &r, look_.PageBrush(tabs_, {r.right, r.bottom}));
            return 1;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            auto* control = reinterpret_cast<HWND>(l);
            // A read-only box keeps the look of one.
            if (IsClass(control, WC_EDITW))
                break;
            auto* dc = reinterpret_cast<HDC>(w);
            SetBkMode(dc, TRANSPARENT);
            if (auto* label = ControlOf(control) ? ControlOf(control)->As<Label>() : nullptr;
                label != nullptr && IsWindowEnabled(control)) {
                SetTextColor(dc, ColorOf(label->ForeColor));
            }
            // The page's background, lined up with the page under the control.
            RECT r{};
            GetWindowRect(control, &r);
            MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
            SetBrushOrgEx(dc, -r.left, -r.top, nullptr);
            RECT all{};
            GetClientRect(page, &all);
            return reinterpret_cast<LRESULT>(look_.PageBrush(tabs_, {all.right, all.bottom}));
        }
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
            Control* c = ControlOf(item->hwndItem);
            const auto found = pictures_.find(c);
            if (found == pictures_.end() || found->second == nullptr)
                return TRUE;
            BITMAP size{};
            GetObjectW(found->second, sizeof size, &size);
            HDC source = CreateCompatibleDC(item->hDC);
            HGDIOBJ old = SelectObject(source, found->second);
            const RECT& r = item->rcItem;
            const int x = r.left + (r.right - r.left - size.bmWidth) / 2;
            const int y = r.top + (r.bottom - r.top - size.bmHeight) / 2;
            const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            GdiAlphaBlend(item->hDC, x, y, size.bmWidth, size.bmHeight, source, 0, 0, size.bmWidth,
                          size.bmHeight, blend);
            SelectObject(source, old);
            DeleteDC(source);
            return TRUE;
        }
        case WM_MOUSEMOVE:
            // The background of a page belongs to the tab control.
            if (!closing_)
                MouseMoved(app_.form.Tabs, l);
            return 0;
        case WM_CLOSE:
            return 0;  // a page closes only with its window
        default:
            break;
    }
    return DefWindowProcW(page, message, w, l);
}

LRESULT CALLBACK MainWindow::ControlProc(HWND window, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                                         DWORD_PTR data) {
    auto* self = reinterpret_cast<MainWindow*>(data);
    Control* c = self->ControlOf(window);
    if (c == nullptr || self->closing_)
        return DefSubclassProc(window, message, w, l);
    return self->OnControl(window, c, message, w, l);
}

LRESULT MainWindow::OnControl(HWND window, Control* c, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_SETFOCUS: {
            const LRESULT result = DefSubclassProc(window, message, w, l);
            if (!updating_ && c != &app_.form.Tabs)
                c->SetFocus();
            return result;
        }
        case WM_MOUSEMOVE:
            // A move over a label is the label's alone; the strip's is the tab control's.
            if (c->Kind == ControlKind::Label || c == &app_.form.Tabs)
                MouseMoved(*c, l);
            break;
        case WM_GETDLGCODE:
            if (c->Kind == ControlKind::TextBox && l != 0) {
                // Tab and Escape are the window's, also in a multi-line box.
                const auto* key = reinterpret_cast<const MSG*>(l);
                if ((key->message == WM_KEYDOWN || key->message == WM_CHAR) &&
                    (key->wParam == VK_TAB || key->wParam == VK_ESCAPE)) {
                    return DefSubclassProc(window, message, w, l) &
                           ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE);
                }
            }
            break;
        case WM_SETTEXT: {
            // A multi-line box tells no change of a text set from outside
            // (an automation tool, another program): it is input too.
            const LRESULT result = DefSubclassProc(window, message, w, l);
            if (auto* text = c->As<TextBox>(); text != nullptr && !updating_)
                text->Text = FromWide(TextOf(window));
            return result;
        }
        case WM_CHAR:
            if (auto* text = c->As<TextBox>(); text != nullptr && w != VK_TAB && w != VK_ESCAPE) {
                // Control characters too (Ctrl+V is 22), so that a box that
                // refuses typing refuses a paste as well.
                if (text->PressKey(static_cast<int>(w)) == 0)
                    return 0;
            }
            break;
        default:
            break;
    }
    return DefSubclassProc(window, message, w, l);
}

}  // namespace velmo

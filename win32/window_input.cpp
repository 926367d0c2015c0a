#include "win32/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <utility>

#include "platform/windows_text.h"
#include "ui/app.h"
#include "ui/startup.h"

// What reaches the window from the user, as assignments and events on the
// model: notifications of the controls, the mouse, the keys, the window's
// own state.

namespace velmo {

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
            Control* c = ControlOf(GetFocus());
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
            // The tab strip is the tab control's: a move to it is a move
            // of the model's focus too, and the control left loses it.
            if (!updating_)
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
                // A character past U+FFFF comes in two halves: the model hears
                // of it once, whole, and the box takes both halves or neither.
                if (IS_HIGH_SURROGATE(w)) {
                    highSurrogate_ = static_cast<wchar_t>(w);
                    return 0;
                }
                const wchar_t high = std::exchange(highSurrogate_, L'\0');
                const bool pair = high != L'\0' && IS_LOW_SURROGATE(w);
                const int code =
                    pair ? 0x10000 + ((high - 0xD800) << 10) + (static_cast<int>(w) - 0xDC00)
                         : static_cast<int>(w);
                // Control characters too (Ctrl+V is 22), so that a box that
                // refuses typing refuses a paste as well.
                if (text->PressKey(code) == 0)
                    return 0;
                if (pair)
                    DefSubclassProc(window, message, high, l);
            }
            break;
        default:
            break;
    }
    return DefSubclassProc(window, message, w, l);
}

}  // namespace velmo

#include "win32/main_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/windows_text.h"
#include "support/fakes.h"

namespace velmo {
namespace {

std::string Utf8(const std::wstring& text) {
    return ToUtf8(FromWide(text));
}

std::wstring TextOf(HWND w) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring ClassOf(HWND w) {
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    return name;
}

// What a window shows: "(off) ", "(hidden) ", its text, selection or
// position, a check mark, a label's colour other than black, "_" when
// underlined.
std::string Shown(HWND w) {
    const LONG style = GetWindowLongW(w, GWL_STYLE);
    std::string s = std::string(IsWindowEnabled(w) ? "" : "(off) ") +
                    ((style & WS_VISIBLE) != 0 ? "" : "(hidden) ");
    const std::wstring kind = ClassOf(w);
    if (kind == WC_COMBOBOXW) {
        const LRESULT index = SendMessageW(w, CB_GETCURSEL, 0, 0);
        if (index >= 0) {
            std::wstring item(static_cast<size_t>(SendMessageW(w, CB_GETLBTEXTLEN, index, 0)) + 1,
                              L'\0');
            SendMessageW(w, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(item.data()));
            s += Utf8(item.c_str());
        }
    } else if (kind == TRACKBAR_CLASSW) {
        s += std::to_string(SendMessageW(w, TBM_GETPOS, 0, 0));
    } else if (kind == WC_TABCONTROLW) {
        s += std::to_string(SendMessageW(w, TCM_GETCURSEL, 0, 0));
    } else {
        s += Utf8(TextOf(w));
    }
    if (kind == WC_BUTTONW) {
        const LONG type = style & BS_TYPEMASK;
        const LRESULT check = SendMessageW(w, BM_GETCHECK, 0, 0);
        if (type == BS_3STATE)
            s += check == BST_CHECKED ? " [x]" : check == BST_INDETERMINATE ? " [-]" : " [ ]";
        if (type == BS_RADIOBUTTON)
            s += check == BST_CHECKED ? " (o)" : " ( )";
    }
    if (kind == WC_STATICW && (style & SS_TYPEMASK) != SS_OWNERDRAW) {
        // The colour the page gives the label to draw with.
        HDC dc = CreateCompatibleDC(nullptr);
        SetTextColor(dc, RGB(0, 0, 0));
        SendMessageW(GetParent(w), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(w));
        const COLORREF color = GetTextColor(dc);
        DeleteDC(dc);
        if (color != RGB(0, 0, 0)) {
            char hex[16];
            snprintf(hex, sizeof hex, " #%02x%02x%02x", GetRValue(color), GetGValue(color),
                     GetBValue(color));
            s += hex;
        }
    }
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)), sizeof font, &font);
    return s + (font.lfUnderline ? "_" : "");
}

void Assign(Control& c, int value) {
    if (auto* box = c.As<CheckBox>())
        box->Value = static_cast<Check>(value);
    if (auto* option = c.As<OptionButton>())
        option->Value = value != 0;
}

// The events a control raises for its user.
Connection Count(Control& c, int& n) {
    const auto count = [&n] { ++n; };
    if (auto* b = c.As<CheckBox>())
        return b->Click.Connect(count);
    if (auto* o = c.As<OptionButton>())
        return o->Click.Connect(count);
    if (auto* t = c.As<TextBox>())
        return t->Change.Connect(count);
    if (auto* s = c.As<SliderControl>())
        return s->Change.Connect(count);
    if (auto* l = c.As<Label>())
        return l->Click.Connect(count);
    return {};
}

// A program with its window built before any change.
struct Program {
    testing::TestApp t;
    MainForm& form = t.app.form;
    std::unique_ptr<MainWindow> w = std::make_unique<MainWindow>(t.app);

    HWND Get(const char* name) const {
        HWND window = w->WindowOf(form.Find(name));
        EXPECT_NE(window, nullptr) << name;
        return window;
    }
    void Show(int tab = 0) {
        form.Show();
        form.Tabs.Tab = tab;
    }
};

// Keys typed at the end of a box's text.
void Type(HWND w, const char* keys) {
    SendMessageW(w, EM_SETSEL, GetWindowTextLengthW(w), GetWindowTextLengthW(w));
    for (const char* k = keys; *k != '\0'; ++k)
        SendMessageW(w, WM_CHAR, static_cast<unsigned char>(*k), 1);
}

// Each row: a model change, then what the user does to one control's window;
// what that window shows, what a window built afterwards shows of the model,
// and how many of the control's events ran (one per real change: no echo).
TEST(MainWindowTableTest, ModelChangesAreDrawnAndUserInputReachesTheModel) {
    using Input = std::function<void(HWND)>;
    const Input click = [](HWND w) { SendMessageW(w, BM_CLICK, 0, 0); };
    const auto type = [](const char* keys) { return [keys](HWND w) { Type(w, keys); }; };
    const Input setText = [](HWND w) { SetWindowTextW(w, L"Jane Roe\r\nExample Ltd."); };
    const Input down = [](HWND w) { SendMessageW(w, WM_KEYDOWN, VK_DOWN, 0); };
    const Input right4 = [](HWND w) {
        for (int i = 0; i < 4; ++i)
            SendMessageW(w, WM_KEYDOWN, VK_RIGHT, 0);
    };
    const Input tab4 = [](HWND w) {
        // A click on the fifth tab.
        RECT r{};
        SendMessageW(w, TCM_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(w, WM_LBUTTONUP, 0, at);
    };
    const Input hover = [](HWND w) { SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2)); };
    const Input cross = [hover](HWND w) { hover(w), hover(GetParent(w)); };
    const struct {
        int tab;
        const char* control;  // assigned `value` before the input, or none
        int value;
        const char* window;
        Input input;        // none: only the assignment
        std::string read;   // controls shown, after the window, by a window built afterwards
        const char* shown;  // "|" between
        int events;         // of the window's control
    } cases[] = {
        {1, nullptr, 0, "frmTopBorder", {}, "", "(off) Top Border ", 0},
        {1, "chkBorder", 1, "cmbPlainWidth", {}, "", "(hidden) ", 0},
        {1, "chkBorder", 1, "txtTopLike", {}, "", "", 0},
        {4, "chkClipboard", 2, "chkClipboard", {}, "", "&Clipboard [-]", 1},
        // A group may have none chosen.
        {1, "optTopRepeat", 0, "optTopRepeat", {}, "", "(off) Repeat ( )", 0},
        {2, nullptr, 0, "optRightLike", {}, "", "(off) (hidden) Like ( )", 0},
        {4, "chkClipboard", 2, "chkClipboard", click, "chkClipboard",
         "&Clipboard [x]|&Clipboard [x]", 2},
        {4, "chkSignatureFile", 1, "chkSignatureFile", click, "chkSignatureFile",
         "&Send to Signature File [ ]|&Send to Signature File [ ]", 1},
        {4, nullptr, 0, "optHTML", click, "optText optHTML", "HTML (o)|Text ( )|HTML (o)", 1},
        {4, "optHTML", 1, "optHTML", click, "optText optHTML", "HTML (o)|Text ( )|HTML (o)", 1},
        // Typing into a Like border chooses it; the length shown is the one before the key.
        {1, "chkBorder", 1, "txtTopLike", type("abc\b"), "txtTopLike lblTopLikeLength optTopLike",
         "ab|ab|3|Like (o)", 4},
        {1, "chkBorder", 1, "txtTopRepeat", type("12345678"), "txtTopRepeat", "*12345|*12345", 5},
        {0, nullptr, 0, "txtEntry", type("hi\ryo\b"), "txtEntry", "hi\r\ny|hi\r\ny", 6},
        {0, nullptr, 0, "txtPreviewVariable", type("xy\b\r"), "txtPreviewVariable", "|", 0},
        {3, nullptr, 0, "txtFixedText", setText, "txtFixedText",
         "Jane Roe\r\nExample Ltd.|Jane Roe\r\nExample Ltd.", 1},
        {1, nullptr, 0, "cmbPlainWidth", down, "cmbPlainWidth", "40|40", 0},
        {4, nullptr, 0, "sldChangeInterval", right4, "sldChangeInterval lblChangeInterval",
         "4|4|1 Hour", 4},
        {0, nullptr, 0, "Tabs", tab4, "Tabs", "4|4", 0},
        // A link is underlined and blue while hovered, until the mouse crosses its page.
        {5, nullptr, 0, "lblMailAddress", hover, "", "velmo@example.org #0000ff_", 0},
        {5, nullptr, 0, "lblMailAddress", cross, "", "velmo@example.org", 0},
        {5, nullptr, 0, "lblHomePageTitle", {}, "", "Home Page for Velmo #ff0000", 0},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.window + (" after " + std::to_string(&row - cases)));
        Program p;
        int events = 0;
        const Connection counting = Count(*p.form.Find(row.window), events);
        if (row.control != nullptr)
            Assign(*p.form.Find(row.control), row.value);
        p.Show(row.tab);
        HWND window = p.Get(row.window);
        if (row.input)
            row.input(window);
        std::string shown = Shown(window);
        // The model outlives its window: changes after the window is gone
        // must reach nothing.
        p.w.reset();
        p.form.Caption = U"after";
        // A window built now draws what the model holds.
        MainWindow after{p.t.app};
        EXPECT_TRUE(IsWindowVisible(after.Handle()));
        EXPECT_EQ(Utf8(TextOf(after.Handle())), "after");
        for (size_t from = 0; from < row.read.size();) {
            size_t to = row.read.find(' ', from);
            to = to == std::string::npos ? row.read.size() : to;
            shown += "|" + Shown(after.WindowOf(p.form.Find(row.read.substr(from, to - from))));
            from = to + 1;
        }
        EXPECT_EQ(shown, row.shown);
        EXPECT_EQ(events, row.events);
    }
}

// At the window's first DPI and after a move to a monitor of twice as many
// dots, every control is one window on its own page, inside it, with its
// font at that DPI; only the selected page is shown.
TEST(MainWindowTest, EveryControlSitsOnItsPageAtEveryDpi) {
    Program p;
    p.Show(2);
    const int first = p.w->Dpi();
    const auto fontHeight = [](HWND w) {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)), sizeof font, &font);
        return std::abs(font.lfHeight);
    };
    const LONG exitFont = fontHeight(p.Get("cmdExit"));
    for (const int dpi : {first, 2 * first}) {
        SCOPED_TRACE(dpi);
        RECT suggested{0, 0, 800, 900};
        SendMessageW(p.w->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(fontHeight(p.Get("cmdExit")), exitFont * dpi / first);
        RECT exit{};
        GetWindowRect(p.Get("cmdExit"), &exit);
        EXPECT_EQ(exit.right - exit.left, MulDiv(855, dpi, 1440));
        for (Control* c : p.form.Controls()) {
            SCOPED_TRACE(c->Name);
            HWND w = p.w->WindowOf(c);
            if (c->Kind == ControlKind::Menu || c->Kind == ControlKind::CommonDialog ||
                c == &p.form.Tabs || (c->Kind == ControlKind::Frame && w == nullptr)) {
                continue;
            }
            ASSERT_NE(w, nullptr);
            HWND page = p.w->Page(c->TabPage);
            EXPECT_EQ(GetParent(w), page);
            EXPECT_EQ(IsWindowVisible(page) != FALSE, c->TabPage == 2);
            RECT r{}, room{};
            GetWindowRect(w, &r);
            MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
            GetClientRect(page, &room);
            if (c->Kind == ControlKind::ComboBox)
                r.bottom = r.top + 1;  // its open list may reach below
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= room.right &&
                        r.bottom <= room.bottom)
                << r.left << "," << r.top << " " << r.right << "," << r.bottom;
        }
    }
}

// A character past U+FFFF comes as two WM_CHAR halves: the model hears of it
// once, whole, and a box that refuses typing takes neither half.
TEST(MainWindowTest, ACharacterPastTheFirstPlaneIsOneKeyPress) {
    Program p;
    p.Show(0);
    std::vector<int> keys;
    const Connection pressed =
        p.form.txtEntry.KeyPress.Connect([&](int& key) { keys.push_back(key); });
    for (const char* name : {"txtEntry", "txtPreviewVariable"}) {
        SCOPED_TRACE(name);
        HWND box = p.Get(name);
        SetWindowTextW(box, L"");
        SendMessageW(box, WM_CHAR, 0xD83D, 1);
        SendMessageW(box, WM_CHAR, 0xDE00, 1);
        SendMessageW(box, WM_CHAR, 'a', 1);
    }
    EXPECT_EQ(keys, (std::vector<int>{0x1F600, 'a'}));
    EXPECT_EQ(p.form.txtEntry.Text.get(), U"\U0001F600a");
    EXPECT_EQ(p.form.txtPreviewVariable.Text.get(), U"");
}

// The window follows the form: its caption, shown and hidden, off the task
// bar while the icon is there, minimized; the focus both ways; closing ends
// the program.
TEST(MainWindowTest, TheWindowFollowsTheFormAndClosingEndsTheProgram) {
    Program p;
    HWND window = p.w->Handle();
    p.form.Caption = U"Velmo - 3.01";
    EXPECT_EQ(Utf8(TextOf(window)), "Velmo - 3.01");
    EXPECT_FALSE(IsWindowVisible(window));
    p.form.Show();
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_NE(GetWindow(window, GW_OWNER), nullptr);  // no task-bar button
    p.form.Hide();
    EXPECT_FALSE(IsWindowVisible(window));
    p.t.icon.available = false;
    p.form.Show();
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);

    p.form.txtEntry.SetFocus();
    EXPECT_EQ(GetFocus(), p.Get("txtEntry"));
    // The tab strip taking the focus takes it from the control left.
    int lost = 0;
    const Connection losing = p.form.txtEntry.LostFocus.Connect([&] { ++lost; });
    SetFocus(p.w->TabStrip());
    EXPECT_EQ(p.form.ActiveControl(), &p.form.Tabs);
    EXPECT_EQ(lost, 1);
    // So does a page going out of sight, turned by the model.
    p.form.txtEntry.SetFocus();
    p.form.Tabs.Tab = 1;
    EXPECT_EQ(GetFocus(), p.w->TabStrip());
    EXPECT_EQ(p.form.ActiveControl(), &p.form.Tabs);
    EXPECT_EQ(lost, 2);
    p.form.Tabs.Tab = 0;
    SetFocus(p.Get("cmdRandomize"));
    EXPECT_EQ(p.form.ActiveControl(), &p.form.cmdRandomize);
    // Tab goes on in the model's order.
    MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_TRUE(p.w->TranslateDialogKeys(tab));
    EXPECT_EQ(p.form.ActiveControl(), &p.form.txtPreviewVariable);

    // Enter on a button clicks it, and so does Alt with its & letter, on the
    // page shown only; Escape closes nothing.
    int clicks = 0;
    const Connection counting = p.form.cmdRandomize.Click.Connect([&] { ++clicks; });
    SetFocus(p.Get("cmdRandomize"));
    MSG enter{GetFocus(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_TRUE(p.w->TranslateDialogKeys(enter));
    MSG alt{GetFocus(), WM_SYSCHAR, 'r', 1 << 29, 0, {}};
    EXPECT_TRUE(p.w->TranslateDialogKeys(alt));
    EXPECT_EQ(clicks, 2);
    p.form.Tabs.Tab = 1;
    MSG altElsewhere{GetFocus(), WM_SYSCHAR, 'r', 1 << 29, 0, {}};
    p.w->TranslateDialogKeys(altElsewhere);
    EXPECT_EQ(clicks, 2);
    MSG escape{GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
    p.w->TranslateDialogKeys(escape);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(p.t.loop.quits, 0);

    ShowWindow(window, SW_MINIMIZE);
    EXPECT_TRUE(p.form.Minimized.get());
    ShowWindow(window, SW_RESTORE);
    EXPECT_FALSE(p.form.Minimized.get());

    // A click on the home page's address opens it.
    p.form.Tabs.Tab = 5;
    SendMessageW(p.Get("lblHomePage"), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(p.Get("lblHomePage"), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(p.t.browser.opened.size(), 1u);

    // A close request to every top-level window of the program, as taskkill
    // sends: the hidden owner outlives it, and with it the window it owns.
    p.form.Hide();
    p.t.icon.available = true;
    p.form.Show();
    HWND owner = GetWindow(window, GW_OWNER);
    ASSERT_NE(owner, nullptr);
    SendMessageW(owner, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(owner));
    EXPECT_TRUE(IsWindowVisible(window));

    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(p.t.loop.quits, 1);
}

}  // namespace
}  // namespace velmo

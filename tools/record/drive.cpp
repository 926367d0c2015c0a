// The driver: the ONLY file of the record that calls Velmo's ui/ and service/
// layers and the test fakes. After a redesign, adapt this file (and only this
// file) so that it does the same things with the new API; record.cpp and
// sets.cpp stay as they are.
//
// The API it uses today (main at 3983e8d):
//   support/fakes.h    velmo::testing::TestPlatform (FakeMessageBox .shown,
//                      FakeClipboard .texts, FakeBrowser .opened, FakeFileDialog
//                      .calls, FakeRandom .values/.asked, FakeFileStore .files
//                      /.madeFolders, FakeNotifyIcon, FakeTimer, FakeProgram,
//                      CallLog .calls), TestPlatform::ports()
//   ui/app.h           velmo::App(Ports), App::form
//   ui/startup.h       velmo::Main(App&)
//   ui/model/*.h       Form::Controls(), Control::Name/Kind/Enabled/Visible/
//                      EffectivelyEnabled(), KindName(), Control::As<T>() for
//                      Label, TextBox, CheckBox, OptionButton, ComboBox,
//                      CommandButton, Frame, TabControl, SliderControl, MenuItem;
//                      Form::Caption/Visible/Minimized/ActiveControl()
//   MainForm::cmdApplyOptions (cmdApply4 before the names were spelled out)
//                      the "Apply" button of the "Options" tab; Click()
//   MainForm::mnuOpenWindow (mnuopen before)
//                      the tray menu's "Open Window", clicked first when the
//                      window started hidden

#include <cstdio>

#include "record.h"
#include "support/fakes.h"
#include "ui/app.h"
#include "ui/startup.h"

namespace record {

using namespace velmo;

namespace {

std::string Utf8(const Text& text) {
    return ToUtf8(text);
}

std::string Hex(std::uint32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", value);
    return buffer;
}

std::string Bool(bool value) {
    return value ? "true" : "false";
}

// The controls clicked, under the names of the tree built against: spelled
// out now, numbered or cryptic before.
template <class Form>
CommandButton& OptionsApply(Form& form) {
    if constexpr (requires { form.cmdApplyOptions; })
        return form.cmdApplyOptions;
    else
        return form.cmdApply4;
}
template <class Form>
MenuItem& OpenWindowItem(Form& form) {
    if constexpr (requires { form.mnuOpenWindow; })
        return form.mnuOpenWindow;
    else
        return form.mnuopen;
}

}  // namespace

struct Driver::Impl {
    explicit Impl(const StoredSet& set) {
        platform.files.files = set.files;
        platform.random.values.assign(set.randomValues.begin(), set.randomValues.end());
        platform.icon.available = set.iconAvailable;
        // The fake clock stays at its fixed time: 12:00:00, 1000 s elapsed.
    }
    testing::TestPlatform platform;
    App app{platform.ports()};
};

const Text kSettingsFile = testing::kTestSettingsFile;
const Text kDataFolder = testing::Folder(U"opt/velmo");

Driver::Driver(const StoredSet& set) : impl_(std::make_unique<Impl>(set)) {}
Driver::~Driver() = default;

bool Driver::StartUp() {
    return Main(impl_->app);
}

std::vector<std::string> Driver::ClickApply(std::string& state) {
    MainForm& form = impl_->app.form;
    std::vector<std::string> clicked;
    // A window started on the tray is opened first, as a user must, from the
    // tray menu's "Open Window".
    if (!form.Visible) {
        MenuItem& open = OpenWindowItem(form);
        open.Click();
        clicked.push_back(open.Name);
    }
    CommandButton& button = OptionsApply(form);
    state = "enabled=" + Bool(button.EffectivelyEnabled()) + " visible=" + Bool(button.Visible) +
            " window-visible=" + Bool(form.Visible);
    button.Click();
    clicked.push_back(button.Name);
    return clicked;
}

FormState Driver::Form() const {
    const MainForm& form = impl_->app.form;
    FormState out;
    const Control* active = form.ActiveControl();
    out.props = {{"caption", Utf8(form.Caption)},
                 {"visible", Bool(form.Visible)},
                 {"minimized", Bool(form.Minimized)},
                 {"active", active ? active->Name : std::string("-")}};
    for (Control* c : form.Controls()) {
        ControlState s;
        s.name = c->Name;
        s.kind = std::string(KindName(c->Kind));
        auto& p = s.props;
        if (auto* lbl = c->As<Label>()) {
            p.push_back({"caption", Utf8(lbl->Caption)});
            p.push_back({"forecolor", Hex(lbl->ForeColor)});
            p.push_back({"underline", Bool(lbl->FontUnderline)});
        } else if (auto* box = c->As<TextBox>()) {
            p.push_back({"text", Utf8(box->Text)});
        } else if (auto* chk = c->As<CheckBox>()) {
            p.push_back({"caption", Utf8(chk->Caption)});
            p.push_back({"value", std::to_string(static_cast<int>(chk->Value.get()))});
        } else if (auto* opt = c->As<OptionButton>()) {
            p.push_back({"caption", Utf8(opt->Caption)});
            p.push_back({"value", Bool(opt->Value)});
        } else if (auto* cmb = c->As<ComboBox>()) {
            p.push_back({"text", Utf8(cmb->Text)});
        } else if (auto* btn = c->As<CommandButton>()) {
            p.push_back({"caption", Utf8(btn->Caption)});
        } else if (auto* frm = c->As<Frame>()) {
            p.push_back({"caption", Utf8(frm->Caption)});
        } else if (auto* tabs = c->As<TabControl>()) {
            p.push_back({"value", std::to_string(tabs->Tab.get())});
        } else if (auto* sld = c->As<SliderControl>()) {
            p.push_back({"value", std::to_string(sld->Value.get())});
            p.push_back({"tag", Utf8(sld->Tag)});
        } else if (auto* mnu = c->As<MenuItem>()) {
            p.push_back({"caption", Utf8(mnu->Caption)});
        }
        p.push_back({"enabled", Bool(c->Enabled)});
        p.push_back({"effectively-enabled", Bool(c->EffectivelyEnabled())});
        p.push_back({"visible", Bool(c->Visible)});
        out.controls.push_back(std::move(s));
    }
    return out;
}

// A message's style in the window system's numbering, as the record has
// always shown it, whether the port takes that number or a typed style.
[[maybe_unused]] int StyleNumber(int style) {
    return style;
}
template <class Style>
int StyleNumber(const Style& style) {
    // Names taken from the style, so that a tree without them still compiles.
    using Buttons = decltype(style.buttons);
    using Icon = decltype(style.icon);
    using Answer = typename decltype(style.defaultAnswer)::value_type;
    int n = 0;
    switch (style.buttons) {
        case Buttons::Ok:
            n = 0;
            break;
        case Buttons::OkCancel:
            n = 1;
            break;
        case Buttons::YesNoCancel:
            n = 3;
            break;
        case Buttons::YesNo:
            n = 4;
            break;
    }
    if (style.icon == Icon::Error)
        n += 16;
    if (style.icon == Icon::Warning)
        n += 48;
    if (style.defaultAnswer == Answer::No ||
        (style.defaultAnswer == Answer::Cancel && style.buttons == Buttons::OkCancel))
        n += 256;
    if (style.defaultAnswer == Answer::Cancel && style.buttons == Buttons::YesNoCancel)
        n += 512;
    return n;
}

// A dialog's filter as "description|pattern;pattern|...", whether the port
// takes that text or a typed list.
[[maybe_unused]] Text FilterText(const Text& filter) {
    return filter;
}
template <class Filters>
Text FilterText(const Filters& filters) {
    Text out;
    for (const auto& f : filters) {
        out += f.description + U"|";
        for (size_t i = 0; i < f.patterns.size(); ++i)
            out += (i ? U";" : U"") + (f.patterns[i] == U"*" ? Text(U"*.*") : f.patterns[i]);
        out += U"|";
    }
    return out;
}

// Ends of the program asked for: by the program port once, by the event loop now.
template <class Platform>
std::string Exits(const Platform& t) {
    if constexpr (requires { t.program.exits; })
        return std::to_string(t.program.exits);
    else
        return std::to_string(t.loop.quits);
}

PlatformState Driver::Platform() const {
    const testing::TestPlatform& t = impl_->platform;
    PlatformState out;
    for (const auto& m : t.messages.shown)
        out.messages.push_back({m.text, StyleNumber(m.style), m.title});
    out.clipboard = t.clipboard.texts;
    out.browser = t.browser.opened;
    for (const auto& d : t.fileDialog.calls)
        out.dialogs.push_back({d.initial, FilterText(d.filter), d.title});
    out.randomAsked = t.random.asked;
    out.calls = t.log.calls;
    out.madeFolders = t.files.madeFolders;
    out.files = t.files.files;
    out.other = {{"icon", "shown=" + Bool(t.icon.shown) + " adds=" + std::to_string(t.icon.adds) +
                              " popups=" + std::to_string(t.icon.popups)},
                 {"timer", t.timer.armed() ? "armed, due at " + std::to_string(t.timer.dueAt)
                                           : std::string("not armed")},
                 {"exits", Exits(t)}};
    return out;
}

}  // namespace record

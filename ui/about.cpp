#include "ui/about.h"

#include "ui/app.h"
#include "ui/tray.h"

namespace velmo {

namespace {

void SetLook(Label& link, bool hovered) {
    link.FontUnderline = hovered;
    link.ForeColor = hovered ? colors::Blue : colors::Black;
}

}  // namespace

void email_MouseMove(App& app) {
    SetLook(app.form.email, true);
}
void ulrHomePage_MouseMove(App& app) {
    SetLook(app.form.ulrHomePage, true);
}

void Tabs_MouseMove(App& app) {
    SetLook(app.form.ulrHomePage, false);
    SetLook(app.form.email, false);
}

void email_Click(App& app) {
    app.ports.browser.Open(U"mailto:" + Text(MailAddress));
}
void ulrHomePage_Click(App& app) {
    app.ports.browser.Open(Text(HomePageAddress));
}

void ConnectAboutHandlers(App& app) {
    MainForm& f = app.form;
    f.email.MouseMove += [&app](int, int, double, double) { email_MouseMove(app); };
    f.ulrHomePage.MouseMove += [&app](int, int, double, double) { ulrHomePage_MouseMove(app); };
    f.Tabs.MouseMove += [&app](int, int, double, double) { Tabs_MouseMove(app); };
    f.email.Click += [&app] { email_Click(app); };
    f.ulrHomePage.Click += [&app] { ulrHomePage_Click(app); };
    // Help from the window too, for a desktop without a notification area.
    f.cmdHelp.Click += [&app] { mnuHelp_Click(app); };
}

}  // namespace velmo

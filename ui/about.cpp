#include "ui/about.h"

#include "ui/app.h"
#include "ui/tray.h"

namespace velmo {

namespace {

void SetLook(Label& link, bool hovered) {
    link.FontUnderline = hovered;
    link.ForeColor = hovered ? colors::Blue : colors::Black;
}

// Link labels look hovered while the pointer is on them, and plain again
// once it crosses the page background.
void lblMailAddress_MouseMove(App& app) {
    SetLook(app.form.lblMailAddress, true);
}

void lblHomePage_MouseMove(App& app) {
    SetLook(app.form.lblHomePage, true);
}

void Tabs_MouseMove(App& app) {
    SetLook(app.form.lblHomePage, false);
    SetLook(app.form.lblMailAddress, false);
}

// Clicking a link label opens it in the user's browser or mail program.
void lblMailAddress_Click(App& app) {
    app.ports.browser.Open(U"mailto:" + Text(MailAddress));
}

void lblHomePage_Click(App& app) {
    app.ports.browser.Open(Text(HomePageAddress));
}

}  // namespace

void ConnectAboutHandlers(App& app) {
    MainForm& f = app.form;
    f.lblMailAddress.MouseMove +=
        [&app](int, int, double, double) { lblMailAddress_MouseMove(app); };
    f.lblHomePage.MouseMove += [&app](int, int, double, double) { lblHomePage_MouseMove(app); };
    f.Tabs.MouseMove += [&app](int, int, double, double) { Tabs_MouseMove(app); };
    f.lblMailAddress.Click += [&app] { lblMailAddress_Click(app); };
    f.lblHomePage.Click += [&app] { lblHomePage_Click(app); };
    // Help from the window too, for a desktop without a notification area.
    f.cmdHelp.Click += [&app] { mnuHelp_Click(app); };
}

}  // namespace velmo

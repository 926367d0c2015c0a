#include "ui/tray.h"

#include "domain/file_address.h"
#include "platform/path_style.h"
#include "ui/about.h"
#include "ui/app.h"

namespace velmo {

namespace {

// Keeps "&Open Window" and "&Put on Tray" naming the one possible action.
void ShowWindow(App& app, bool visible) {
    MainForm& f = app.form;
    f.Visible = visible;
    f.mnuOpenWindow.Visible = !visible;
    f.mnuPutOnTray.Visible = visible;
}

}  // namespace

bool ListedOnTaskBar(App& app) {
    return !app.ports.icon.Available();
}

TrayAction TrayActionOf(IconClick click, IconClick openClose) {
    if (click == openClose)
        return TrayAction::ToggleWindow;
    if (click == IconClick::Context)
        return TrayAction::OpenMenu;
    // A single click beside an open/close double-click, and the middle
    // button, have no action.
    return TrayAction::None;
}

void TrayIconClicked(App& app, IconClick click) {
    // A click while the menu of an earlier one is open is dropped.
    if (app.TrayBusy)
        return;
    app.TrayBusy = true;
    switch (TrayActionOf(click, app.ports.icon.OpenCloseClick())) {
        case TrayAction::ToggleWindow:
            ShowWindow(app, !app.form.Visible);
            break;
        case TrayAction::OpenMenu:
            app.ports.icon.PopupMenu();
            break;
        case TrayAction::None:
            break;
    }
    app.TrayBusy = false;
}

namespace {

// The "Tray Minimize" button of each tab but About: the window goes to the
// notification area, or to the task bar where there is none.
void cmdTrayMinimize_Click(App& app) {
    // Without a notification area a hidden window could never be reached again.
    if (!app.ports.icon.Available()) {
        app.form.Minimized = true;
        return;
    }
    ShowWindow(app, false);
}

void mnuOpenWindow_Click(App& app) {
    ShowWindow(app, true);
}

void mnuPutOnTray_Click(App& app) {
    ShowWindow(app, false);
}

}  // namespace

void mnuHelp_Click(App& app) {
    const Text guide = app.ports.program.HelpFile();
    // Without the guide, the home page has the same help.
    if (guide.empty()) {
        app.ports.messages.Show(
            U"The guide to Velmo and mail programs, \"mail-clients.html\", was not found "
            U"where Velmo is installed. The home page is opened instead.",
            message::Warning, U"");
        app.ports.browser.Open(Text(HomePageAddress));
    } else if (!app.ports.browser.Open(FileAddress(guide, NativePathStyle()))) {
        app.ports.messages.Show(
            U"No program could be started to show the guide" + Text(CrLf) + guide, message::Warning,
            U"");
    }
}

void ConnectTrayHandlers(App& app) {
    MainForm& f = app.form;
    for (CommandButton* b :
         {&f.cmdTrayMinimizeVariable, &f.cmdTrayMinimizeFixed, &f.cmdTrayMinimizeBorders,
          &f.cmdTrayMinimizeSideBorders, &f.cmdTrayMinimizeOptions}) {
        b->Click += [&app] { cmdTrayMinimize_Click(app); };
    }
    f.mnuOpenWindow.Click += [&app] { mnuOpenWindow_Click(app); };
    f.mnuPutOnTray.Click += [&app] { mnuPutOnTray_Click(app); };
    f.mnuHelp.Click += [&app] { mnuHelp_Click(app); };
}

}  // namespace velmo

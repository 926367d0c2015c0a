#pragma once

// The window's state and its platform services, handed to every handler: a
// test can build a whole program in memory. What the signature is made of
// is the session's.

#include "domain/text.h"
#include "platform/ports.h"
#include "service/signature_session.h"
#include "ui/model/main_form.h"

namespace velmo {

struct Ports {
    MessageBoxPort& messages;
    FileDialogPort& fileDialog;
    ClipboardPort& clipboard;
    ClockPort& clock;
    RandomPort& random;
    FileStorePort& files;
    SettingsStorePort& settings;
    TimerPort& timer;
    SingleInstancePort& instance;
    NotifyIconPort& icon;
    ProgramPort& program;
    BrowserPort& browser;
    EventLoopPort& loop;
};

struct App {
    // Builds the program in memory with every event handler connected.
    explicit App(Ports platform);
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    Ports ports;
    MainForm form;

    // What the signature is made of, the pick and the paths, shared with
    // velmo-signature's way of making one.
    SignatureSession session;

    // The output type in force, put back when a change of type ends without a
    // file of the new kind.
    OptionButton* outputType = nullptr;

    // The change schedule: when the current wait began (ElapsedSeconds), and
    // whether one is running.
    double ChangeStart = 0;
    bool scheduleRunning = false;

    // Start-up has loaded the text sources; until then it loads them itself,
    // in its own order.
    bool started = false;

    // No settings were stored yet when the program started.
    bool firstStart = false;

    // Whether a click on the icon is being handled: the tray menu runs its own
    // event loop, which can deliver another.
    bool TrayBusy = false;
};

}  // namespace velmo

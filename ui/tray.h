#pragma once

#include "platform/ports.h"

namespace velmo {

struct App;

// What a click on the icon does.
enum class TrayAction { None, ToggleWindow, OpenMenu };

// The action of a click on the icon, given the click that opens or closes the
// window on this desktop.
TrayAction TrayActionOf(IconClick click, IconClick openClose);

// Acts on a click on the icon as the desktop's notification area reports it.
void TrayIconClicked(App& app, IconClick click);

// Whether the window has a button on the task bar: only while there is no
// notification icon to bring it back from.
bool ListedOnTaskBar(App& app);

// Opens the guide to setting up mail programs in the browser, or says why it
// cannot.
void mnuHelp_Click(App& app);

// The notification icon, its menu and the Tray Minimize buttons.
void ConnectTrayHandlers(App& app);

}  // namespace velmo

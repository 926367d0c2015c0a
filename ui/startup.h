#pragma once

#include "domain/text.h"

namespace velmo {

struct App;

// The program's start: guard, program folder, settings, options, text
// sources, window or tray, the first pick and the change schedule. Returns
// false when the program is to end at once (another copy runs): the caller
// returns from main without running the event loop.
bool Main(App& app);

// The three ways of ending: remove the icon, save nothing, wait for no
// further pick, and leave the event loop.
void Form_QueryUnload(App& app);

// Exit and the tray menu's Quit.
void ConnectShutdownHandlers(App& app);

}  // namespace velmo

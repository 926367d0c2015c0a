#pragma once

#include <string>
#include <string_view>

#include "domain/text.h"

namespace velmo {

struct App;

// Runs once, before the options are applied: the selected tab, the version
// texts, the description, the notification-area icon, the window hidden, and
// the enabled states matched to the values.
void Form_Load(App& app);

// The description on the About tab: four paragraphs.
Text DescriptionText();

// The signature preview on the Variable tab takes no typing.
void txtSignature_KeyPress(App& app, int& keyAscii);

// The desktop entry that starts the program file `program` when the user logs
// in: UTF-8 with LF line ends, the path quoted as an Exec key needs it.
std::string AutostartEntry(const Text& program);

// True when `bytes` is a desktop entry the desktop starts: it has a
// [Desktop Entry] group, and that group neither is hidden nor switched off.
bool AutostartEntryOn(std::string_view bytes);

// `bytes`, a desktop entry, switched on or off in place: in its [Desktop
// Entry] group, Hidden (and, switching on, X-GNOME-Autostart-enabled) set to
// say so, or Hidden=true added after the group's header when switching off an
// entry without it. Every other line stays as it is.
std::string SwitchAutostartEntry(std::string_view bytes, bool on);

// chkAutostart shows whether the desktop starts the program; it is hidden
// where there is no entry to write.
void ShowAutostart(App& app);

// Writes the entry when the box is ticked and removes it when it is cleared;
// an entry of the user's own is switched on or off instead.
// A failure is told to the user and the box shows the entry as it is.
void chkAutostart_Click(App& app);

void ConnectWindowHandlers(App& app);

}  // namespace velmo

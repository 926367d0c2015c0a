#pragma once

// The desktop entry (an XDG .desktop file) that starts the program when the
// user logs in: writing it, and reading and switching one found in its place.

#include <string>
#include <string_view>

#include "domain/text.h"

namespace velmo {

// The desktop entry that starts the program file `program` when the user logs
// in: UTF-8 with LF line ends, the path quoted as an Exec key needs it. For a
// named profile the program is started with "--profile NAME", and the entry's
// name says which profile it starts.
std::string AutostartEntry(const Text& program, std::string_view profile = {});

// True when `bytes` is a desktop entry the desktop starts: it has a
// [Desktop Entry] group, and that group neither is hidden nor switched off.
bool AutostartEntryOn(std::string_view bytes);

// `bytes`, a desktop entry, switched on or off in place: in its [Desktop
// Entry] group, Hidden (and, switching on, X-GNOME-Autostart-enabled) set to
// say so, or Hidden=true added after the group's header when switching off an
// entry without it. Every other line stays as it is.
std::string SwitchAutostartEntry(std::string_view bytes, bool on);

// Whether `bytes` is an entry this program wrote for the profile, for
// whatever program file: such an entry holds nothing of the user's.
bool OwnAutostartEntry(std::string_view bytes, std::string_view profile = {});

// True when `bytes` has a [Desktop Entry] group header.
bool HasDesktopEntryGroup(std::string_view bytes);

}  // namespace velmo

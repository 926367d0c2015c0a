#pragma once

#include "platform/ports.h"

namespace velmo {

struct App;

// Mouse messages the notification area reports, as numbers.
inline constexpr int kLeftDoubleClick = 0x203;
inline constexpr int kRightButtonUp = 0x205;
inline constexpr int kTwipsPerPixel = 15;

// A tray event arrives as a mouse move on the form whose X, in twips, carries
// the mouse message number.
void Form_MouseMove(App& app, int button, int shift, double x, double y);

// Reports a mouse message of the tray icon as the notification area does.
void TrayIconEvent(App& app, int mouseMessage);

// The mouse message a click on the icon stands for, given the click that
// opens or closes the window on this desktop; 0 for a click that does nothing.
int TrayMessageOf(IconClick click, IconClick openClose);

// Reports a click on the icon as the desktop's notification area gives it.
void TrayIconClicked(App& app, IconClick click);

void btnHide_Click(App& app);
void mnuopen_Click(App& app);
void mnuPut_Click(App& app);

// Opens the guide to setting up mail programs, or the home page when the
// guide is not installed.
void mnuHelp_Click(App& app);

void ConnectTrayHandlers(App& app);

}  // namespace velmo

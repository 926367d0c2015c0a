#pragma once

#include "domain/text.h"

namespace velmo {

struct App;

// Runs once, before the options are applied: the selected tab, the version
// texts, the description, the notification-area icon, the window hidden, and
// the enabled states matched to the values.
void Form_Load(App& app);

// The description on the About tab: four paragraphs.
Text DescriptionText();

// chkAutostart shows whether the desktop starts the program; it is hidden
// where there is no entry to write.
void ShowAutostart(App& app);

// The read-only previews and the "Start with the desktop" box.
void ConnectWindowHandlers(App& app);

}  // namespace velmo

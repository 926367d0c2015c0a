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

// The signature preview on the Variable tab takes no typing.
void txtPreviewVariable_KeyPress(App& app, int& keyAscii);

// chkAutostart shows whether the desktop starts the program; it is hidden
// where there is no entry to write.
void ShowAutostart(App& app);

// Writes the entry when the box is ticked and removes it when it is cleared;
// an entry of the user's own is switched on or off instead.
// A failure is told to the user and the box shows the entry as it is.
void chkAutostart_Click(App& app);

void ConnectWindowHandlers(App& app);

}  // namespace velmo

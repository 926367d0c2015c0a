#pragma once

#include "core/text.h"

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

void ConnectWindowHandlers(App& app);

}  // namespace velmo

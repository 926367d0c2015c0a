#pragma once

namespace velmo {

struct App;

// Runs once, before the options are applied: the selected tab, the version
// texts, the description, the notification-area icon, the window hidden, and
// the enabled states matched to the values.
void Form_Load(App& app);

}  // namespace velmo

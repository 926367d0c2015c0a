#pragma once

#include <array>

#include "domain/text.h"

namespace velmo {

struct App;

struct ChangeInterval {
    TextView caption;  // shown in lblChangeInterval
    int seconds;       // 0: never
};

// One row per slider position.
extern const std::array<ChangeInterval, 9> ChangeIntervals;

// Picks an entry at random, every one equally likely, builds the signature
// and shows the entry in the editor, unless the user is typing into it.
void PickRandomEntry(App& app);

// Shows the chosen interval and times the running wait by it.
void sldChangeInterval_Change(App& app);

// Starts the change schedule: when the slider's interval has passed since
// the wait began, a new entry is picked and the next interval timed from then.
void WaitForChange(App& app);

// Randomize, from the window and the tray menu, and the interval slider.
void ConnectScheduleHandlers(App& app);

}  // namespace velmo

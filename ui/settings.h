#pragma once

// Reading and saving the options in the settings store, under the user's key
// "SOFTWARE\Velmo\User\" and its settings key "Freeware".

#include <optional>
#include <vector>

#include "domain/text.h"
#include "platform/ports.h"
#include "service/settings_key.h"

namespace velmo {

struct App;

// Writes the values at once. A store found corrupt is kept aside by the store;
// that is reported and the values go into a new one.
void SetStringValues(App& app, const Text& keyPath, const std::vector<StoredValue>& values);

// The values of the settings key, reading the store once; names match
// without regard to letter case, as in the registry. Nothing when there is
// none: on a first run the settings key is created and the defaults are set.
std::optional<StoredSettings> ReadSettings(App& app);

// Writes the options and the three paths, all at once.
void SaveSettings(App& app);

// The five "Save Settings" buttons: the options, and the fixed text when the
// fixed part is on.
void cmdSaveSettings_Click(App& app);

// The five "Save Settings" buttons.
void ConnectSettingsHandlers(App& app);

}  // namespace velmo

#pragma once

// Reading and saving the options in the settings store, under the user's key
// "SOFTWARE\Velmo\User\" and its settings key "Freeware".

#include <array>
#include <vector>

#include "domain/text.h"
#include "platform/ports.h"
#include "service/settings_key.h"

namespace velmo {

struct App;

// Store operations that report their own run-time failures.
bool CreateSettingsKey(App& app, const Text& subkey);
// Writes the values at once. A store found corrupt is kept aside by the store;
// that is reported and the values go into a new one.
bool SetStringValues(App& app, const Text& keyPath, const std::vector<StoredValue>& values);

// Fills ProgramValues and SettingValues from the store, reading it once; on a
// first run creates the settings key and sets the defaults.
void ReadSettings(App& app);
// Puts the values of the settings key into ProgramValues and SettingValues;
// names match without regard to letter case, as in the registry.
void ReadSettingValues(App& app, const std::vector<StoredValue>& values);

// Writes the options and the three paths, all at once.
void SaveSettings(App& app);

// The five "Save Settings" buttons: the options, and the fixed text when the
// fixed part is on.
void cmdSaveSettings_Click(App& app);

void ConnectSettingsHandlers(App& app);

}  // namespace velmo

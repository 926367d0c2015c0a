#pragma once

// The user's key in the settings store and the settings key under it.

#include <optional>

#include "domain/stored_options.h"
#include "domain/text.h"
#include "platform/ports.h"

namespace velmo {

inline constexpr TextView UserKey = U"SOFTWARE\\Velmo\\User\\";
inline constexpr TextView SettingsKey = U"SOFTWARE\\Velmo\\User\\Freeware";

// What the settings key holds; nothing when there is no settings key; the
// store's failure when it cannot be read.
StoreResult<std::optional<StoredSettings>> ReadSettingsKey(SettingsStorePort& store);

}  // namespace velmo

#include "service/settings_key.h"

#include <vector>

namespace velmo {

std::optional<StoredSettings> ReadSettingsKey(SettingsStorePort& store) {
    const std::optional<std::vector<StoredValue>> values = store.Values(Text(SettingsKey));
    if (!values)
        return std::nullopt;
    StoredSettings settings;
    ReadStoredValues(*values, settings);
    return settings;
}

}  // namespace velmo

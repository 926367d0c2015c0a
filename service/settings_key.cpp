#include "service/settings_key.h"

#include <vector>

namespace velmo {

StoreResult<std::optional<StoredSettings>> ReadSettingsKey(SettingsStorePort& store) {
    const StoreResult<std::optional<std::vector<StoredValue>>> values =
        store.Values(Text(SettingsKey));
    if (!values.has_value())
        return values.error();
    if (!*values)
        return std::optional<StoredSettings>();
    StoredSettings settings;
    ReadStoredValues(**values, settings);
    return std::optional<StoredSettings>(std::move(settings));
}

}  // namespace velmo

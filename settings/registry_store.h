#pragma once

// The settings store on the Windows registry, under HKEY_CURRENT_USER,
// through the ANSI entry points, with the program's fixed buffers.

#include "core/ports.h"

namespace velmo {

class RegistryStore : public SettingsStorePort {
  public:
    bool KeyExists(const Text& keyPath) override;
    bool CreateKey(const Text& keyPath) override;
    std::optional<StoredValue> ValueAt(const Text& keyPath, int index) override;
    std::optional<Text> QueryValue(const Text& keyPath, const Text& name) override;
    bool SetValue(const Text& keyPath, const Text& name, const Text& text) override;

    // Removes a key and everything under it (for tests and uninstalling).
    static bool DeleteTree(const Text& keyPath);
};

}  // namespace velmo

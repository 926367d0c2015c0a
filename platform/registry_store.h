#pragma once

// The settings store on the Windows registry, under HKEY_CURRENT_USER,
// through the ANSI entry points.

#include <vector>

#include "platform/ports.h"

namespace velmo {

class RegistryStore : public SettingsStorePort {
  public:
    // The registry reports no failures of its own: a key that cannot be
    // opened or written gives false.
    StoreResult<bool> KeyExists(const Text& keyPath) override;
    StoreResult<bool> CreateKey(const Text& keyPath) override;
    // One listing of the key. A text of more than kMaxTextBytes is left out.
    StoreResult<std::optional<std::vector<StoredValue>>> Values(const Text& keyPath) override;
    // One opening of the key; each value is its own write, as the registry
    // has no write of several values at once.
    StoreResult<bool> SetValues(const Text& keyPath,
                                const std::vector<StoredValue>& values) override;

    // The longest text read, in ANSI bytes: room for the longest Windows path
    // with every character in a multi-byte code page, and a bound on what a
    // value edited by hand makes the program read.
    static constexpr unsigned long kMaxTextBytes = 128 * 1024;

    // Removes a key and everything under it (for tests and uninstalling).
    static bool DeleteTree(const Text& keyPath);
};

}  // namespace velmo

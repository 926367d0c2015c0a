#pragma once

// The settings store on the Windows registry, under HKEY_CURRENT_USER,
// through the wide entry points: a string value is UTF-16 in the registry
// whichever entry point wrote it, so values of any code page read the same,
// and a character the ANSI code page lacks is kept.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ports.h"

namespace velmo {

class RegistryStore : public SettingsStorePort {
  public:
    // `profile`: a profile name, whose keys the store reads and writes in
    // place of the default profile's; empty for the default profile.
    explicit RegistryStore(std::string profile = {}) : profile_(std::move(profile)) {}

    // The registry reports no failures of its own: a key that cannot be
    // opened or written gives false.
    StoreResult<bool> KeyExists(const Text& keyPath) override;
    StoreResult<bool> CreateKey(const Text& keyPath) override;
    // One listing of the key. A text of more than kMaxTextLength is left out.
    StoreResult<std::optional<std::vector<StoredValue>>> Values(const Text& keyPath) override;
    // One opening of the key; each value is its own write, as the registry
    // has no write of several values at once.
    StoreResult<bool> SetValues(const Text& keyPath,
                                const std::vector<StoredValue>& values) override;

    // The longest text read, in UTF-16 units: room for the longest Windows
    // path, and a bound on what a value edited by hand makes the program read.
    // A text written through the ANSI entry points has no more units than it
    // had bytes, so every one of those still reads.
    static constexpr unsigned long kMaxTextLength = 128 * 1024;

    // Removes a key and everything under it (for tests and uninstalling).
    static bool DeleteTree(const Text& keyPath);

    // Where `keyPath` is kept for `profile`: SOFTWARE\Velmo\User and the keys
    // under it become SOFTWARE\Velmo\Profiles\NAME\User... for a named
    // profile; every other key, and every key of the default profile, is
    // kept where it says.
    static Text ProfileKey(const Text& keyPath, std::string_view profile);

  private:
    std::wstring KeyName(const Text& keyPath) const;

    std::string profile_;
};

}  // namespace velmo

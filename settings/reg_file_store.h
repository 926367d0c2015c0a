#pragma once

// The settings store where there is no registry: one REGEDIT4 file per user,
// readable, and importable into a Windows registry as it stands.

#include <string>

#include "core/ports.h"
#include "settings/reg_document.h"

namespace velmo {

class RegFileStore : public SettingsStorePort {
  public:
    // `files` reads and atomically replaces the file at `path`.
    RegFileStore(FileStorePort& files, Text path);

    // $XDG_CONFIG_HOME/Velmo/User.reg, or ~/.config/Velmo/User.reg.
    static Text DefaultPath();

    bool KeyExists(const Text& keyPath) override;
    bool CreateKey(const Text& keyPath) override;
    std::optional<StoredValue> ValueAt(const Text& keyPath, int index) override;
    std::optional<Text> QueryValue(const Text& keyPath, const Text& name) override;
    bool SetValue(const Text& keyPath, const Text& name, const Text& text) override;

    const Text& path() const { return path_; }

    // Error number of a store file that is not in the REGEDIT4 syntax.
    static constexpr int kCorruptFile = 1000;

  private:
    // The file as it is now; an empty document when there is none. A file
    // that cannot be parsed is renamed with ".bad" added and reported.
    RegDocument Load();
    // Re-reads, changes and replaces the file under a lock, so that two
    // programs saving at once both keep their values.
    bool Modify(const std::function<bool(RegDocument&)>& change);

    FileStorePort& files_;
    Text path_;
};

// The full key path in the file for a key path of the program.
Text FullKeyPath(TextView keyPath);

}  // namespace velmo

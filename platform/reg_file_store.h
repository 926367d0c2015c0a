#pragma once

// The settings store where there is no registry: one REGEDIT4 file per user,
// readable, and importable into a Windows registry as it stands.

#include <functional>
#include <string>
#include <vector>

#include "domain/reg_document.h"
#include "platform/ports.h"

namespace velmo {

class RegFileStore : public SettingsStorePort {
  public:
    // `files` reads and atomically replaces the file at `path`.
    RegFileStore(FileStorePort& files, Text path);

    // $XDG_CONFIG_HOME/Velmo/User.reg, or ~/.config/Velmo/User.reg, and
    // Velmo/profiles/NAME/User.reg there for a named profile; empty when the
    // user has no home folder. POSIX only, defined with the platform's
    // folders (platform/posix_platform.cpp): Windows has the registry.
    static Text DefaultPath(std::string_view profile = {});

    StoreResult<bool> KeyExists(const Text& keyPath) override;
    StoreResult<bool> CreateKey(const Text& keyPath) override;
    // Values and texts of any length, as the file holds them.
    StoreResult<std::optional<std::vector<StoredValue>>> Values(const Text& keyPath) override;
    // A value named in other letter case takes the name given, so that a
    // hand-edited name is set right by the next save.
    StoreResult<bool> SetValues(const Text& keyPath,
                                const std::vector<StoredValue>& values) override;

    const Text& path() const { return path_; }

    // A file that is not in the REGEDIT4 syntax is kept as User.reg.bad, or
    // when that exists as User.reg.bad.1, .2 and so on up to this number.
    static constexpr int kMaxKeptNumber = 99;

  private:
    // The file as it is now; an empty document when there is none. A file
    // that cannot be parsed is kept aside and reported (StoreFailure::kCorrupt).
    StoreResult<RegDocument> Load();
    // Renames the unparsable file to the first free name for it, which it
    // returns; never over another file.
    Result<Text, FileResult> KeepAside();
    // Re-reads, changes and replaces the file once, under a lock, so that two
    // programs saving at once both keep their values.
    StoreResult<bool> Modify(const std::function<bool(RegDocument&)>& change);

    FileStorePort& files_;
    Text path_;
};

// The full key path in the file for a key path of the program.
Text FullKeyPath(TextView keyPath);

}  // namespace velmo

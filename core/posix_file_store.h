#pragma once

// Files on POSIX systems. Paths are taken as UTF-8 file names.

#include "core/ports.h"

namespace velmo {

class PosixFileStore : public FileStorePort {
  public:
    std::optional<std::string> Read(const Text& path, FileResult& result) override;
    // Never leaves a half-written file: a crash or a full disk leaves either
    // the old contents or the new ones. A symbolic link stays a link and the
    // file it leads to is replaced; the folder must exist.
    FileResult Replace(const Text& path, std::string_view bytes) override;
    bool Exists(const Text& path) override;
    FileResult Rename(const Text& from, const Text& to) override;
    FileResult MakeFolders(const Text& folder) override;
};

}  // namespace velmo

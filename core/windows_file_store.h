#pragma once

// Files on Windows, through the wide API so that any name works.

#include "core/ports.h"

namespace velmo {

class WindowsFileStore : public FileStorePort {
  public:
    std::optional<std::string> Read(const Text& path, FileResult& result) override;
    // A temporary file beside the target, flushed, then moved over it.
    FileResult Replace(const Text& path, std::string_view bytes) override;
    bool Exists(const Text& path) override;
    FileResult Rename(const Text& from, const Text& to) override;
    FileResult MakeFolders(const Text& folder) override;
};

}  // namespace velmo

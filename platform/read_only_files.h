#pragma once

// A view of a file store that reads but never changes anything: every
// change fails with std::errc::read_only_file_system.

#include "platform/ports.h"

namespace velmo {

class ReadOnlyFiles : public FileStorePort {
  public:
    explicit ReadOnlyFiles(FileStorePort& files) : files_(files) {}

    FileBytes Read(const Text& path, size_t limit = kReadLimit) override {
        return files_.Read(path, limit);
    }
    FileBytes ReadOwn(const Text& path, size_t limit = kReadLimit) override {
        return files_.ReadOwn(path, limit);
    }
    FileResult Replace(const Text&, std::string_view) override { return Refused(); }
    bool Exists(const Text& path) const override { return files_.Exists(path); }
    bool IsLink(const Text& path) const override { return files_.IsLink(path); }
    bool SameFile(const Text& a, const Text& b) const override { return files_.SameFile(a, b); }
    FileResult Rename(const Text&, const Text&) override { return Refused(); }
    FileResult MakeFolders(const Text&) override { return Refused(); }
    FileResult Remove(const Text&) override { return Refused(); }
    // Taking a lock changes no file.
    void Locked(const Text& lockPath, const std::function<void()>& work) override {
        files_.Locked(lockPath, work);
    }

  private:
    static FileResult Refused() { return {std::make_error_code(std::errc::read_only_file_system)}; }
    FileStorePort& files_;
};

}  // namespace velmo

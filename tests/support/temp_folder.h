#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/ports.h"

namespace velmo::testing {

// A folder of its own for a test that works on real files: created empty,
// and removed with everything in it when the test ends.
class TempFolder {
  public:
    explicit TempFolder(const std::string& prefix) {
        static std::atomic<int> counter{0};
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                (prefix + "-" + std::to_string(random()) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        // A read-only file or folder would otherwise keep what is in it.
        for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
            if (!it->is_symlink(ignored))
                std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ignored);
        }
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    // Every file and folder below, relative to it, so that a stray temporary
    // file shows up.
    std::set<std::string> Listing() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_))
            names.insert(entry.path().lexically_relative(path_).generic_string());
        return names;
    }

  private:
    std::filesystem::path path_;
};

// The whole file as bytes; empty when it cannot be read.
inline std::string FileContents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// What a read gave: the bytes or nothing, and the reason (empty when read).
inline std::optional<std::string> BytesRead(const FileBytes& read) {
    return read.has_value() ? std::optional(*read) : std::nullopt;
}
inline std::error_code ReadError(const FileBytes& read) {
    return read.has_value() ? std::error_code() : read.error().error;
}

}  // namespace velmo::testing

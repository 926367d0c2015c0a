#include "core/windows_file_store.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/windows_text.h"

namespace velmo {

namespace {

FileResult Failure(DWORD error) {
    return FileResult{std::system_category().message(static_cast<int>(error))};
}

class Handle {
  public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() {
        if (valid())
            CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }
    void close() {
        if (valid())
            CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

  private:
    HANDLE h_;
};

}  // namespace

std::optional<std::string> WindowsFileStore::Read(const Text& path, FileResult& result) {
    Handle file(CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        result = Failure(GetLastError());
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    while (true) {
        DWORD got = 0;
        // Part of a file read as the whole would lose the rest at the next save.
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
            result = Failure(GetLastError());
            return std::nullopt;
        }
        if (got == 0)
            break;
        bytes.append(buffer, got);
    }
    result.error.reset();
    return bytes;
}

FileResult WindowsFileStore::Replace(const Text& path, std::string_view bytes) {
    const std::wstring target = ToWide(path);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return Failure(ERROR_DIRECTORY);
        // A read-only file stays as the user made it.
        if (attributes & FILE_ATTRIBUTE_READONLY)
            return Failure(ERROR_ACCESS_DENIED);
    }
    const std::wstring temporary = target + L".velmo-new";
    Handle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return Failure(GetLastError());
    size_t written = 0;
    while (written < bytes.size()) {
        DWORD chunk = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - written, 1 << 20));
        if (!WriteFile(file.get(), bytes.data() + written, want, &chunk, nullptr)) {
            const DWORD error = GetLastError();
            file.close();
            DeleteFileW(temporary.c_str());
            return Failure(error);
        }
        written += chunk;
    }
    if (!FlushFileBuffers(file.get())) {
        const DWORD error = GetLastError();
        file.close();
        DeleteFileW(temporary.c_str());
        return Failure(error);
    }
    file.close();
    // The new file takes the old one's attributes (hidden, archive, ...).
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(temporary.c_str(), attributes);
    const bool replaced = MoveFileExW(temporary.c_str(), target.c_str(),
                                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!replaced) {
        const DWORD error = GetLastError();
        DeleteFileW(temporary.c_str());
        return Failure(error);
    }
    return {};
}

bool WindowsFileStore::Exists(const Text& path) {
    const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

FileResult WindowsFileStore::Rename(const Text& from, const Text& to) {
    if (!MoveFileExW(ToWide(from).c_str(), ToWide(to).c_str(), MOVEFILE_REPLACE_EXISTING)) {
        return Failure(GetLastError());
    }
    return {};
}

FileResult WindowsFileStore::MakeFolders(const Text& folder) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(ToWide(folder)), error);
    if (error)
        return FileResult{error.message()};
    return {};
}

}  // namespace velmo

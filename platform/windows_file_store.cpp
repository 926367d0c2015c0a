#include "platform/windows_file_store.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/file_lock.h"
#include "platform/windows_text.h"

namespace velmo {

namespace {

FileResult Failure(DWORD error) {
    // A missing file is told apart by the portable code, as on every platform.
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return FileResult{std::make_error_code(std::errc::no_such_file_or_directory)};
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
        return FileResult{std::make_error_code(std::errc::file_exists)};
    return FileResult{std::error_code(static_cast<int>(error), std::system_category())};
}

class Handle {
  public:
    Handle(HANDLE h, WindowsFileCalls& calls) : h_(h), calls_(calls) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }
    // False when closing failed, which may mean that written data were lost.
    bool close() {
        const bool closed = !valid() || calls_.Close(h_);
        h_ = INVALID_HANDLE_VALUE;
        return closed;
    }

  private:
    HANDLE h_;
    WindowsFileCalls& calls_;
};

}  // namespace

HANDLE WindowsFileCalls::Create(const wchar_t* path) {
    return CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}
bool WindowsFileCalls::Write(HANDLE file, const char* data, DWORD size, DWORD& written) {
    return WriteFile(file, data, size, &written, nullptr) != 0;
}
bool WindowsFileCalls::Flush(HANDLE file) {
    return FlushFileBuffers(file) != 0;
}
bool WindowsFileCalls::Close(HANDLE file) {
    return CloseHandle(file) != 0;
}
bool WindowsFileCalls::SetAttributes(const wchar_t* path, DWORD attributes) {
    return SetFileAttributesW(path, attributes) != 0;
}
bool WindowsFileCalls::Move(const wchar_t* from, const wchar_t* to, DWORD flags) {
    return MoveFileExW(from, to, flags) != 0;
}
bool WindowsFileCalls::Remove(const wchar_t* path) {
    return DeleteFileW(path) != 0;
}

WindowsFileCalls& WindowsFileCalls::System() {
    static WindowsFileCalls calls;
    return calls;
}

FileBytes WindowsFileStore::Read(const Text& path, size_t limit) {
    Handle file(CreateFileW(ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
                WindowsFileCalls::System());
    if (!file.valid()) {
        return Failure(GetLastError());
    }
    // A console, a printer port or a pipe may never end or never answer.
    if (GetFileType(file.get()) != FILE_TYPE_DISK) {
        return FileResult{FileErrc::NotRegularFile};
    }
    std::string bytes;
    // Read to the end rather than trusting the size, which a growing file
    // outgrows; one byte past the limit tells a file that is over it.
    char buffer[65536];
    while (bytes.size() <= limit) {
        const size_t room = limit - bytes.size();
        const DWORD want = static_cast<DWORD>(room == 0 ? 1 : std::min(room, sizeof buffer));
        DWORD got = 0;
        // Part of a file read as the whole would lose the rest at the next save.
        if (!ReadFile(file.get(), buffer, want, &got, nullptr)) {
            return Failure(GetLastError());
        }
        if (got == 0)
            return bytes;
        bytes.append(buffer, got);
    }
    return FileResult{FileErrc::TooLarge};
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
    // One left by a crash may carry the old file's hidden or read-only
    // attribute, which would refuse the new temporary file every time.
    if (GetFileAttributesW(temporary.c_str()) != INVALID_FILE_ATTRIBUTES)
        calls_.SetAttributes(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
    Handle file(calls_.Create(temporary.c_str()), calls_);
    if (!file.valid())
        return Failure(GetLastError());
    // Gives up on the temporary file, keeping the reason it failed for.
    auto fail = [&](DWORD error) {
        file.close();
        calls_.Remove(temporary.c_str());
        return Failure(error);
    };
    size_t written = 0;
    while (written < bytes.size()) {
        DWORD chunk = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - written, 1 << 20));
        if (!calls_.Write(file.get(), bytes.data() + written, want, chunk))
            return fail(GetLastError());
        // Nothing written with room asked for would loop for ever.
        if (chunk == 0)
            return fail(ERROR_WRITE_FAULT);
        written += chunk;
    }
    if (!calls_.Flush(file.get()))
        return fail(GetLastError());
    if (!file.close())
        return fail(GetLastError());
    // The new file takes the old one's attributes (hidden, archive, ...).
    if (attributes != INVALID_FILE_ATTRIBUTES)
        calls_.SetAttributes(temporary.c_str(), attributes);
    if (!calls_.Move(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return fail(GetLastError());
    }
    return {};
}

bool WindowsFileStore::Exists(const Text& path) const {
    const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WindowsFileStore::IsLink(const Text& path) const {
    const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

namespace {

// The identity of an existing file or folder, links followed.
bool FileIdentity(const Text& path, BY_HANDLE_FILE_INFORMATION& info) {
    HANDLE file =
        CreateFileW(ToWide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool known = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    return known;
}

std::wstring FullName(const Text& path) {
    const std::wstring wide = ToWide(path);
    std::wstring full(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD length =
            GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0)
            return wide;
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length);
    }
    return wide;
}

}  // namespace

bool WindowsFileStore::SameFile(const Text& a, const Text& b) const {
    BY_HANDLE_FILE_INFORMATION first{};
    BY_HANDLE_FILE_INFORMATION second{};
    const bool hasFirst = FileIdentity(a, first);
    const bool hasSecond = FileIdentity(b, second);
    if (hasFirst || hasSecond) {
        return hasFirst && hasSecond && first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
               first.nFileIndexHigh == second.nFileIndexHigh &&
               first.nFileIndexLow == second.nFileIndexLow;
    }
    // Neither is there yet: names are compared as the file system does, without case.
    const std::wstring x = FullName(a);
    const std::wstring y = FullName(b);
    return CompareStringOrdinal(x.c_str(), static_cast<int>(x.size()), y.c_str(),
                                static_cast<int>(y.size()), TRUE) == CSTR_EQUAL;
}

FileResult WindowsFileStore::Rename(const Text& from, const Text& to) {
    // Never over a file already there.
    if (!calls_.Move(ToWide(from).c_str(), ToWide(to).c_str(), 0)) {
        return Failure(GetLastError());
    }
    return {};
}

FileResult WindowsFileStore::Remove(const Text& path) {
    if (!calls_.Remove(ToWide(path).c_str()))
        return Failure(GetLastError());
    return {};
}

FileResult WindowsFileStore::MakeFolders(const Text& folder) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(ToWide(folder)), error);
    if (error)
        return FileResult{error};
    return {};
}

void WindowsFileStore::Locked(const Text& lockPath, const std::function<void()>& work) {
    const FileLock lock(lockPath);
    work();
}

}  // namespace velmo

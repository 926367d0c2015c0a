#pragma once

// Files on Windows, through the wide API so that any name works.

#include <windows.h>

#include "platform/ports.h"

namespace velmo {

// The system calls that change files, each answering as the call itself
// does (failure with GetLastError set). Tests put in their own to make any
// step of a replacement fail and check that the old file survives it.
class WindowsFileCalls {
  public:
    virtual ~WindowsFileCalls() = default;
    // A new file for writing, or INVALID_HANDLE_VALUE.
    virtual HANDLE Create(const wchar_t* path);
    virtual bool Write(HANDLE file, const char* data, DWORD size, DWORD& written);
    virtual bool Flush(HANDLE file);
    virtual bool Close(HANDLE file);
    virtual bool SetAttributes(const wchar_t* path, DWORD attributes);
    virtual bool Move(const wchar_t* from, const wchar_t* to, DWORD flags);
    virtual bool Remove(const wchar_t* path);

    // The real calls.
    static WindowsFileCalls& System();
};

class WindowsFileStore : public FileStorePort {
  public:
    explicit WindowsFileStore(WindowsFileCalls& calls = WindowsFileCalls::System())
        : calls_(calls) {}

    FileBytes Read(const Text& path, size_t limit = kReadLimit) override;
    // A temporary file beside the target, flushed, then moved over it.
    FileResult Replace(const Text& path, std::string_view bytes) override;
    bool Exists(const Text& path) const override;
    // A symbolic link or another reparse point (a junction).
    bool IsLink(const Text& path) const override;
    // By volume and file index; while neither file exists, by full name.
    bool SameFile(const Text& a, const Text& b) const override;
    FileResult Rename(const Text& from, const Text& to) override;
    FileResult MakeFolders(const Text& folder) override;
    FileResult Remove(const Text& path) override;
    void Locked(const Text& lockPath, const std::function<void()>& work) override;

  private:
    WindowsFileCalls& calls_;
};

}  // namespace velmo

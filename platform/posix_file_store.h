#pragma once

// Files on POSIX systems. Paths are taken as UTF-8 file names.

#include <sys/stat.h>
#include <sys/types.h>

#include <functional>
#include <string>

#include "platform/ports.h"

namespace velmo {

// The system calls that change files, each answering as the call itself
// does (-1 with errno set on failure). Tests put in their own to make any
// step of a replacement fail and check that the old file survives it.
class PosixFileCalls {
  public:
    virtual ~PosixFileCalls() = default;
    // open() of a new file for writing, failing if it exists.
    virtual int Create(const char* path, mode_t mode);
    virtual ssize_t Write(int fd, const void* data, size_t size);
    // fsync()
    virtual int Flush(int fd);
    virtual int ChangeOwner(int fd, uid_t owner, gid_t group);
    virtual int ChangeMode(int fd, mode_t mode);
    // fsetxattr() and fremovexattr(): extended attributes, ACLs among them.
    virtual int SetAttribute(int fd, const char* name, const void* value, size_t size);
    virtual int RemoveAttribute(int fd, const char* name);
    virtual int Close(int fd);
    virtual int Rename(const char* from, const char* to);
    virtual int Remove(const char* path);
    // geteuid(): whose links may be followed where others can plant them.
    virtual uid_t EffectiveUser();

    // The real calls.
    static PosixFileCalls& System();
};

class PosixFileStore : public FileStorePort {
  public:
    explicit PosixFileStore(PosixFileCalls& calls = PosixFileCalls::System()) : calls_(calls) {}

    FileBytes Read(const Text& path, size_t limit = kReadLimit) override;
    // Never leaves a half-written file: a crash or a full disk leaves either
    // the old contents or the new ones. A symbolic link stays a link and the
    // file it leads to is replaced, unless another user planted it in a shared
    // sticky folder such as /tmp (FileErrc::UnsafeLink); the folder must exist.
    // The new file keeps the old one's owner, mode bits and extended
    // attributes (ACLs among them). Only the name given gets the new contents:
    // another hard link keeps the old file. Temporary files of the same name
    // that a killed write left behind are removed once they are old.
    FileResult Replace(const Text& path, std::string_view bytes) override;
    // The user's own file in folders of the user's, with its links; for
    // root, only root's files.
    FileBytes ReadOwn(const Text& path, size_t limit = kReadLimit) override;
    bool Exists(const Text& path) const override;
    bool IsLink(const Text& path) const override;
    // By device and inode; while neither file exists, by the folder's.
    bool SameFile(const Text& a, const Text& b) const override;
    FileResult Rename(const Text& from, const Text& to) override;
    FileResult MakeFolders(const Text& folder) override;
    // unlink(): a link goes, the file it leads to stays.
    FileResult Remove(const Text& path) override;
    void Locked(const Text& lockPath, const std::function<void()>& work) override;

  private:
    // Opens the file without following a link, refuses what `accept` refuses
    // of it (when given), and reads it.
    FileBytes ReadFile(const std::string& name, size_t limit,
                       const std::function<std::error_code(const struct stat&)>& accept);
    int CreateTemporary(const std::string& directory, const std::string& name, mode_t mode,
                        std::string& temp_path);
    int WriteAll(int fd, std::string_view bytes);
    int SyncFile(int fd);
    int FillTemporary(int fd, std::string_view bytes, const struct stat* old,
                      const std::string& old_path);
    int CopyAttributes(int fd, const std::string& old_path);
    void RemoveStaleTemporaries(const std::string& directory, const std::string& name);

    PosixFileCalls& calls_;
};

}  // namespace velmo

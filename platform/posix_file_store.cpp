#include "platform/posix_file_store.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <random>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/file_lock.h"
#include "platform/own_files_posix.h"

namespace velmo {

namespace {

// Linux gives up after 40 links too; deeper chains are almost surely loops.
constexpr int kMaxLinkHops = 40;
// Keeps the temporary file's name within NAME_MAX even for a long target name.
constexpr size_t kMaxTempStem = 200;
constexpr int kTempAttempts = 100;
constexpr std::string_view kTempAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr size_t kTempRandomLength = 8;
// A write fills and renames its temporary file within seconds; one this old
// was left by a write that was killed.
constexpr time_t kStaleTempAge = 10 * 60;
constexpr const char* kAccessAcl = "system.posix_acl_access";

// The start of the temporary files' names of the file `name`: hidden, and
// marked as Velmo's so that no file of the user's is ever taken for one.
std::string TempStem(const std::string& name) {
    return "." + name.substr(0, kMaxTempStem) + ".velmo-";
}

using Attributes = std::vector<std::pair<std::string, std::string>>;

// Reads the list or value that `get` gives, however long it has grown
// meanwhile; -1 with errno as `get` sets it.
template <typename Get>
ssize_t ReadGrowing(std::string& into, Get get) {
    for (;;) {
        const ssize_t size = get(nullptr, 0);
        if (size <= 0) {
            into.clear();
            return size;
        }
        into.resize(static_cast<size_t>(size));
        const ssize_t got = get(into.data(), into.size());
        if (got >= 0) {
            into.resize(static_cast<size_t>(got));
            return got;
        }
        if (errno != ERANGE)
            return -1;
    }
}

// The extended attributes of the file at `path`, a link not followed; none on
// a file system without them. 0 or the error.
int ReadAttributes(const std::string& path, Attributes& attributes) {
    std::string names;
    if (ReadGrowing(names, [&](char* list, size_t size) {
            return llistxattr(path.c_str(), list, size);
        }) < 0) {
        return errno == ENOTSUP ? 0 : errno;
    }
    for (size_t pos = 0; pos < names.size();) {
        std::string name(names.c_str() + pos);
        pos += name.size() + 1;
        std::string value;
        if (ReadGrowing(value, [&](char* data, size_t size) {
                return lgetxattr(path.c_str(), name.c_str(), data, size);
            }) < 0) {
            if (errno == ENODATA)  // removed meanwhile
                continue;
            return errno;
        }
        attributes.emplace_back(std::move(name), std::move(value));
    }
    return 0;
}

FileResult Failure(int error) {
    return FileResult{std::error_code(error, std::generic_category())};
}

// The path as a C file name; a NUL inside would silently name another file.
bool ToFileName(const Text& path, std::string& name) {
    name = ToPathBytes(path);
    return name.find('\0') == std::string::npos;
}

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A descriptor closed when it goes out of scope.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ != -1)
            close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

// The link, found in `folder`, is one the kernel's protected_symlinks rule
// would not follow: in a sticky, world-writable folder such as /tmp, and
// owned by neither the user nor the folder's owner. Anyone may plant a link
// there, leading to a file of the user's for us to overwrite.
bool IsPlantedLink(const struct stat& link, const struct stat& folder, uid_t user) {
    // Root, run with another user's HOME, would otherwise write wherever
    // that user's links lead: into any file of the system.
    if (user == 0 && link.st_uid != 0)
        return true;
    constexpr mode_t kShared = S_ISVTX | S_IWOTH;
    return (folder.st_mode & kShared) == kShared && link.st_uid != user &&
           link.st_uid != folder.st_uid;
}

// Follows symbolic links to the path of the file that finally gets replaced,
// which need not exist yet (a dangling link names the file to create); `info`
// gets its status when `exists`. Refuses a planted link at any hop, whether or
// not the kernel enforces the rule. Each link is checked and read through its
// folder's descriptor, so that the link followed is the one checked.
std::error_code ResolveLinks(std::string& path, uid_t user, struct stat& info, bool& exists) {
    exists = false;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        const std::string name = BaseNameOf(path);
        // "folder/" names the folder itself; the caller refuses it.
        if (name.empty())
            return {};
        const Descriptor folder(open(DirectoryOf(path).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (folder.get() == -1)
            return {errno, std::generic_category()};
        if (fstatat(folder.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT)
                return {};
            return {errno, std::generic_category()};
        }
        if (!S_ISLNK(info.st_mode)) {
            exists = true;
            return {};
        }
        struct stat folder_info {};
        if (fstat(folder.get(), &folder_info) != 0)
            return {errno, std::generic_category()};
        if (IsPlantedLink(info, folder_info, user))
            return FileErrc::UnsafeLink;
        std::string target(static_cast<size_t>(info.st_size) + 1, '\0');
        for (;;) {
            const ssize_t length =
                readlinkat(folder.get(), name.c_str(), target.data(), target.size());
            if (length < 0)
                return {errno, std::generic_category()};
            // A link rewritten meanwhile may have grown; read it again if full.
            if (static_cast<size_t>(length) < target.size()) {
                target.resize(static_cast<size_t>(length));
                break;
            }
            target.resize(target.size() * 2);
        }
        if (target.empty())
            return {ENOENT, std::generic_category()};
        path = target.front() == '/' ? target : DirectoryOf(path) + "/" + target;
    }
    return {ELOOP, std::generic_category()};
}

// Makes the rename itself durable. Some file systems cannot sync a folder;
// the new contents are already safe on disk, so that is not an error.
void SyncDirectory(const std::string& directory) {
    const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd == -1)
        return;
    while (fsync(fd) != 0 && errno == EINTR) {
    }
    close(fd);
}

}  // namespace

int PosixFileCalls::Create(const char* path, mode_t mode) {
    return open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
}
ssize_t PosixFileCalls::Write(int fd, const void* data, size_t size) {
    return write(fd, data, size);
}
int PosixFileCalls::Flush(int fd) {
    return fsync(fd);
}
int PosixFileCalls::ChangeOwner(int fd, uid_t owner, gid_t group) {
    return fchown(fd, owner, group);
}
int PosixFileCalls::ChangeMode(int fd, mode_t mode) {
    return fchmod(fd, mode);
}
int PosixFileCalls::SetAttribute(int fd, const char* name, const void* value, size_t size) {
    return fsetxattr(fd, name, value, size, 0);
}
int PosixFileCalls::RemoveAttribute(int fd, const char* name) {
    return fremovexattr(fd, name);
}
int PosixFileCalls::Close(int fd) {
    return close(fd);
}
int PosixFileCalls::Rename(const char* from, const char* to) {
    return rename(from, to);
}
int PosixFileCalls::Remove(const char* path) {
    return unlink(path);
}
uid_t PosixFileCalls::EffectiveUser() {
    return geteuid();
}

PosixFileCalls& PosixFileCalls::System() {
    static PosixFileCalls calls;
    return calls;
}

// Creates a new, uniquely named file beside the target. Our own names rather
// than mkstemp so that a new file gets its permissions from open(), umask and
// default ACLs included, without touching the process-wide umask.
int PosixFileStore::CreateTemporary(const std::string& directory, const std::string& name,
                                    mode_t mode, std::string& temp_path) {
    thread_local std::mt19937_64 random{std::random_device{}()};
    std::uniform_int_distribution<size_t> pick(0, kTempAlphabet.size() - 1);
    const std::string stem = directory + "/" + TempStem(name);
    for (int attempt = 0; attempt < kTempAttempts; ++attempt) {
        temp_path = stem;
        for (size_t i = 0; i < kTempRandomLength; ++i)
            temp_path.push_back(kTempAlphabet[pick(random)]);
        int fd;
        do {
            fd = calls_.Create(temp_path.c_str(), mode);
        } while (fd == -1 && errno == EINTR);
        if (fd != -1 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

int PosixFileStore::WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = calls_.Write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        // Nothing written with room asked for would loop for ever.
        if (written == 0)
            return EIO;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return 0;
}

int PosixFileStore::SyncFile(int fd) {
    while (calls_.Flush(fd) != 0) {
        if (errno != EINTR)
            return errno;
    }
    return 0;
}

// Gives the new file the old one's extended attributes, ACLs among them, and
// only those. Without its ACL the old file's group bits, which then stand for
// the ACL's mask, would give its whole group what only some were given.
int PosixFileStore::CopyAttributes(int fd, const std::string& old_path) {
    Attributes attributes;
    if (const int error = ReadAttributes(old_path, attributes))
        return error;
    bool acl = false;
    for (const auto& [name, value] : attributes) {
        acl = acl || name == kAccessAcl;
        if (calls_.SetAttribute(fd, name.c_str(), value.data(), value.size()) == 0)
            continue;
        // The system labels a new file itself (SELinux, file capabilities);
        // copying a label takes a privilege the user need not have.
        if (!name.starts_with("security."))
            return errno;
    }
    // A folder's default ACL gives a new file one that the old file had not.
    if (!acl && fgetxattr(fd, kAccessAcl, nullptr, 0) >= 0 &&
        calls_.RemoveAttribute(fd, kAccessAcl) != 0) {
        return errno;
    }
    return 0;
}

// Gives the temporary file the old file's owner, attributes and mode, then
// fills it. Permissions first, so that the flush makes them durable with the
// data.
int PosixFileStore::FillTemporary(int fd, std::string_view bytes, const struct stat* old,
                                  const std::string& old_path) {
    if (old != nullptr) {
        // Only root may give a file away; elsewhere at least keep the group,
        // so that group permissions still mean the same people. Done before
        // the mode, which a change of owner could otherwise undo.
        if (calls_.ChangeOwner(fd, old->st_uid, old->st_gid) != 0) {
            calls_.ChangeOwner(fd, static_cast<uid_t>(-1), old->st_gid);
        }
        if (const int error = CopyAttributes(fd, old_path))
            return error;
        // After the ACL, whose owner, mask and other entries the mode sets.
        if (calls_.ChangeMode(fd, old->st_mode & 07777) != 0)
            return errno;
    }
    if (const int error = WriteAll(fd, bytes))
        return error;
    // Writing clears the set-user-ID and set-group-ID bits; give them back.
    if (old != nullptr && (old->st_mode & (S_ISUID | S_ISGID)) != 0 &&
        calls_.ChangeMode(fd, old->st_mode & 07777) != 0) {
        return errno;
    }
    return SyncFile(fd);
}

FileBytes PosixFileStore::Read(const Text& path, size_t limit) {
    std::string name;
    if (!ToFileName(path, name)) {
        return Failure(EINVAL);
    }
    // A planted link could lead to a private file of the user's, which would
    // then go out in the signature.
    struct stat found {};
    bool exists = false;
    if (const std::error_code error = ResolveLinks(name, calls_.EffectiveUser(), found, exists)) {
        return FileResult{error};
    }
    return ReadFile(name, limit, nullptr);
}

FileBytes PosixFileStore::ReadOwn(const Text& path, size_t limit) {
    std::string name;
    if (!ToFileName(path, name)) {
        return Failure(EINVAL);
    }
    const FileUser user = EffectiveFileUser();
    struct stat folder {};
    // Every link on the way lies in a folder of the user's, so that no one
    // else can point it at a private file of the user's; the file is then
    // opened by the real path that was checked.
    for (int hop = 0;; ++hop) {
        if (hop > kMaxLinkHops) {
            return Failure(ELOOP);
        }
        std::string real;
        if (const std::error_code error = CheckFolders(DirectoryOf(name), user, real, folder)) {
            return FileResult{error};
        }
        name = (real == "/" ? real : real + "/") + BaseNameOf(name);
        struct stat info {};
        if (lstat(name.c_str(), &info) != 0) {
            return Failure(errno);
        }
        if (!S_ISLNK(info.st_mode))
            break;
        std::string target(PATH_MAX, '\0');
        const ssize_t length = readlink(name.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<size_t>(length) >= target.size()) {
            return Failure(length < 0 ? errno : ENOENT);
        }
        target.resize(static_cast<size_t>(length));
        name = target.front() == '/' ? target : real + "/" + target;
    }
    return ReadFile(name, limit,
                    [&](const struct stat& file) { return CheckFile(file, folder, user); });
}

FileBytes PosixFileStore::ReadFile(
    const std::string& name, size_t limit,
    const std::function<std::error_code(const struct stat&)>& accept) {
    // Not blocking, so that a pipe with no writer cannot hold the open for
    // ever. A terminal opened here never becomes the program's. No link is
    // followed at the end: one put there since the check is not ours.
    const Descriptor fd(
        open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (fd.get() == -1 || fstat(fd.get(), &info) != 0) {
        return Failure(errno);
    }
    // Judged by the file opened, not by the name, which may have changed.
    if (accept) {
        if (const std::error_code refused = accept(info)) {
            return FileResult{refused};
        }
    }
    if (S_ISDIR(info.st_mode)) {
        return Failure(EISDIR);
    }
    // A pipe or a device may never end (/dev/zero) or never answer.
    if (!S_ISREG(info.st_mode)) {
        return FileResult{FileErrc::NotRegularFile};
    }
    // A file system that honoured the flag for a regular file might answer
    // "try again" rather than wait for the data.
    const int flags = fcntl(fd.get(), F_GETFL);
    if (flags < 0 || fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return Failure(errno);
    }
    if (static_cast<uintmax_t>(info.st_size) > limit) {
        return FileResult{FileErrc::TooLarge};
    }
    std::string bytes;
    bytes.reserve(static_cast<size_t>(info.st_size));
    // Read to the end rather than trusting the size, which a growing file
    // outgrows and some files (in /proc) give as 0. One byte past the limit
    // tells a file that is over it.
    char buffer[65536];
    while (bytes.size() <= limit) {
        const size_t room = limit - bytes.size();
        const ssize_t got = read(fd.get(), buffer, room == 0 ? 1 : std::min(room, sizeof buffer));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return Failure(errno);
        }
        if (got == 0)
            return bytes;
        bytes.append(buffer, static_cast<size_t>(got));
    }
    return FileResult{FileErrc::TooLarge};
}

FileResult PosixFileStore::Replace(const Text& path, std::string_view bytes) {
    std::string target;
    if (!ToFileName(path, target))
        return Failure(EINVAL);
    if (target.empty())
        return Failure(ENOENT);
    struct stat old {};
    bool existed = false;
    if (const std::error_code error = ResolveLinks(target, calls_.EffectiveUser(), old, existed))
        return FileResult{error};

    const std::string name = BaseNameOf(target);
    if (name.empty() || name == "." || name == "..")
        return Failure(EISDIR);
    if (existed && S_ISDIR(old.st_mode))
        return Failure(EISDIR);
    // A pipe or device stays as it is: never opened, never renamed over.
    if (existed && !S_ISREG(old.st_mode))
        return FileResult{FileErrc::NotRegularFile};
    // Renaming would get past a read-only file; the user made it read-only to
    // keep it as it is, so fail the way writing into it would.
    if (existed && faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        return Failure(errno);
    }

    // Over an existing file the temporary one stays private until it takes
    // the old permissions, as the old file may hold something private. A new
    // file gets what open() gives any file, umask and default ACLs applied.
    const std::string directory = DirectoryOf(target);
    RemoveStaleTemporaries(directory, name);
    std::string temp_path;
    const int fd = CreateTemporary(directory, name, existed ? 0600 : 0666, temp_path);
    if (fd == -1)
        return Failure(errno);

    int error = FillTemporary(fd, bytes, existed ? &old : nullptr, target);
    // On Linux the descriptor is gone even when close reports EINTR, and the
    // data were already synced, so only other errors count.
    if (calls_.Close(fd) != 0 && error == 0 && errno != EINTR)
        error = errno;
    if (error == 0 && calls_.Rename(temp_path.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0) {
        calls_.Remove(temp_path.c_str());
        return Failure(error);
    }
    SyncDirectory(directory);
    return FileResult{};
}

// Only regular files of the user's, one name each, by the temporary files'
// names of `name`, and old enough that no write still running made them.
// Nothing else in the folder is touched; a folder that cannot be listed is
// left as it is.
void PosixFileStore::RemoveStaleTemporaries(const std::string& directory, const std::string& name) {
    const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd == -1)
        return;
    DIR* const folder = fdopendir(fd);
    if (folder == nullptr) {
        close(fd);
        return;
    }
    const std::string stem = TempStem(name);
    const uid_t user = calls_.EffectiveUser();
    const time_t stale = time(nullptr) - kStaleTempAge;
    while (const dirent* entry = readdir(folder)) {
        const std::string_view found = entry->d_name;
        if (found.size() != stem.size() + kTempRandomLength || !found.starts_with(stem) ||
            found.substr(stem.size()).find_first_not_of(kTempAlphabet) != std::string_view::npos) {
            continue;
        }
        struct stat info {};
        if (fstatat(fd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode) &&
            info.st_uid == user && info.st_nlink == 1 && info.st_mtime < stale) {
            unlinkat(fd, entry->d_name, 0);
        }
    }
    closedir(folder);
}

bool PosixFileStore::Exists(const Text& path) const {
    std::string name;
    if (!ToFileName(path, name))
        return false;
    struct stat info {};
    return stat(name.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool PosixFileStore::IsLink(const Text& path) const {
    std::string name;
    if (!ToFileName(path, name))
        return false;
    struct stat info {};
    return lstat(name.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool PosixFileStore::SameFile(const Text& a, const Text& b) const {
    std::string first;
    std::string second;
    if (!ToFileName(a, first) || !ToFileName(b, second))
        return false;
    const auto same = [](const std::string& x, const std::string& y) {
        struct stat one {};
        struct stat other {};
        return stat(x.c_str(), &one) == 0 && stat(y.c_str(), &other) == 0 &&
               one.st_dev == other.st_dev && one.st_ino == other.st_ino;
    };
    struct stat info {};
    if (stat(first.c_str(), &info) == 0 || stat(second.c_str(), &info) == 0)
        return same(first, second);
    // Neither is there yet: the file either would become.
    return BaseNameOf(first) == BaseNameOf(second) && same(DirectoryOf(first), DirectoryOf(second));
}

FileResult PosixFileStore::Rename(const Text& from, const Text& to) {
    std::string source;
    std::string target;
    if (!ToFileName(from, source) || !ToFileName(to, target))
        return Failure(EINVAL);
    // Never over a file already there (EEXIST), even one made meanwhile.
    if (renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return {};
    if (errno != EINVAL && errno != ENOSYS)
        return Failure(errno);
    // A file system without that kind of rename: a second name, then the first one gone.
    if (link(source.c_str(), target.c_str()) != 0)
        return Failure(errno);
    unlink(source.c_str());
    return {};
}

FileResult PosixFileStore::Remove(const Text& path) {
    std::string name;
    if (!ToFileName(path, name))
        return Failure(EINVAL);
    if (calls_.Remove(name.c_str()) != 0)
        return Failure(errno);
    return {};
}

FileResult PosixFileStore::MakeFolders(const Text& folder) {
    std::string name;
    if (!ToFileName(folder, name))
        return Failure(EINVAL);
    std::error_code error;
    std::filesystem::create_directories(name, error);
    if (error)
        return FileResult{error};
    return {};
}

void PosixFileStore::Locked(const Text& lockPath, const std::function<void()>& work) {
    const FileLock lock(lockPath);
    work();
}

}  // namespace velmo

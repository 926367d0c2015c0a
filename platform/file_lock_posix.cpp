#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>
#include <utility>

#include "platform/file_lock.h"
#include "platform/lock_file_posix.h"

namespace velmo {

namespace {

using FileId = std::pair<dev_t, ino_t>;

// The lock files this process holds, by file, with their descriptors. A lock
// is per open file, so waiting for one of these through a second descriptor
// would wait for ever.
std::mutex heldMutex;
std::map<FileId, int>& Held() {
    static std::map<FileId, int> held;
    return held;
}

}  // namespace

LockOutcome LockFile(const std::string& path, bool wait, int& fd) {
    const int opened = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (opened < 0)
        return LockOutcome::Unusable;
    struct stat info {};
    if (::fstat(opened, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
        ::close(opened);
        return LockOutcome::Unusable;
    }
    const FileId id{info.st_dev, info.st_ino};
    {
        const std::lock_guard<std::mutex> guard(heldMutex);
        if (Held().count(id) != 0) {
            ::close(opened);
            return LockOutcome::HeldHere;
        }
    }
    int result;
    while ((result = ::flock(opened, LOCK_EX | (wait ? 0 : LOCK_NB))) != 0 && errno == EINTR) {
    }
    if (result != 0) {
        const bool busy = errno == EWOULDBLOCK;
        ::close(opened);
        return busy ? LockOutcome::Busy : LockOutcome::Unusable;
    }
    const std::lock_guard<std::mutex> guard(heldMutex);
    Held().emplace(id, opened);
    fd = opened;
    return LockOutcome::Locked;
}

void UnlockFile(int fd) {
    {
        const std::lock_guard<std::mutex> guard(heldMutex);
        std::erase_if(Held(), [fd](const auto& held) { return held.second == fd; });
    }
    ::close(fd);  // closing releases the lock
}

FileLock::FileLock(const Text& path) {
    int fd = -1;
    if (LockFile(ToPathBytes(path), true, fd) == LockOutcome::Locked)
        handle_ = fd;
}

FileLock::~FileLock() {
    if (handle_ >= 0)
        UnlockFile(static_cast<int>(handle_));
}

}  // namespace velmo

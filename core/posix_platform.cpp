#include "core/posix_platform.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <filesystem>

namespace velmo {

namespace {

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    return home != nullptr ? home : "";
}

// An XDG base folder: the variable when it holds an absolute path, else the fallback.
std::string XdgFolder(const char* variable, const std::string& fallback) {
    const char* value = std::getenv(variable);
    return value != nullptr && value[0] == '/' ? value : HomeFolder() + fallback;
}

}  // namespace

double PosixClock::SecondsSinceMidnight() const {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const time_t seconds = now.tv_sec;
    tm local{};
    localtime_r(&seconds, &local);
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + now.tv_nsec / 1e9;
}

double PosixClock::ElapsedSeconds() const {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

LockFileInstance::LockFileInstance(std::string lockPath) : path_(std::move(lockPath)) {}

LockFileInstance::~LockFileInstance() {
    if (fd_ >= 0)
        ::close(fd_);
}

std::string LockFileInstance::DefaultLockPath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/')
        return std::string(runtime) + "/velmo.lock";
    return "/tmp/velmo-" + std::to_string(getuid()) + ".lock";
}

bool LockFileInstance::AnotherInstanceRunning() {
    if (fd_ >= 0)
        return false;
    const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;  // no lock to be had: better to run than to refuse
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return errno == EWOULDBLOCK;
    }
    fd_ = fd;
    return false;
}

Text PosixProgram::ProgramFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return FromUtf8(std::filesystem::current_path(error).string());
    return FromUtf8(self.parent_path().string());
}

bool PosixProgram::CanWriteFolder(const Text& folder) {
    return ::access(ToUtf8(folder).c_str(), W_OK | X_OK) == 0;
}

Text PosixProgram::UserDataFolder() {
    const std::string folder = XdgFolder("XDG_DATA_HOME", "/.local/share") + "/Velmo/";
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return FromUtf8(folder);
}

void PosixProgram::Exit() {
    std::_Exit(0);
}

}  // namespace velmo

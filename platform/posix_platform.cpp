#include "platform/posix_platform.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string_view>
#include <utility>
#include <vector>

#include "domain/profile.h"
#include "platform/lock_file_posix.h"
#include "platform/native.h"
#include "platform/own_files_posix.h"
#include "platform/posix_file_store.h"
#include "platform/reg_file_store.h"

namespace velmo {

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return home;
    // No usable HOME (a service, "env -i", a crontab): the folder the system
    // gives the user, rather than one relative to the root or the current folder.
    constexpr size_t kMaxEntry = size_t{1} << 20;
    const long hint = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(hint > 0 ? static_cast<size_t>(hint) : 4096);
    passwd entry{};
    passwd* found = nullptr;
    int error;
    while ((error = getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found)) ==
               ERANGE &&
           buffer.size() < kMaxEntry) {
        buffer.resize(buffer.size() * 2);
    }
    if (error != 0 || found == nullptr || found->pw_dir == nullptr || found->pw_dir[0] != '/')
        return {};
    return found->pw_dir;
}

namespace {

// An XDG base folder: the variable when it holds an absolute path, else the
// fallback below the home folder; empty when there is neither.
std::string XdgFolder(const char* variable, const std::string& fallback) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/')
        return value;
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + fallback;
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// XDG_DOCUMENTS_DIR as user-dirs.dirs sets it: "$HOME/..." or an absolute
// path in double quotes, backslash escaping the next character; the last
// setting counts. Empty when it is not set.
std::string UserDirsDocuments(const std::string& home) {
    // The file is a dozen short lines: a larger one, or one that is not a
    // regular file (a pipe would block), is not read at all.
    constexpr size_t kLimit = 64 * 1024;
    const std::string text =
        PosixFileStore()
            .ReadOwn(FromPathBytes(XdgFolder("XDG_CONFIG_HOME", "/.config") + "/user-dirs.dirs"),
                     kLimit)
            .value_or(std::string());
    constexpr std::string_view kName = "XDG_DOCUMENTS_DIR";
    std::string found;
    size_t end = 0;
    for (size_t start = 0; start < text.size(); start = end + 1) {
        end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line(text.data() + start, end - start);
        const auto skipBlanks = [&line] {
            while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
                line.remove_prefix(1);
        };
        skipBlanks();
        if (line.substr(0, kName.size()) != kName)
            continue;
        line.remove_prefix(kName.size());
        skipBlanks();
        if (line.empty() || line.front() != '=')
            continue;
        line.remove_prefix(1);
        skipBlanks();
        if (line.empty() || line.front() != '"')
            continue;
        line.remove_prefix(1);
        std::string value;
        if (line.starts_with("$HOME/") || line.starts_with("$HOME\"")) {
            value = home;
            line.remove_prefix(5);
        } else if (line.empty() || line.front() != '/') {
            continue;
        }
        bool closed = false;
        for (size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '"') {
                closed = true;
                break;
            }
            if (line[i] == '\\' && i + 1 < line.size())
                ++i;
            value += line[i];
        }
        if (closed)
            found = value;
    }
    return found;
}

}  // namespace

double PosixClock::ElapsedSeconds() const {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

LockFileInstance::LockFileInstance(std::string lockPath) : path_(std::move(lockPath)) {}

LockFileInstance::~LockFileInstance() {
    if (fd_ != -1)
        UnlockFile(fd_);
}

std::string LockFileInstance::DefaultLockPath(std::string_view profile) {
    const std::string settings = ToPathBytes(RegFileStore::DefaultPath(profile));
    if (settings.empty())
        return {};
    return settings.substr(0, settings.find_last_of('/') + 1) + "velmo.lock";
}

bool LockFileInstance::AnotherInstanceRunning() {
    if (fd_ != -1 || path_.empty())
        return false;
    // The lock goes beside the settings it guards, in a folder no one else
    // may change; elsewhere anyone could hold it, or lead it to another file.
    const std::string folder = path_.substr(0, path_.find_last_of('/') + 1);
    if (!folder.empty()) {
        const FileUser user = EffectiveFileUser();
        std::string real;
        struct stat info {};
        // Made only below a folder of the user's: root, run with another
        // user's HOME, leaves no folder of root's in that user's home.
        if (CheckFolders(folder, user, real, info) == std::errc::no_such_file_or_directory) {
            std::error_code ignored;
            std::filesystem::create_directories(folder, ignored);
        }
        if (CheckFolders(folder, user, real, info))
            return false;  // no lock to be had: better to run than to refuse
    }
    const LockOutcome outcome = LockFile(path_, false, fd_);
    return outcome == LockOutcome::Busy || outcome == LockOutcome::HeldHere;
}

Text PosixProgram::ProgramFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return FromPathBytes(std::filesystem::current_path(error).string());
    return FromPathBytes(self.parent_path().string());
}

bool PosixProgram::CanWriteFolder(const Text& folder) {
    const std::string name = ToPathBytes(folder);
    // Files others could put there would be taken for the user's own.
    if (!FolderOfUser(name, EffectiveFileUser()))
        return false;
    // The folders of the file system hierarchy that hold installed programs.
    for (const std::string_view system : {"/usr/", "/bin/", "/sbin/"}) {
        if ((name + "/").compare(0, system.size(), system) == 0)
            return false;
    }
    return ::access(name.c_str(), W_OK | X_OK) == 0;
}

Text PosixProgram::UserDataFolder() {
    const std::string base = XdgFolder("XDG_DATA_HOME", "/.local/share");
    if (base.empty())
        return {};
    // Named, not made: the window program makes it where it writes, and
    // velmo-signature printing writes nothing.
    return FromPathBytes(base + "/Velmo/" + (profile_.empty() ? "" : "profiles/" + profile_ + "/"));
}

Text PosixProgram::TextFilesFolder() {
    return UserDataFolder();
}

// Here rather than with the rest of the store: the folders are the platform's.
Text RegFileStore::DefaultPath(std::string_view profile) {
    const std::string folder = XdgFolder("XDG_CONFIG_HOME", "/.config");
    if (folder.empty())
        return {};
    return FromPathBytes(folder + "/Velmo/" +
                         (profile.empty() ? "" : "profiles/" + std::string(profile) + "/") +
                         "User.reg");
}

std::vector<std::string> ExistingProfiles() {
    const std::string config = XdgFolder("XDG_CONFIG_HOME", "/.config");
    std::vector<std::string> names;
    if (config.empty())
        return names;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(config + "/Velmo/profiles", error)) {
        const std::string name = entry.path().filename().string();
        if (IsProfileName(name) &&
            std::filesystem::is_regular_file(entry.path() / "User.reg", error))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

Text PosixProgram::DocumentsFolder() {
    const std::string home = HomeFolder();
    std::string folder = UserDirsDocuments(home);
    if (!IsFolder(folder))
        folder = home + "/Documents";
    if (!IsFolder(folder))
        folder = home;
    return FromPathBytes(folder);
}

Text PosixProgram::ProgramFile() {
    std::error_code error;
    std::string self = std::filesystem::read_symlink("/proc/self/exe", error).string();
    if (error)
        return {};
    // The file was replaced while the program runs (an upgrade): the new one
    // at the same path is the program to name.
    constexpr std::string_view kDeleted = " (deleted)";
    if (self.ends_with(kDeleted) && ::access(self.c_str(), F_OK) != 0) {
        const std::string path = self.substr(0, self.size() - kDeleted.size());
        if (::access(path.c_str(), X_OK) == 0)
            self = path;
    }
    return FromPathBytes(self);
}

Text PosixProgram::AutostartFile() {
    const std::string folder = XdgFolder("XDG_CONFIG_HOME", "/.config");
    if (folder.empty())
        return {};
    const std::string name = profile_.empty() ? "velmo" : "velmo-" + profile_;
    return FromPathBytes(folder + "/autostart/" + name + ".desktop");
}

std::vector<Text> PosixProgram::OwnFiles() {
    std::vector<Text> files;
    if (Text self = ProgramFile(); !self.empty())
        files.push_back(std::move(self));
    // Without a home folder there is no settings file to name.
    if (const Text settings = RegFileStore::DefaultPath(profile_); !settings.empty()) {
        files.push_back(settings);
        files.push_back(settings + U".lock");
        files.push_back(FromPathBytes(LockFileInstance::DefaultLockPath(profile_)));
        if (Text round = PickRoundFile(); !round.empty())
            files.push_back(std::move(round));
        for (const std::string& other : OtherProfiles())
            files.push_back(RegFileStore::DefaultPath(other));
    }
    return files;
}

Text PosixProgram::PickRoundFile() {
    const std::string base = XdgFolder("XDG_STATE_HOME", "/.local/state");
    if (base.empty())
        return {};
    return FromPathBytes(base + "/Velmo/" + (profile_.empty() ? "" : "profiles/" + profile_ + "/") +
                         "picks");
}

Text PosixProgram::PickRoundLock() {
    const Text settings = RegFileStore::DefaultPath(profile_);
    return settings.empty() ? Text() : settings + U".lock";
}

std::vector<std::string> PosixProgram::OtherProfiles() const {
    std::vector<std::string> others;
    if (!profile_.empty())
        others.emplace_back();
    for (std::string& name : ExistingProfiles()) {
        if (name != profile_)
            others.push_back(std::move(name));
    }
    return others;
}

std::vector<Text> PosixProgram::OtherProfilesTextFolders() {
    std::vector<Text> folders;
    for (const std::string& other : OtherProfiles())
        folders.push_back(PosixProgram(other).TextFilesFolder());
    return folders;
}

Text PosixProgram::HelpFile() {
    const std::filesystem::path folder(ToPathBytes(ProgramFolder()));
    for (const char* place : {"../share/velmo/mail-clients.html", "docs/mail-clients.html"}) {
        const std::filesystem::path file = (folder / place).lexically_normal();
        std::error_code error;
        if (std::filesystem::is_regular_file(file, error))
            return FromPathBytes(file.string());
    }
    return {};
}

}  // namespace velmo

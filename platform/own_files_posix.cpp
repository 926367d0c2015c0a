#include "platform/own_files_posix.h"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/ports.h"

namespace velmo {

namespace {

constexpr size_t kMaxEntry = size_t{1} << 20;

// Runs a getpwuid_r-style lookup with a buffer that grows until the entry fits.
template <typename Entry, typename Lookup>
bool LookUp(Entry& entry, std::vector<char>& buffer, Lookup lookup) {
    buffer.resize(4096);
    Entry* found = nullptr;
    int error;
    while ((error = lookup(&entry, buffer.data(), buffer.size(), &found)) == ERANGE &&
           buffer.size() < kMaxEntry) {
        buffer.resize(buffer.size() * 2);
    }
    return error == 0 && found != nullptr;
}

std::string UserName(uid_t id) {
    passwd entry{};
    std::vector<char> buffer;
    if (!LookUp(entry, buffer, [id](passwd* e, char* b, size_t n, passwd** f) {
            return getpwuid_r(id, e, b, n, f);
        })) {
        return {};
    }
    return entry.pw_name;
}

bool PrivateGroupOf(gid_t id, const std::string& user) {
    group entry{};
    std::vector<char> buffer;
    if (user.empty() || !LookUp(entry, buffer, [id](group* e, char* b, size_t n, group** f) {
            return getgrgid_r(id, e, b, n, f);
        })) {
        return false;
    }
    std::vector<std::string> members;
    for (char** member = entry.gr_mem; member != nullptr && *member != nullptr; ++member)
        members.emplace_back(*member);
    return IsPrivateGroup(entry.gr_name, members, user);
}

// Write permission for anyone but the owner: others, or a group shared with them.
bool OthersMayWrite(const struct stat& info, const FileUser& user) {
    return (info.st_mode & S_IWOTH) != 0 ||
           ((info.st_mode & S_IWGRP) != 0 &&
            !(user.privateGroup && user.privateGroup(info.st_gid)));
}

std::error_code Fault(FileErrc code) {
    return make_error_code(code);
}

}  // namespace

FileUser EffectiveFileUser() {
    const uid_t id = geteuid();
    return {id, [name = UserName(id)](gid_t group) { return PrivateGroupOf(group, name); }};
}

bool IsPrivateGroup(std::string_view group, const std::vector<std::string>& members,
                    std::string_view user) {
    return !user.empty() && group == user &&
           std::all_of(members.begin(), members.end(),
                       [user](const std::string& member) { return member == user; });
}

std::error_code CheckFolder(const struct stat& folder, const FileUser& user) {
    if (folder.st_uid != user.id && folder.st_uid != 0)
        return Fault(FileErrc::UnsafeFolder);
    if (OthersMayWrite(folder, user) && (folder.st_mode & S_ISVTX) == 0)
        return Fault(FileErrc::UnsafeFolder);
    return {};
}

std::error_code CheckFile(const struct stat& file, const struct stat& folder,
                          const FileUser& user) {
    // Root's files come with the system, in folders no one else can change.
    const bool systemFile =
        file.st_uid == 0 && folder.st_uid == 0 && (folder.st_mode & (S_IWGRP | S_IWOTH)) == 0;
    if (file.st_uid != user.id && !systemFile)
        return Fault(FileErrc::NotOwnFile);
    if (OthersMayWrite(file, user))
        return Fault(FileErrc::WritableByOthers);
    return {};
}

std::error_code CheckFolders(const std::string& folder, const FileUser& user, std::string& real,
                             struct stat& info) {
    char* resolved = realpath(folder.c_str(), nullptr);
    if (resolved == nullptr) {
        const std::error_code error(errno, std::generic_category());
        // A folder not made yet is judged by the one it would be made in:
        // whoever may change that one could make it first, or lead it away.
        std::string above = folder;
        while (above.size() > 1 && above.back() == '/')
            above.pop_back();
        const size_t slash = above.find_last_of('/');
        if (error != std::errc::no_such_file_or_directory || slash == std::string::npos)
            return error;
        above = slash == 0 ? "/" : above.substr(0, slash);
        std::string ignored;
        struct stat status {};
        const std::error_code fault = CheckFolders(above, user, ignored, status);
        return fault && fault != std::errc::no_such_file_or_directory ? fault : error;
    }
    real = resolved;
    std::free(resolved);
    std::string up = real;
    for (bool first = true;; first = false) {
        struct stat status {};
        if (stat(up.c_str(), &status) != 0)
            return {errno, std::generic_category()};
        if (first)
            info = status;
        if (const std::error_code fault = CheckFolder(status, user))
            return fault;
        if (up == "/")
            return {};
        const size_t slash = up.find_last_of('/');
        up = slash == 0 ? "/" : up.substr(0, slash);
    }
}

bool FolderOfUser(const std::string& folder, const FileUser& user) {
    std::string real;
    struct stat info {};
    return !CheckFolders(folder, user, real, info) && !OthersMayWrite(info, user);
}

}  // namespace velmo

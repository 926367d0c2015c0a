#pragma once

// Whether a file that decides what the program does (its settings, the
// quotation list, the fixed text) can be taken as the user's own: no other
// user could have put it there or changed it. The rules are those ssh keeps
// for its configuration.

#include <sys/stat.h>
#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace velmo {

// The user the program runs for.
struct FileUser {
    uid_t id = 0;
    // True when the group has no member but the user, so that its write
    // permission gives no one else a way in.
    std::function<bool(gid_t)> privateGroup;
};

// The running user, with groups looked up in the system's group database.
FileUser EffectiveFileUser();

// A group is private to the user when it is named as the user is and lists no
// other member. Who else has it as primary group is not looked up; a group
// named after the user is taken to be the user's own, as Debian's ssh does.
bool IsPrivateGroup(std::string_view group, const std::vector<std::string>& members,
                    std::string_view user);

// A folder on the way to a file: the user's or root's, and open to no one
// else's writes unless it is sticky, where others cannot rename or remove
// the user's files. FileErrc::UnsafeFolder otherwise.
std::error_code CheckFolder(const struct stat& folder, const FileUser& user);

// The file itself, in `folder`: the user's own (one of root's only in a
// folder that only root may change, and never for root another user's),
// and writable by no one else. FileErrc::NotOwnFile or WritableByOthers.
std::error_code CheckFile(const struct stat& file, const struct stat& folder, const FileUser& user);

// Checks the folder and each folder above it up to the root; `real` gets
// the folder's path with every link resolved and `info` its status. A
// folder that does not exist is no_such_file_or_directory when the folder
// it would be made in passes.
std::error_code CheckFolders(const std::string& folder, const FileUser& user, std::string& real,
                             struct stat& info);

// True when the folder is the user's alone: it and the folders above pass
// CheckFolder, and no one else may write in it, sticky or not.
bool FolderOfUser(const std::string& folder, const FileUser& user);

}  // namespace velmo

#include "platform/own_files_posix.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/posix_file_store.h"
#include "support/temp_folder.h"
#include "support/text_helpers.h"

namespace velmo {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kUser = 1000;
constexpr uid_t kOther = 1001;
constexpr gid_t kPrivate = 1000;  // the user's own group
constexpr gid_t kShared = 100;

struct stat Status(uid_t owner, mode_t mode, gid_t group = kPrivate) {
    struct stat info {};
    info.st_uid = owner;
    info.st_gid = group;
    info.st_mode = mode;
    return info;
}

FileUser User(uid_t id) {
    return {id, [](gid_t group) { return group == kPrivate; }};
}

// Who may have written a file, as ssh judges its configuration: the user's
// own file, or root's in a folder only root changes; no one else's write
// permission on it, nor on a folder above unless the folder is sticky and
// the user's or root's.
TEST(OwnFileTest, OnlyWhatNoOneElseCouldHaveWrittenIsTaken) {
    const std::error_code ok;
    const std::error_code notOwn = FileErrc::NotOwnFile;
    const std::error_code writable = FileErrc::WritableByOthers;
    const struct {
        const char* what;
        uid_t user;
        struct stat file, folder;
        std::error_code expected;
    } files[] = {
        {"the user's", kUser, Status(kUser, 0644), Status(kUser, 0755), ok},
        {"the user's private group may write", kUser, Status(kUser, 0664), Status(kUser, 0755), ok},
        {"a shared group may write", kUser, Status(kUser, 0664, kShared), Status(kUser, 0755),
         writable},
        {"anyone may write", kUser, Status(kUser, 0646), Status(kUser, 0755), writable},
        {"another user's", kUser, Status(kOther, 0644), Status(kUser, 0755), notOwn},
        {"root's, in a system folder", kUser, Status(0, 0644, 0), Status(0, 0755, 0), ok},
        {"root's, in /tmp", kUser, Status(0, 0644, 0), Status(0, 01777, 0), notOwn},
        {"root's, in a group's folder", kUser, Status(0, 0644, 0), Status(0, 0775, 0), notOwn},
        {"root's, in the user's folder", kUser, Status(0, 0644, 0), Status(kUser, 0755), notOwn},
        {"for root, a user's", 0, Status(kUser, 0600), Status(kUser, 0700), notOwn},
        {"for root, root's", 0, Status(0, 0600, 0), Status(0, 0700, 0), ok},
    };
    for (const auto& row : files) {
        EXPECT_EQ(CheckFile(row.file, row.folder, User(row.user)), row.expected) << row.what;
    }
    const std::error_code unsafe = FileErrc::UnsafeFolder;
    const struct {
        const char* what;
        uid_t user;
        struct stat folder;
        std::error_code expected;
    } folders[] = {
        {"the user's", kUser, Status(kUser, 0755), ok},
        {"root's", kUser, Status(0, 0755, 0), ok},
        {"/tmp", kUser, Status(0, 01777, 0), ok},
        {"anyone may write", kUser, Status(kUser, 0777), unsafe},
        {"another user's", kUser, Status(kOther, 0755), unsafe},
        {"another user's sticky folder, whose owner removes anything", kUser, Status(kOther, 01777),
         unsafe},
        {"the user's private group may write", kUser, Status(kUser, 0775), ok},
        {"a shared group may write", kUser, Status(kUser, 0775, kShared), unsafe},
        {"a shared group's sticky folder", kUser, Status(0, 01775, kShared), ok},
        {"for root, a user's", 0, Status(kUser, 0700), unsafe},
    };
    for (const auto& row : folders)
        EXPECT_EQ(CheckFolder(row.folder, User(row.user)), row.expected) << row.what;
}

// A group is the user's alone when named after the user with no other
// member listed.
TEST(OwnFileTest, PrivateGroups) {
    EXPECT_TRUE(IsPrivateGroup("alice", {}, "alice"));
    EXPECT_TRUE(IsPrivateGroup("alice", {"alice"}, "alice"));
    EXPECT_FALSE(IsPrivateGroup("alice", {"alice", "bob"}, "alice"));
    EXPECT_FALSE(IsPrivateGroup("staff", {}, "alice"));
    EXPECT_FALSE(IsPrivateGroup("", {}, ""));
}

// Read for the program's own files refuses, with the reason, a file others
// may change, one in a folder anyone may write to (or to be made in one),
// and a link there to a file of the user's, also further down; a folder only
// the user writes to may keep them.
TEST(OwnFileTest, ReadingTheProgramsOwnFiles) {
    const testing::TempFolder root{"velmo-own"};
    fs::create_directories(root / "mine");
    fs::create_directories(root / "open");
    ASSERT_EQ(chmod((root / "open").c_str(), 0777), 0);
    testing::WriteFile(root / "mine/private", "secret");
    testing::WriteFile(root / "mine/shared", "x");
    ASSERT_EQ(chmod((root / "mine/shared").c_str(), 0666), 0);
    testing::WriteFile(root / "open/planted", "x");
    fs::create_directories(root / "open/mine");
    testing::WriteFile(root / "open/mine/file", "x");
    fs::create_symlink(root / "mine/private", root / "open/link");
    fs::create_symlink(root / "mine/private", root / "mine/link");
    const struct {
        const char* name;
        std::error_code expected;
    } rows[] = {
        {"mine/private", {}},
        {"mine/link", {}},
        {"mine/shared", FileErrc::WritableByOthers},
        {"open/planted", FileErrc::UnsafeFolder},
        {"open/link", FileErrc::UnsafeFolder},
        {"open/mine/file", FileErrc::UnsafeFolder},
        {"open/missing", FileErrc::UnsafeFolder},
        {"open/new/missing", FileErrc::UnsafeFolder},
        {"mine/missing", std::make_error_code(std::errc::no_such_file_or_directory)},
        {"mine/new/missing", std::make_error_code(std::errc::no_such_file_or_directory)},
    };
    PosixFileStore store;
    for (const auto& row : rows) {
        const FileBytes bytes = store.ReadOwn(testing::PathText(root / row.name));
        EXPECT_EQ(testing::ReadError(bytes), row.expected)
            << row.name << ": " << testing::ReadError(bytes).message();
        EXPECT_EQ(bytes.has_value(), !row.expected) << row.name;
    }
    EXPECT_TRUE(FolderOfUser((root / "mine").string(), EffectiveFileUser()));
    EXPECT_FALSE(FolderOfUser((root / "open").string(), EffectiveFileUser()));
    EXPECT_FALSE(FolderOfUser("/tmp", EffectiveFileUser()));
}

}  // namespace
}  // namespace velmo

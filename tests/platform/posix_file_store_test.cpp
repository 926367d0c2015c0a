#include "platform/posix_file_store.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "platform/file_lock.h"
#include "platform/native.h"
#include "platform/posix_platform.h"
#include "support/temp_folder.h"
#include "support/text_helpers.h"

namespace velmo {
namespace {

using namespace std::literals;
using testing::BytesRead;
using testing::FileContents;
using testing::PathText;
using testing::ReadError;
using testing::WriteFile;
namespace fs = std::filesystem;

std::error_code Err(int error) {
    return {error, std::generic_category()};
}

class PosixFileStoreTest : public ::testing::Test {
  protected:
    Text PathOf(const std::string& name) const { return PathText(dir_ / name); }

    const testing::TempFolder folder_{"velmo-store"};
    const fs::path dir_ = folder_.path();
    PosixFileStore store_;
};

// Whole contents replaced, every byte value, more than one read's buffer,
// UTF-8 names and one near the longest a folder allows (the temporary name
// must still fit); each read gives back exactly what was written, and every
// descriptor is closed again: Velmo writes and reads all day long.
TEST_F(PosixFileStoreTest, WhatIsWrittenReadsBackExactly) {
    std::string large(5 * 1024 * 1024 + 7, '\0');  // every byte value, in a changing order
    for (size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<char>(i * 31 + i / 256);
    const std::string long_name(250, 'n');
    ASSERT_TRUE(store_.MakeFolders(PathOf("sub/folder")));
    const std::pair<std::string, std::string> rows[] = {
        {"file", large},
        {"file", ""},
        {"Grüße — Ελληνικά.txt", "x"},
        {long_name, "long"},
        {"sub/folder/file", "deep"},
    };
    const auto descriptors = [] {
        return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
    };
    const auto before = descriptors();
    for (const auto& [name, bytes] : rows) {
        SCOPED_TRACE(name.substr(0, 20));
        const FileResult result = store_.Replace(PathOf(name), bytes);
        ASSERT_TRUE(result) << result.Message();
        EXPECT_TRUE(FileContents(dir_ / name) == bytes);
        const FileBytes read = store_.Read(PathOf(name));
        EXPECT_TRUE(BytesRead(read) == bytes) << ReadError(read).message();
        EXPECT_TRUE(store_.Exists(PathOf(name)));
    }
    EXPECT_EQ(descriptors(), before);
    // A new file gets the permissions of any other, umask applied.
    WriteFile(dir_ / "reference", "");
    EXPECT_EQ(fs::status(dir_ / "file").permissions(),
              fs::status(dir_ / "reference").permissions());
    // Renamed, never over a file already there; removed once.
    EXPECT_EQ(store_.Rename(PathOf("file"), PathOf("reference")).error, Err(EEXIST));
    EXPECT_TRUE(store_.Rename(PathOf("file"), PathOf("renamed")));
    EXPECT_TRUE(store_.Remove(PathOf("renamed")));
    EXPECT_EQ(store_.Remove(PathOf("renamed")).error, Err(ENOENT));
    EXPECT_EQ(FileContents(dir_ / "reference"), "");
}

// The extended attributes of a file, ACLs among them, by name.
std::map<std::string, std::string> AttributesOf(const fs::path& file) {
    std::map<std::string, std::string> found;
    char names[4096];
    const ssize_t size = llistxattr(file.c_str(), names, sizeof names);
    for (ssize_t pos = 0; pos < size; pos += static_cast<ssize_t>(strlen(names + pos)) + 1) {
        std::string value(8192, '\0');
        value.resize(static_cast<size_t>(std::max<ssize_t>(
            0, lgetxattr(file.c_str(), names + pos, value.data(), value.size()))));
        found[names + pos] = value;
    }
    return found;
}

// An access ACL as the kernel stores it: the owner, the group and others as
// the mode says, one more user with read access, and the mask.
std::string AclWithUser(mode_t mode, uid_t user) {
    std::string acl("\x02\0\0\0", 4);  // version 2
    const auto entry = [&](uint16_t tag, unsigned perm, uint32_t id) {
        const uint16_t p = static_cast<uint16_t>(perm);
        acl.append(reinterpret_cast<const char*>(&tag), 2);
        acl.append(reinterpret_cast<const char*>(&p), 2);
        acl.append(reinterpret_cast<const char*>(&id), 4);
    };
    entry(0x01, mode >> 6 & 7, UINT32_MAX);  // owner
    entry(0x02, 4, user);
    entry(0x04, mode >> 3 & 7, UINT32_MAX);  // group
    entry(0x10, 4, UINT32_MAX);              // mask
    entry(0x20, mode & 7, UINT32_MAX);       // others
    return acl;
}

// Replacing keeps the file's mode bits and extended attributes exactly, an
// ACL among them, and gives the file no ACL it did not have, even in a folder
// whose default ACL would.
TEST_F(PosixFileStoreTest, ReplacingKeepsModeBitsAndExtendedAttributes) {
    const std::string acl = AclWithUser(0600, 65534);
    const std::string binary("\0\xff value\n" + std::string(3000, 'v'));
    const struct {
        const char* what;
        mode_t mode;
        std::map<std::string, std::string> attributes;
        bool defaultAcl = false;  // on the folder
    } rows[] = {
        {"an ACL entry for another user", 0600, {{"system.posix_acl_access", acl}}},
        {"user attributes", 0604, {{"user.a", "1"}, {"user.b", binary}, {"user.empty", ""}}},
        {"no ACL in a folder with a default ACL", 0600, {}, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const testing::TempFolder root{"velmo-attributes"};
        const fs::path file = root / "sig.txt";
        WriteFile(file, "old");
        ASSERT_EQ(chmod(file.c_str(), row.mode), 0);
        for (const auto& [name, value] : row.attributes) {
            if (setxattr(file.c_str(), name.c_str(), value.data(), value.size(), 0) != 0)
                GTEST_SKIP() << name << ": " << strerror(errno);
        }
        if (row.defaultAcl && setxattr(root.path().c_str(), "system.posix_acl_default", acl.data(),
                                       acl.size(), 0) != 0) {
            GTEST_SKIP() << "default ACL: " << strerror(errno);
        }
        struct stat before {};
        ASSERT_EQ(stat(file.c_str(), &before), 0);
        const auto attributes = AttributesOf(file);

        ASSERT_TRUE(store_.Replace(PathText(file), "new"));

        struct stat after {};
        ASSERT_EQ(stat(file.c_str(), &after), 0);
        EXPECT_EQ(FileContents(file), "new");
        EXPECT_NE(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(AttributesOf(file), attributes);
        EXPECT_EQ(root.Listing(), std::set<std::string>{"sig.txt"});
    }
}

// Temporary files of the file being replaced that a killed write left behind
// go at its next replacement: only the user's own regular files by Velmo's
// names, old enough that no write still running made them.
TEST_F(PosixFileStoreTest, StaleTemporaryFilesOfTheFileGo) {
    // Seconds since the file was last written; stale after ten minutes.
    const auto made = [&](const std::string& name, int age = 3600) {
        WriteFile(dir_ / name, "left");
        fs::last_write_time(dir_ / name, fs::file_time_type::clock::now() - 1s * age);
    };
    made(".sig.txt.velmo-AbCd0123", 630);
    made(".sig.txt.velmo-Zz9Zz9Zz");
    made(".sig.txt.velmo-fresh000", 570);  // a write may be filling it now
    made(".sig.txt.velmo-short");          // not a name Velmo gives
    made(".sig.txt.velmo-AbCd012_");
    made(".sig.txt.20261207");          // the user's own
    made(".other.txt.velmo-AbCd0123");  // of another file
    made("linked");
    fs::create_hard_link(dir_ / "linked", dir_ / ".sig.txt.velmo-Linked00");
    fs::create_symlink("linked", dir_ / ".sig.txt.velmo-Symlink0");
    fs::create_directory(dir_ / ".sig.txt.velmo-Folder00");
    const bool root = geteuid() == 0;
    if (root) {
        made(".sig.txt.velmo-Others00");
        ASSERT_EQ(chown((dir_ / ".sig.txt.velmo-Others00").c_str(), 65534, 65534), 0);
    }
    std::set<std::string> kept = folder_.Listing();
    kept.erase(".sig.txt.velmo-AbCd0123");
    kept.erase(".sig.txt.velmo-Zz9Zz9Zz");
    kept.insert("sig.txt");

    ASSERT_TRUE(store_.Replace(PathOf("sig.txt"), "new"));

    EXPECT_EQ(folder_.Listing(), kept);
}

// One instance holds the lock, also when asked again; another finds it held
// until the first ends. No lock to be had is no reason not to run: a link in
// its place (never followed: its target is not made) or another user's file,
// held or not. A lock this process holds, under any name, is never waited for.
TEST_F(PosixFileStoreTest, OneInstanceHoldsTheLock) {
    const std::string lock = (dir_ / "lock").string();
    auto first = std::make_optional<LockFileInstance>(lock);
    LockFileInstance second(lock);
    EXPECT_FALSE(first->AnotherInstanceRunning());
    EXPECT_FALSE(first->AnotherInstanceRunning());
    EXPECT_TRUE(second.AnotherInstanceRunning());
    first.reset();
    EXPECT_FALSE(second.AnotherInstanceRunning());
    // A lock's folder not made yet is made; one that others may change is
    // not used.
    LockFileInstance made((dir_ / "missing/lock").string());
    EXPECT_FALSE(made.AnotherInstanceRunning());
    EXPECT_TRUE(LockFileInstance((dir_ / "missing/lock").string()).AnotherInstanceRunning());
    fs::create_directory(dir_ / "open");
    fs::permissions(dir_ / "open", fs::perms::all);
    EXPECT_FALSE(LockFileInstance((dir_ / "open/lock").string()).AnotherInstanceRunning());
    EXPECT_FALSE(fs::exists(dir_ / "open/lock"));

    fs::create_symlink(dir_ / "target", dir_ / "link");
    EXPECT_FALSE(LockFileInstance((dir_ / "link").string()).AnotherInstanceRunning());
    EXPECT_FALSE(fs::exists(dir_ / "target"));
    fs::create_hard_link(lock, dir_ / "alias");
    EXPECT_EXIT(
        {
            alarm(10);
            { const FileLock settings(PathOf("alias")); }
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    if (geteuid() == 0) {
        WriteFile(dir_ / "others", "");
        ASSERT_EQ(chown((dir_ / "others").c_str(), 65534, 65534), 0);
        const int held = open((dir_ / "others").c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_EQ(flock(held, LOCK_EX), 0);
        EXPECT_FALSE(LockFileInstance((dir_ / "others").string()).AnotherInstanceRunning());
        close(held);
    }
}

// The kernel's protected_symlinks rule, kept whatever the sysctl says: a link
// in a sticky, world-writable folder is followed only when it belongs to the
// user or to the folder's owner. Another user's link in /tmp must not make
// the signature overwrite the user's own files, nor hand them out. Root, run
// with a user's HOME, follows none of another user's links. A link followed
// stays a link, relative or absolute, however many in a row.
TEST(PlantedLinkTest, LinksOthersPlantedInSharedFoldersAreNotFollowed) {
    if (geteuid() != 0)
        GTEST_SKIP() << "giving a link to another user needs root";
    constexpr uid_t kUser = 1000;
    constexpr uid_t kOther = 65534;
    const struct {
        const char* what;
        mode_t folder_mode;
        uid_t link_owner;
        uid_t user;
        bool refused;
    } kCases[] = {
        {"another user's link in a sticky shared folder", 01777, kOther, kUser, true},
        {"the user's own link there", 01777, kUser, kUser, false},
        {"a link of the folder's owner", 01777, 0, kUser, false},
        {"a shared folder that is not sticky", 0777, kOther, kUser, false},
        {"a sticky folder only its owner writes to", 01755, kOther, kUser, false},
        {"for root, a user's link in the user's own folder", 0755, kUser, 0, true},
    };
    struct : PosixFileCalls {  // the store runs as this user whoever runs the test
        uid_t EffectiveUser() override { return id; }
        uid_t id = kUser;
    } user;
    PosixFileStore store(user);
    for (const auto& row : kCases) {
        SCOPED_TRACE(row.what);
        user.id = row.user;
        // start -> shared/link -> next -> victim.txt: the planted link is
        // neither the first hop nor the last.
        const testing::TempFolder root{"velmo-links"};
        const fs::path shared = root / "shared";
        fs::create_directory(shared);
        ASSERT_EQ(chmod(shared.c_str(), row.folder_mode), 0);
        WriteFile(root / "victim.txt", "private");
        fs::create_symlink("victim.txt", root / "next");
        fs::create_symlink(root / "next", shared / "link");
        ASSERT_EQ(lchown((shared / "link").c_str(), row.link_owner, 0), 0);
        fs::create_symlink("shared/link", root / "start");
        const std::set<std::string> before = root.Listing();
        for (const fs::path& path : {shared / "link", root / "start"}) {
            SCOPED_TRACE(path.string());
            const std::error_code refusal = row.refused ? FileErrc::UnsafeLink : std::error_code();
            const FileBytes read = store.Read(PathText(path));
            EXPECT_EQ(read.has_value(), !row.refused);
            EXPECT_EQ(ReadError(read), refusal) << ReadError(read).message();
            EXPECT_EQ(store.Replace(PathText(path), "signature").error, refusal);
            EXPECT_EQ(FileContents(root / "victim.txt"), row.refused ? "private" : "signature");
            EXPECT_EQ(root.Listing(), before);
            EXPECT_TRUE(fs::is_symlink(path));
        }
    }
}

// What is not a file that can be read or replaced fails with the reason and
// is left as it was. A pipe or a device is refused at once and never replaced
// by a regular file: a pipe with no writer would block the open for ever,
// /dev/zero would fill the memory.
TEST_F(PosixFileStoreTest, RefusedPathsFailWithTheReasonAndChangeNothing) {
    alarm(20);  // a regression blocks in open(): end the test program rather than hang
    WriteFile(dir_ / "file", "keep");
    fs::create_directory(dir_ / "folder");
    const std::pair<const char*, const char*> links[] = {
        {"link", "folder"}, {"slash", "folder/"}, {"a", "b"}, {"b", "a"}, {"zero", "/dev/zero"}};
    for (const auto& [link, to] : links)
        fs::create_symlink(to, dir_ / link);
    // A chain of links: c39 is 40 links long, as many as the system follows.
    for (int i = 0; i <= 40; ++i)
        fs::create_symlink(i == 0 ? "file" : "c" + std::to_string(i - 1),
                           dir_ / ("c" + std::to_string(i)));
    ASSERT_EQ(mkfifo((dir_ / "pipe").c_str(), 0600), 0);
    mknod((dir_ / "device").c_str(), S_IFCHR | 0600, makedev(1, 3));  // as root only
    const auto types = [&] {
        std::map<std::string, fs::file_type> found;
        for (const auto& entry : fs::directory_iterator(dir_))
            found[entry.path().filename()] = entry.symlink_status().type();
        return found;
    };
    const auto before = types();
    const std::error_code kNotRegular = FileErrc::NotRegularFile;
    const struct {
        std::string name;
        std::error_code read_error;
        // Nothing: not replaced, as a regression would replace a device of
        // the system's, or make a file.
        std::optional<std::error_code> replace_error;
    } kCases[] = {
        {"pipe", kNotRegular, kNotRegular},
        {"device", kNotRegular, kNotRegular},
        {"zero", kNotRegular, std::nullopt},
        {"folder", Err(EISDIR), Err(EISDIR)},
        {"link", Err(EISDIR), Err(EISDIR)},
        {"slash", Err(EISDIR), Err(EISDIR)},
        {"folder/", Err(EISDIR), Err(EISDIR)},
        {"file/x", Err(ENOTDIR), Err(ENOTDIR)},
        {"missing/x", Err(ENOENT), Err(ENOENT)},
        {"missing", Err(ENOENT), std::nullopt},
        {"a", Err(ELOOP), Err(ELOOP)},
        {"c40", Err(ELOOP), Err(ELOOP)},
        // A NUL would cut the name short and name some other file.
        {"file\0x"s, Err(EINVAL), Err(EINVAL)},
    };
    for (const auto& row : kCases) {
        if (row.name == "device" && !before.contains("device"))
            continue;
        SCOPED_TRACE(row.name);
        const Text path = PathOf(row.name);
        const FileBytes read = store_.Read(path);
        EXPECT_FALSE(read.has_value());
        EXPECT_EQ(ReadError(read), row.read_error) << ReadError(read).message();
        EXPECT_FALSE(store_.Exists(path));
        if (row.replace_error) {
            EXPECT_EQ(store_.Replace(path, "x").error, *row.replace_error);
        }
        EXPECT_EQ(types(), before);
        EXPECT_EQ(FileContents(dir_ / "file"), "keep");
    }
    alarm(0);
    EXPECT_EQ(BytesRead(store_.Read(PathOf("c39"))), "keep");
    EXPECT_EQ(ReadError(store_.Read(U"")), std::errc::no_such_file_or_directory);
    EXPECT_TRUE(store_.Replace(U"", "x").Missing());
}

// No more than the limit is read, whatever size the file gives.
TEST_F(PosixFileStoreTest, ReadStopsAtTheLimit) {
    WriteFile(dir_ / "ten", "0123456789");
    WriteFile(dir_ / "empty", "");
    WriteFile(dir_ / "sparse", "");
    fs::resize_file(dir_ / "sparse", FileStorePort::kReadLimit + 1);
    // What is read; none: too large.
    const std::tuple<Text, size_t, std::optional<std::string>> kCases[] = {
        {PathOf("ten"), 10, "0123456789"},
        {PathOf("ten"), 9, std::nullopt},
        {PathOf("empty"), 0, ""},
        {U"/proc/self/status", 16, std::nullopt},  // the system gives its size as 0
        {U"/proc/self/exe", 16, std::nullopt},     // a link whose size is given as 0
    };
    for (const auto& [path, limit, read] : kCases) {
        SCOPED_TRACE(ToUtf8(path) + " limit " + std::to_string(limit));
        const FileBytes got = store_.Read(path, limit);
        EXPECT_EQ(BytesRead(got), read);
        EXPECT_EQ(ReadError(got), read ? std::error_code() : FileErrc::TooLarge);
    }
    // Unless told otherwise, no more than the read limit.
    EXPECT_EQ(ReadError(store_.Read(PathOf("sparse"))), FileErrc::TooLarge);
}

TEST_F(PosixFileStoreTest, SameFileHoweverItIsSpelt) {
    fs::create_directory(dir_ / "d");
    WriteFile(dir_ / "d/file", "x");
    WriteFile(dir_ / "d/other", "x");
    fs::create_symlink("d/file", dir_ / "link");
    fs::create_hard_link(dir_ / "d/file", dir_ / "hard");
    fs::create_directory_symlink("d", dir_ / "dlink");
    const std::tuple<std::string, std::string, bool> rows[] = {
        {"d/./file", "d/../d/file", true},
        {"link", "d/file", true},
        {"hard", "d/file", true},
        {"d/other", "d/file", false},
        {"d/new", "d/file", false},
        // Neither there yet: the file either would become.
        {"d/new", "dlink/./new", true},
        {"d/new", "d/newer", false},
        {"nowhere/new", "nowhere/new", false},
        {"d/file\0x"s, "d/file", false},
    };
    for (const auto& [a, b, same] : rows) {
        EXPECT_EQ(store_.SameFile(PathOf(a), PathOf(b)), same) << a << " " << b;
        EXPECT_EQ(store_.SameFile(PathOf(b), PathOf(a)), same) << b << " " << a;
    }
    // Only a link itself is one, not what it leads to nor a hard link.
    for (const auto& [name, link] : {std::pair{"link", true},
                                     {"dlink", true},
                                     {"d/file", false},
                                     {"hard", false},
                                     {"d", false},
                                     {"missing", false}})
        EXPECT_EQ(store_.IsLink(PathOf(name)), link) << name;
}

// Environment variables as they were, back when the test ends.
struct RestoreEnvironment {
    explicit RestoreEnvironment(std::initializer_list<const char*> names) {
        for (const char* name : names)
            saved.emplace(name,
                          std::getenv(name) ? std::getenv(name) : std::optional<std::string>());
    }
    ~RestoreEnvironment() {
        for (const auto& [name, value] : saved)
            value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
    }
    std::map<std::string, std::optional<std::string>> saved;
};

// User files are kept beside the program only where the user may write and
// no package installs programs, even for root, who may write anywhere. Exit
// ends the process at once.
TEST(PosixProgramTest, UserFilesNeverInSystemFolders) {
    const testing::TempFolder folder{"velmo-program"};
    const Text mine = PathText(folder.path()) + U"/";
    const std::pair<Text, bool> rows[] = {{mine, true},
                                          {mine + U"missing/", false},
                                          {U"/usr/bin/", false},
                                          {U"/usr/local/bin/", false},
                                          {U"/bin/", false}};
    for (const auto& [path, keeps] : rows)
        EXPECT_EQ(PosixProgram().CanWriteFolder(path), keeps) << ToUtf8(path);
}

// The documents folder as xdg-user-dir finds it, falling back to ~/Documents
// and then the home folder; a hostile user-dirs.dirs is not read. The data
// folder is made when asked for. The autostart entry and the settings go
// below XDG_CONFIG_HOME when it is an absolute path, else below the home
// folder, which without a usable HOME is the one the system gives the user.
TEST(PosixProgramTest, FoldersAndFilesWhereXdgLooks) {
    const RestoreEnvironment restore{"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"};
    const testing::TempFolder root{"velmo-documents"};
    const fs::path home = root / "home";
    const fs::path userDirs = root / "user-dirs.dirs";
    const struct {
        const char* what;
        std::string userDirs;              // empty: no file
        std::vector<std::string> folders;  // made under the home folder
        std::string expected;              // under the home folder
    } rows[] = {
        {"set", "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n", {"Docs", "Documents"}, "Docs"},
        {"blanks, escapes, the last one counts",
         "XDG_DOCUMENTS_DIR=\"$HOME/x\"\n  XDG_DOCUMENTS_DIR = \"$HOME/My \\\"Docs\\\"\" # mine\n",
         {"x", "My \"Docs\""},
         "My \"Docs\""},
        {"absolute", "XDG_DOCUMENTS_DIR=\"" + (home / "abs").string() + "\"\n", {"abs"}, "abs"},
        {"the home folder itself", "XDG_DOCUMENTS_DIR=\"$HOME\"\n", {"Documents"}, ""},
        {"missing folder", "XDG_DOCUMENTS_DIR=\"$HOME/Gone\"\n", {"Documents"}, "Documents"},
        {"a file", "XDG_DOCUMENTS_DIR=\"" + userDirs.string() + "\"\n", {"Documents"}, "Documents"},
        {"relative, commented, malformed, unquoted, unclosed",
         "XDG_DOCUMENTS_DIR=\".\"\n# XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n"
         "XDG_DOCUMENTS_DIR-\"$HOME/Docs\"\nXDG_DOCUMENTS_DIR=-$HOME/Docs\"\n"
         "XDG_DOCUMENTS_DIR=$HOME/Docs\nXDG_DOCUMENTS_DIR=\"$HOME/Docs\n",
         {"Docs"},
         ""},
        {"longer than 64 KiB",
         std::string(64 * 1024, '#') + "\nXDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n",
         {"Docs", "Documents"},
         "Documents"},
        {"no file", "", {"Documents"}, "Documents"},
        {"nothing", "", {}, ""},
        // A pipe in place of the file would block a plain open.
        {"a pipe", "pipe", {"Docs", "Documents"}, "Documents"},
    };
    ASSERT_EQ(setenv("HOME", home.c_str(), 1), 0);
    ASSERT_EQ(setenv("XDG_CONFIG_HOME", root.path().c_str(), 1), 0);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        fs::remove_all(home);
        fs::remove(userDirs);
        fs::create_directories(home);
        for (const std::string& folder : row.folders)
            fs::create_directories(home / folder);
        if (row.userDirs == "pipe")
            ASSERT_EQ(mkfifo(userDirs.c_str(), 0600), 0);
        else if (!row.userDirs.empty())
            WriteFile(userDirs, row.userDirs);
        EXPECT_EQ(PosixProgram().DocumentsFolder(),
                  PathText(row.expected.empty() ? home : home / row.expected));
    }
    ASSERT_EQ(setenv("XDG_DATA_HOME", (root / "data").c_str(), 1), 0);
    EXPECT_EQ(PosixProgram().UserDataFolder(), PathText(root / "data/Velmo/"));
    // Named only: a program that writes nothing leaves no folder behind.
    EXPECT_FALSE(fs::exists(root / "data"));
    // A folder whose name is not UTF-8 keeps its bytes.
    ASSERT_EQ(setenv("XDG_DATA_HOME", (root / "d\xE9").c_str(), 1), 0);
    EXPECT_EQ(ToPathBytes(PosixProgram().TextFilesFolder()), (root / "d\xE9/Velmo/").string());
    const passwd* user = getpwuid(geteuid());
    ASSERT_NE(user, nullptr);
    const struct {
        const char* home;
        const char* config;
        std::string expected;  // the configuration folder
    } configs[] = {
        {"/h", "/c", "/c"},
        {"/h", "", "/h/.config"},
        {"/h", "relative/config", "/h/.config"},
        {"relative/home", "", user->pw_dir + "/.config"s},
        {"/h\xE9", "", "/h\xE9/.config"},
    };
    ASSERT_EQ(setenv("XDG_RUNTIME_DIR", "/run/user/7", 1), 0);
    ASSERT_EQ(setenv("XDG_STATE_HOME", "/s", 1), 0);
    const Text program = PathText(fs::read_symlink("/proc/self/exe"));
    for (const auto& row : configs) {
        SCOPED_TRACE(std::string(row.home) + " " + row.config);
        ASSERT_EQ(setenv("HOME", row.home, 1), 0);
        ASSERT_EQ(setenv("XDG_CONFIG_HOME", row.config, 1), 0);
        EXPECT_EQ(PosixProgram().AutostartFile(),
                  FromPathBytes(row.expected + "/autostart/velmo.desktop"));
        const Text settings = FromPathBytes(row.expected + "/Velmo/User.reg");
        // One instance lock per settings, wherever the runtime folder is.
        EXPECT_EQ(PosixProgram().OwnFiles(),
                  (std::vector<Text>{program, settings, settings + U".lock",
                                     FromPathBytes(row.expected + "/Velmo/velmo.lock"),
                                     U"/s/Velmo/picks"}));
        EXPECT_EQ(PosixProgram().PickRoundLock(), settings + U".lock");
        // A named profile keeps all of its own in a folder of its own.
        const std::string work = row.expected + "/Velmo/profiles/work/";
        EXPECT_EQ(PosixProgram("work").AutostartFile(),
                  FromPathBytes(row.expected + "/autostart/velmo-work.desktop"));
        // Then the other profiles' settings, the default one's first.
        std::vector<Text> own = PosixProgram("work").OwnFiles();
        own.resize(std::min<size_t>(own.size(), 6));
        EXPECT_EQ(own, (std::vector<Text>{program, FromPathBytes(work + "User.reg"),
                                          FromPathBytes(work + "User.reg.lock"),
                                          FromPathBytes(work + "velmo.lock"),
                                          U"/s/Velmo/profiles/work/picks", settings}));
    }
    ASSERT_EQ(setenv("XDG_DATA_HOME", (root / "data").c_str(), 1), 0);
    EXPECT_EQ(PosixProgram("work").TextFilesFolder(), PathText(root / "data/Velmo/profiles/work/"));
    EXPECT_EQ(PosixProgram("work").ProfileName(), U"work");
    // The other profiles' text folders: the default one's, and each named one's but its own.
    ASSERT_EQ(setenv("XDG_CONFIG_HOME", root.path().c_str(), 1), 0);
    fs::create_directories(root / "Velmo/profiles/home");
    WriteFile(root / "Velmo/profiles/home/User.reg", "REGEDIT4\r\n");
    EXPECT_EQ(PosixProgram("work").OtherProfilesTextFolders(),
              (std::vector<Text>{PathText(root / "data/Velmo/"),
                                 PathText(root / "data/Velmo/profiles/home/")}));
    EXPECT_EQ(PosixProgram("home").OtherProfilesTextFolders(),
              (std::vector<Text>{PathText(root / "data/Velmo/")}));
    EXPECT_EQ(PosixProgram().OtherProfilesTextFolders(),
              (std::vector<Text>{PathText(root / "data/Velmo/profiles/home/")}));
    EXPECT_EQ(PosixProgram().ProfileName(), U"");
}

// The profiles listed are the folders with a settings file and a profile's
// name, in name order; the default profile is none of them.
TEST(PosixProgramTest, ExistingProfiles) {
    const RestoreEnvironment restore{"XDG_CONFIG_HOME"};
    const testing::TempFolder root{"velmo-profiles"};
    ASSERT_EQ(setenv("XDG_CONFIG_HOME", root.path().c_str(), 1), 0);
    EXPECT_TRUE(ExistingProfiles().empty());
    const fs::path profiles = root / "Velmo/profiles";
    for (const char* name : {"work", "a.b-c_1", "Private", "no-settings", ".hidden", "b\xE9"}) {
        fs::create_directories(profiles / name);
        if (std::string_view(name) != "no-settings")
            WriteFile(profiles / name / "User.reg", "REGEDIT4\r\n");
    }
    WriteFile(root / "Velmo/User.reg", "REGEDIT4\r\n");
    WriteFile(profiles / "file", "");
    EXPECT_EQ(ExistingProfiles(), (std::vector<std::string>{"Private", "a.b-c_1", "work"}));
}

}  // namespace
}  // namespace velmo

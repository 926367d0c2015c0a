#include "platform/posix_file_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/posix_platform.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "ui/window.h"

namespace velmo {
namespace {

using testing::FileContents;
using testing::WriteFile;

namespace fs = std::filesystem;

class PosixFileStoreTest : public ::testing::Test {
  protected:
    static Text PathText(const fs::path& path) { return FromUtf8(path.string()); }

    std::optional<std::string> Read(const fs::path& path, FileResult& result) {
        return store_.Read(PathText(path), result);
    }
    FileResult Replace(const fs::path& path, std::string_view bytes) {
        return store_.Replace(PathText(path), bytes);
    }

    const testing::TempFolder folder_{"velmo-store"};
    const fs::path dir_ = folder_.path();
    PosixFileStore store_;
};

TEST_F(PosixFileStoreTest, ReplaceCreatesAFileWithDefaultPermissions) {
    const fs::path file = dir_ / "new.txt";
    const FileResult result = Replace(file, "hello\r\n");
    ASSERT_TRUE(result) << result.Message();
    EXPECT_EQ(FileContents(file), "hello\r\n");
    EXPECT_EQ(folder_.Listing(), (std::set<std::string>{"new.txt"}));

    // The same permissions as any other newly created file, umask applied.
    const fs::path reference = dir_ / "reference";
    WriteFile(reference, "");
    EXPECT_EQ(fs::status(file).permissions(), fs::status(reference).permissions());
}

TEST_F(PosixFileStoreTest, ReplaceReplacesWholeContents) {
    const fs::path file = dir_ / "file.txt";
    WriteFile(file, "old contents that are rather long");
    for (const std::string_view bytes : {"short", "", "a longer replacement\r\nwith lines\r\n"}) {
        ASSERT_TRUE(Replace(file, bytes));
        EXPECT_EQ(FileContents(file), bytes);
    }
    EXPECT_EQ(folder_.Listing(), (std::set<std::string>{"file.txt"}));
    EXPECT_TRUE(store_.Remove(PathText(file)));
    EXPECT_TRUE(store_.Remove(PathText(file)).Missing());
    EXPECT_TRUE(folder_.Listing().empty());
}

TEST_F(PosixFileStoreTest, BytesRoundTripExactly) {
    std::string all_bytes;
    for (int i = 0; i < 256; ++i)
        all_bytes.push_back(static_cast<char>(i));
    std::string large(5 * 1024 * 1024 + 7, '\0');
    for (size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<char>(i * 31 % 251);

    // Each descriptor is closed again: Velmo writes and reads all day long.
    const auto descriptors = [] {
        return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
    };
    const auto before = descriptors();
    const fs::path file = dir_ / "data";
    for (const std::string& bytes : {all_bytes, large}) {
        ASSERT_TRUE(Replace(file, bytes));
        FileResult result{std::make_error_code(std::errc::io_error)};
        const auto read = Read(file, result);
        EXPECT_TRUE(result);
        ASSERT_TRUE(read.has_value());
        EXPECT_TRUE(*read == bytes);
    }
    EXPECT_EQ(descriptors(), before);
}

TEST_F(PosixFileStoreTest, ReplaceKeepsPermissions) {
    const fs::path file = dir_ / "file.txt";
    for (const fs::perms mode : {fs::perms{0640}, fs::perms{0600}, fs::perms{0755}}) {
        WriteFile(file, "old");
        fs::permissions(file, mode);
        ASSERT_TRUE(Replace(file, "new"));
        EXPECT_EQ(fs::status(file).permissions(), mode);
        EXPECT_EQ(FileContents(file), "new");
    }
}

TEST_F(PosixFileStoreTest, SymbolicLinksStayLinks) {
    fs::create_directory(dir_ / "real");
    fs::create_directory(dir_ / "links");
    const fs::path target = dir_ / "real" / "file.txt";
    WriteFile(target, "old");

    // Relative, absolute and chained links all lead to the same file.
    fs::create_symlink("../real/file.txt", dir_ / "links" / "relative");
    fs::create_symlink(target, dir_ / "links" / "absolute");
    fs::create_symlink("relative", dir_ / "links" / "chained");
    for (const char* link : {"relative", "absolute", "chained"}) {
        SCOPED_TRACE(link);
        const fs::path path = dir_ / "links" / link;
        const FileResult result = Replace(path, link);
        ASSERT_TRUE(result) << result.Message();
        EXPECT_TRUE(fs::is_symlink(path));
        EXPECT_EQ(FileContents(target), link);
    }
    EXPECT_EQ(fs::read_symlink(dir_ / "links" / "relative"), "../real/file.txt");
    EXPECT_EQ(folder_.Listing(),
              (std::set<std::string>{"real", "real/file.txt", "links", "links/relative",
                                     "links/absolute", "links/chained"}));
}

TEST_F(PosixFileStoreTest, DanglingLinkCreatesItsTarget) {
    fs::create_symlink("made.txt", dir_ / "link");
    ASSERT_TRUE(Replace(dir_ / "link", "created"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "link"));
    EXPECT_EQ(FileContents(dir_ / "made.txt"), "created");
}

TEST_F(PosixFileStoreTest, LinkLoopFails) {
    fs::create_symlink("b", dir_ / "a");
    fs::create_symlink("a", dir_ / "b");
    const FileResult result = Replace(dir_ / "a", "x");
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error, std::errc::too_many_symbolic_link_levels);
    EXPECT_EQ(folder_.Listing(), (std::set<std::string>{"a", "b"}));
}

// The store runs as this user whoever runs the test.
class RunAs : public PosixFileCalls {
  public:
    explicit RunAs(uid_t user) : user_(user) {}
    uid_t EffectiveUser() override { return user_; }

  private:
    uid_t user_;
};

// The kernel's protected_symlinks rule, kept whatever the sysctl says: a link
// in a sticky, world-writable folder is followed only when it belongs to the
// user or to the folder's owner. Another user's link in /tmp must not make
// the signature overwrite the user's own files.
TEST_F(PosixFileStoreTest, LinksOthersPlantedInSharedFoldersAreNotFollowed) {
    if (geteuid() != 0)
        GTEST_SKIP() << "giving a link to another user needs root";
    constexpr uid_t kUser = 1000;
    constexpr uid_t kOther = 65534;
    const struct {
        const char* what;
        mode_t folder_mode;
        uid_t link_owner;
        bool refused;
    } kCases[] = {
        {"another user's link in a sticky shared folder", 01777, kOther, true},
        {"the user's own link there", 01777, kUser, false},
        {"a link of the folder's owner", 01777, 0, false},
        {"a shared folder that is not sticky", 0777, kOther, false},
        {"a sticky folder only its owner writes to", 01755, kOther, false},
    };
    RunAs user(kUser);
    PosixFileStore store(user);
    for (const auto& row : kCases) {
        SCOPED_TRACE(row.what);
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
            // Read first: a planted link must not hand a private file out either.
            FileResult read;
            const std::optional<std::string> got = store.Read(PathText(path), read);
            if (row.refused) {
                EXPECT_EQ(read.error, FileErrc::UnsafeLink) << read.Message();
            } else {
                EXPECT_TRUE(got.has_value()) << read.Message();
            }
            const FileResult result = store.Replace(PathText(path), "signature");
            if (row.refused) {
                EXPECT_EQ(result.error, FileErrc::UnsafeLink) << result.Message();
                EXPECT_EQ(FileContents(root / "victim.txt"), "private");
            } else {
                EXPECT_TRUE(result) << result.Message();
                EXPECT_EQ(FileContents(root / "victim.txt"), "signature");
            }
            EXPECT_EQ(root.Listing(), before);
        }
    }
}

TEST_F(PosixFileStoreTest, MissingFolderFailsAndCreatesNothing) {
    const FileResult result = Replace(dir_ / "missing" / "file.txt", "x");
    ASSERT_FALSE(result);
    EXPECT_TRUE(result.Missing());
    EXPECT_TRUE(folder_.Listing().empty());

    // A file where a folder should be.
    WriteFile(dir_ / "plain", "keep");
    const FileResult through_file = Replace(dir_ / "plain" / "file.txt", "x");
    ASSERT_FALSE(through_file);
    EXPECT_EQ(through_file.error, std::errc::not_a_directory);
    EXPECT_EQ(FileContents(dir_ / "plain"), "keep");
}

TEST_F(PosixFileStoreTest, DirectoryTargetFailsUntouched) {
    const fs::path folder = dir_ / "folder";
    fs::create_directory(folder);
    WriteFile(folder / "inside.txt", "keep");
    fs::create_symlink("folder", dir_ / "folder-link");
    const std::set<std::string> before = folder_.Listing();

    for (const fs::path& path : {folder, dir_ / "folder-link", fs::path(folder.string() + "/")}) {
        SCOPED_TRACE(path.string());
        const FileResult result = Replace(path, "x");
        ASSERT_FALSE(result);
        EXPECT_EQ(result.error, std::errc::is_a_directory);
    }
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(FileContents(folder / "inside.txt"), "keep");
    EXPECT_EQ(folder_.Listing(), before);
}

TEST_F(PosixFileStoreTest, BadPathsFail) {
    EXPECT_TRUE(store_.Replace(U"", "x").Missing());
    // A NUL would cut the name short and write some other file.
    const Text with_nul = PathText(dir_ / "a") + Text(1, U'\0') + U"b";
    EXPECT_FALSE(store_.Replace(with_nul, "x"));
    EXPECT_FALSE(store_.Exists(with_nul));
    EXPECT_FALSE(store_.SameFile(with_nul, with_nul));
    FileResult result;
    EXPECT_FALSE(store_.Read(with_nul, result).has_value());
    EXPECT_FALSE(result);
    EXPECT_TRUE(folder_.Listing().empty());
}

TEST_F(PosixFileStoreTest, NamesAreUtf8AndMayBeLong) {
    const Text name = U"Grüße — Ελληνικά.txt";
    ASSERT_TRUE(store_.Replace(PathText(dir_) + U"/" + name, "x"));
    EXPECT_EQ(FileContents(dir_ / ToUtf8(name)), "x");

    // Near the longest name a folder allows; the temporary name must still fit.
    const std::string long_name(250, 'n');
    const FileResult result = Replace(dir_ / long_name, "long");
    ASSERT_TRUE(result) << result.Message();
    EXPECT_EQ(FileContents(dir_ / long_name), "long");
    EXPECT_EQ(folder_.Listing().size(), 2u);
}

TEST_F(PosixFileStoreTest, ReadFailsWithTheReason) {
    FileResult result;
    EXPECT_FALSE(Read(dir_ / "missing.txt", result).has_value());
    ASSERT_FALSE(result);
    EXPECT_TRUE(result.Missing());

    FileResult folder_result;
    EXPECT_FALSE(Read(dir_, folder_result).has_value());
    ASSERT_FALSE(folder_result);
    EXPECT_EQ(folder_result.error, std::errc::is_a_directory);
}

// A pipe or a device where a file belongs is refused at once, and none is
// ever replaced by a regular file: a pipe with no writer would block the
// open for ever, /dev/zero would fill the memory.
TEST_F(PosixFileStoreTest, SpecialFilesAreRefusedPromptly) {
    // A regression blocks in open(); end the test program rather than hang.
    alarm(20);
    const std::error_code kNotRegular = FileErrc::NotRegularFile;
    const std::error_code kFolder = std::make_error_code(std::errc::is_a_directory);
    const struct {
        const char* what;
        std::function<bool(const fs::path&)> make;  // false: cannot be made here
        std::error_code read_error;
        // Nothing: not replaced in the test, as a regression would replace a
        // device of the system's.
        std::optional<std::error_code> replace_error;
    } kCases[] = {
        {"a pipe with no writer", [](const fs::path& p) { return mkfifo(p.c_str(), 0600) == 0; },
         kNotRegular, kNotRegular},
        {"a device node",
         [](const fs::path& p) { return mknod(p.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0; },
         kNotRegular, kNotRegular},
        {"a link to /dev/null",
         [](const fs::path& p) { return symlink("/dev/null", p.c_str()) == 0; }, kNotRegular,
         std::nullopt},
        {"a link to /dev/zero",
         [](const fs::path& p) { return symlink("/dev/zero", p.c_str()) == 0; }, kNotRegular,
         std::nullopt},
        {"a folder", [](const fs::path& p) { return mkdir(p.c_str(), 0700) == 0; }, kFolder,
         kFolder},
    };
    for (const auto& row : kCases) {
        SCOPED_TRACE(row.what);
        const fs::path path = dir_ / "special";
        if (!row.make(path)) {
            ASSERT_EQ(errno, EPERM) << "making " << row.what;
            continue;  // mknod needs root
        }
        const fs::file_type type = fs::symlink_status(path).type();
        const std::set<std::string> before = folder_.Listing();

        FileResult result;
        EXPECT_FALSE(Read(path, result).has_value());
        EXPECT_EQ(result.error, row.read_error) << result.Message();
        if (row.replace_error) {
            const FileResult replaced = Replace(path, "x");
            EXPECT_EQ(replaced.error, *row.replace_error) << replaced.Message();
        }
        EXPECT_EQ(fs::symlink_status(path).type(), type);
        EXPECT_EQ(folder_.Listing(), before);
        fs::remove(path);
    }
    alarm(0);
}

// No more than the limit is read, whatever size the file gives.
TEST_F(PosixFileStoreTest, ReadStopsAtTheLimit) {
    WriteFile(dir_ / "ten", "0123456789");
    const fs::path sparse = dir_ / "sparse";
    WriteFile(sparse, "");
    fs::resize_file(sparse, FileStorePort::kReadLimit + 1);
    const struct {
        fs::path path;
        size_t limit;
        bool fits;
    } kCases[] = {
        {dir_ / "ten", 10, true},
        {dir_ / "ten", 9, false},
        {dir_ / "ten", 0, false},
        // The system gives its size as 0.
        {"/proc/self/status", 16, false},
        {sparse, FileStorePort::kReadLimit, false},
    };
    for (const auto& row : kCases) {
        SCOPED_TRACE(row.path.string() + " limit " + std::to_string(row.limit));
        FileResult result;
        const auto read = store_.Read(PathText(row.path), result, row.limit);
        if (row.fits) {
            EXPECT_TRUE(result) << result.Message();
            EXPECT_EQ(read, std::optional<std::string>("0123456789"));
        } else {
            EXPECT_EQ(result.error, FileErrc::TooLarge) << result.Message();
            EXPECT_FALSE(read.has_value());
        }
    }
    // Unless told otherwise.
    FileResult result;
    EXPECT_FALSE(Read(sparse, result).has_value());
    EXPECT_EQ(result.error, FileErrc::TooLarge);
}

TEST_F(PosixFileStoreTest, ReadEmptyFile) {
    WriteFile(dir_ / "empty", "");
    FileResult result;
    EXPECT_EQ(Read(dir_ / "empty", result), std::optional<std::string>(""));
    EXPECT_TRUE(result);
}

TEST_F(PosixFileStoreTest, ExistsOnlyForRegularFiles) {
    WriteFile(dir_ / "file", "x");
    fs::create_directory(dir_ / "folder");
    fs::create_symlink("file", dir_ / "link");
    fs::create_symlink("nowhere", dir_ / "dangling");
    EXPECT_TRUE(store_.Exists(PathText(dir_ / "file")));
    EXPECT_TRUE(store_.Exists(PathText(dir_ / "link")));
    EXPECT_FALSE(store_.Exists(PathText(dir_ / "folder")));
    EXPECT_FALSE(store_.Exists(PathText(dir_ / "dangling")));
    EXPECT_FALSE(store_.Exists(PathText(dir_ / "missing")));
}

TEST_F(PosixFileStoreTest, SameFileHoweverItIsSpelt) {
    fs::create_directory(dir_ / "d");
    WriteFile(dir_ / "d" / "file", "x");
    WriteFile(dir_ / "d" / "other", "x");
    fs::create_symlink("d/file", dir_ / "link");
    fs::create_hard_link(dir_ / "d" / "file", dir_ / "hard");
    fs::create_directory_symlink("d", dir_ / "dlink");
    const struct {
        const char* a;
        const char* b;
        bool same;
    } rows[] = {
        {"d/file", "d/file", true},
        {"d/./file", "d/../d/file", true},
        {"link", "d/file", true},
        {"hard", "d/file", true},
        {"d/other", "d/file", false},
        {"d/new", "d/file", false},
        // Neither there yet: the file either would become.
        {"d/new", "dlink/./new", true},
        {"d/new", "d/newer", false},
        {"nowhere/new", "nowhere/new", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.a) + " " + row.b);
        EXPECT_EQ(store_.SameFile(PathText(dir_ / row.a), PathText(dir_ / row.b)), row.same);
        EXPECT_EQ(store_.SameFile(PathText(dir_ / row.b), PathText(dir_ / row.a)), row.same);
    }
}

// Environment variables as they were, back when the test ends.
struct RestoreEnvironment {
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
    explicit RestoreEnvironment(std::initializer_list<const char*> names) {
        for (const char* name : names) {
            const char* value = std::getenv(name);
            saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
        }
    }
    ~RestoreEnvironment() {
        for (const auto& [name, value] : saved)
            value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
    }
};

// User files are kept beside the program only where the user may write and
// no package installs programs, even for root, who may write anywhere.
TEST(PosixProgramTest, UserFilesNeverInSystemFolders) {
    const testing::TempFolder folder{"velmo-program"};
    const struct {
        Text folder;
        bool keeps;
    } kCases[] = {
        {FromUtf8(folder.path().string()) + U"/", true},
        {U"/usr/bin/", false},
        {U"/usr/local/bin/", false},
        {U"/bin/", false},
        {FromUtf8((folder / "missing").string()) + U"/", false},
    };
    for (const auto& row : kCases)
        EXPECT_EQ(PosixProgram().CanWriteFolder(row.folder), row.keeps) << ToUtf8(row.folder);
}

// The documents folder as xdg-user-dir finds it, falling back to ~/Documents
// and then the home folder; a hostile user-dirs.dirs is read no further.
TEST(PosixProgramTest, DocumentsFolder) {
    const RestoreEnvironment restore{"HOME", "XDG_CONFIG_HOME"};
    const testing::TempFolder root{"velmo-documents"};
    const fs::path home = root / "home";
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
        {"relative, commented, malformed, unquoted, unclosed",
         "XDG_DOCUMENTS_DIR=\".\"\n# XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n"
         "XDG_DOCUMENTS_DIR-\"$HOME/Docs\"\nXDG_DOCUMENTS_DIR=-$HOME/Docs\"\n"
         "XDG_DOCUMENTS_DIR=$HOME/Docs\nXDG_DOCUMENTS_DIR=\"$HOME/Docs\n",
         {"Docs"},
         ""},
        {"past the first 64 KiB",
         std::string(64 * 1024, '#') + "\nXDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n",
         {"Docs", "Documents"},
         "Documents"},
        {"no file", "", {"Documents"}, "Documents"},
        {"nothing", "", {}, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        fs::remove_all(root.path() / "home");
        fs::remove_all(root.path() / "config");
        fs::create_directories(root / "config");
        for (const std::string& folder : row.folders)
            fs::create_directories(home / folder);
        fs::create_directories(home);
        if (!row.userDirs.empty())
            WriteFile(root / "config" / "user-dirs.dirs", row.userDirs);
        ASSERT_EQ(setenv("HOME", home.c_str(), 1), 0);
        ASSERT_EQ(setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1), 0);
        const fs::path expected = row.expected.empty() ? home : home / row.expected;
        EXPECT_EQ(PosixProgram().DocumentsFolder(), FromUtf8(expected.string()));
    }
    // A pipe in place of the file would block a plain open.
    fs::remove(root / "config" / "user-dirs.dirs");
    ASSERT_EQ(mkfifo((root / "config" / "user-dirs.dirs").c_str(), 0600), 0);
    EXPECT_EQ(PosixProgram().DocumentsFolder(), FromUtf8(home.string()));
}

// The program's own files and the autostart entry where XDG autostart looks,
// written in a folder made for it and removed again on real files; a link
// goes, the file it leads to stays.
TEST(PosixProgramTest, AutostartEntryOnDisk) {
    const RestoreEnvironment restore{"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"};
    const testing::TempFolder root{"velmo-autostart"};
    ASSERT_EQ(setenv("HOME", (root / "home").c_str(), 1), 0);
    for (const char* config : {"", "relative/config"}) {
        ASSERT_EQ(setenv("XDG_CONFIG_HOME", config, 1), 0);
        EXPECT_EQ(PosixProgram().AutostartFile(),
                  FromUtf8((root / "home/.config/autostart/velmo.desktop").string()));
    }
    ASSERT_EQ(setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1), 0);
    const fs::path entry = root / "config/autostart/velmo.desktop";
    EXPECT_EQ(PosixProgram().AutostartFile(), FromUtf8(entry.string()));
    EXPECT_EQ(PosixProgram().ProgramFile(), FromUtf8(fs::read_symlink("/proc/self/exe").string()));
    ASSERT_EQ(setenv("XDG_RUNTIME_DIR", (root / "run").c_str(), 1), 0);
    const Text settings = FromUtf8((root / "config/Velmo/User.reg").string());
    EXPECT_EQ(PosixProgram().OwnFiles(),
              (std::vector<Text>{PosixProgram().ProgramFile(), settings, settings + U".lock",
                                 FromUtf8((root / "run/velmo.lock").string())}));

    testing::TestPlatform t;
    PosixFileStore store;
    App app{t.ports(store)};
    CheckBox& box = app.form.chkAutostart;
    const fs::path program = root / "My Programs/velmo";
    t.program.programFile = FromUtf8(program.string());
    t.program.autostartFile = PosixProgram().AutostartFile();
    ShowAutostart(app);
    EXPECT_TRUE(box.Visible);
    EXPECT_EQ(box.Value.get(), 0);

    box.Value = 1;
    const std::string written = FileContents(entry);
    EXPECT_EQ(written, AutostartEntry(FromUtf8(program.string())));
    EXPECT_NE(written.find("\nExec=\"" + program.string() + "\"\n"), std::string::npos);
    box.Value = 0;
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_TRUE(fs::is_directory(entry.parent_path()));

    const fs::path target = root / "kept.desktop";
    WriteFile(target, written);
    fs::create_symlink(target, entry);
    ShowAutostart(app);
    EXPECT_EQ(box.Value.get(), 1);
    box.Value = 0;
    EXPECT_FALSE(fs::is_symlink(fs::symlink_status(entry)));
    EXPECT_EQ(FileContents(target), written);

    // A file where the folder belongs fails even for root: told, and left unticked.
    ASSERT_EQ(setenv("XDG_CONFIG_HOME", (root / "other").c_str(), 1), 0);
    fs::create_directories(root / "other");
    WriteFile(root / "other/autostart", "");
    t.program.autostartFile = PosixProgram().AutostartFile();
    box.Value = 1;
    EXPECT_EQ(box.Value.get(), 0);
    ASSERT_EQ(t.messages.shown.size(), 1u);
    EXPECT_NE(t.messages.shown[0].text.find(FromUtf8((root / "other/autostart/").string())),
              Text::npos);
    EXPECT_TRUE(t.messages.shown[0].text.starts_with(U"Unable to make the autostart folder"));
    EXPECT_EQ(FileContents(root / "other/autostart"), "");
}

}  // namespace
}  // namespace velmo

#include "platform/reg_file_store.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>

#include "platform/posix_file_store.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "support/text_helpers.h"

namespace velmo {
namespace {

using testing::Lines;

const Text kSettingsKey = U"SOFTWARE\\Velmo\\User\\Freeware";
const Text kUserKey = U"SOFTWARE\\Velmo\\User\\";

const Text kTwoEmptyKeys = Lines({
    U"REGEDIT4",
    U"",
    U"[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User]",
    U"",
    U"[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware]",
});

// The in-memory files, with renames that can be made to fail.
class FaultyFileStore : public testing::FakeFileStore {
  public:
    FileResult Rename(const Text& from, const Text& to) override {
        if (failRenames)
            return {std::make_error_code(std::errc::permission_denied)};
        return FakeFileStore::Rename(from, to);
    }
    bool failRenames = false;
};

// The names of the values listed, in their order.
std::vector<Text> NamesOf(const std::optional<std::vector<StoredValue>>& values) {
    std::vector<Text> names;
    for (const StoredValue& v : values.value_or(std::vector<StoredValue>()))
        names.push_back(v.name);
    return names;
}

class RegFileStoreTest : public ::testing::Test {
  protected:
    Text Bad() const { return testing::kTestSettingsFile + U".bad"; }
    bool HasFile() const { return files.files.count(testing::kTestSettingsFile) != 0; }
    std::string& Bytes() { return files.files[testing::kTestSettingsFile]; }
    Text Content() { return FromUtf8(Bytes()); }
    void Put(const Text& content) { Bytes() = ToUtf8(content); }

    FaultyFileStore files;
    RegFileStore store{files, testing::kTestSettingsFile};
};

TEST_F(RegFileStoreTest, NoFileIsAnEmptyStoreAndReadingCreatesNothing) {
    EXPECT_FALSE(store.KeyExists(kUserKey));
    EXPECT_FALSE(store.Values(kSettingsKey));
    EXPECT_FALSE(store.QueryValue(kSettingsKey, U"Indent"));
    EXPECT_FALSE(HasFile());
    EXPECT_EQ(files.writes, 0);
}

TEST_F(RegFileStoreTest, CreatingTheSettingsKeyListsItAndTheUserKeyEmpty) {
    EXPECT_TRUE(store.CreateKey(kUserKey + U"Freeware\\"));
    EXPECT_EQ(Content(), kTwoEmptyKeys);
    EXPECT_EQ(files.folders, std::vector<Text>{U"/home/test/.config/Velmo"});
    EXPECT_TRUE(store.KeyExists(kUserKey));
    EXPECT_TRUE(store.KeyExists(kSettingsKey));
    EXPECT_TRUE(store.KeyExists(U"software\\velmo\\user\\FREEWARE\\"));
    EXPECT_FALSE(store.KeyExists(U"SOFTWARE\\Velmo\\User\\Free"));
    EXPECT_FALSE(store.KeyExists(U"SOFTWARE\\Velmo\\User\\Freeware\\Sub"));
    ASSERT_TRUE(store.Values(kSettingsKey));
    EXPECT_TRUE(store.Values(kSettingsKey)->empty()) << "a new key has no values";
    EXPECT_FALSE(store.Values(U"SOFTWARE\\Velmo\\User\\Freeware\\Sub"));

    // Creating it again changes nothing.
    EXPECT_TRUE(store.CreateKey(kSettingsKey));
    EXPECT_EQ(Content(), kTwoEmptyKeys);
}

TEST_F(RegFileStoreTest, ValuesKeepTheOrderOfTheirFirstWrite) {
    EXPECT_TRUE(store.SetValue(kSettingsKey, U"B", U"1"));
    EXPECT_TRUE(store.SetValue(kSettingsKey, U"A", U"2"));
    EXPECT_EQ(files.writes, 2) << "every write replaces the file";
    // Several at once are one replace; "b" is the value "B", now so spelt.
    EXPECT_TRUE(store.SetValues(kSettingsKey, {{U"C", U"4"}, {U"b", U"3"}, {U"c", U"5"}}));
    EXPECT_EQ(files.writes, 3);
    EXPECT_EQ(Content(), kTwoEmptyKeys + Lines({U"\"b\"=\"3\"", U"\"A\"=\"2\"", U"\"c\"=\"5\""}));

    const std::optional<std::vector<StoredValue>> values = store.Values(kSettingsKey);
    EXPECT_EQ(NamesOf(values), (std::vector<Text>{U"b", U"A", U"c"}));
    EXPECT_EQ(values->at(0).text, U"3");
    EXPECT_EQ(store.QueryValue(U"Software\\VELMO\\user\\freeware", U"a"), U"2");
}

TEST_F(RegFileStoreTest, WritingKeepsEverythingElseInTheFile) {
    const Text before = Lines({
        U"REGEDIT4",
        U"",
        U"[HKEY_CURRENT_USER\\Software\\Other]",
        U"\"Count\"=dword:00000010",
        U"",
        U"[HKEY_CURRENT_USER\\Software\\Velmo\\User\\Freeware]",
        U"\"Window\"=hex:01,02,\\",
        U"  03",
        U"\"INDENT\"=\"1\"",  // edited by hand: the exact spelling is the one written
        U"\"Indent\"=\"3\"",
        U"",
        U"[HKEY_CURRENT_USER\\Software\\Velmo\\User\\Later]",
        U"@=\"x\"",
    });
    // Written on Windows: CR LF line ends, and Windows-1252 rather than UTF-8.
    Put(before);
    Bytes() += "\"Name\"=\"J\xF6rg\"\r\n";

    EXPECT_EQ(store.QueryValue(U"SOFTWARE\\Velmo\\User\\Later", U"Name"), U"Jörg");
    EXPECT_TRUE(store.SetValue(kSettingsKey, U"Indent", U"4"));
    EXPECT_TRUE(store.SetValue(kSettingsKey, U"Window", U"now a string"));
    EXPECT_TRUE(store.SetValue(kSettingsKey, U"Program Values", U" 5"));

    EXPECT_EQ(Content(), Lines({
                             U"REGEDIT4",
                             U"",
                             U"[HKEY_CURRENT_USER\\Software\\Other]",
                             U"\"Count\"=dword:00000010",
                             U"",
                             U"[HKEY_CURRENT_USER\\Software\\Velmo\\User\\Freeware]",
                             U"\"Window\"=\"now a string\"",
                             U"\"INDENT\"=\"1\"",
                             U"\"Indent\"=\"4\"",
                             U"\"Program Values\"=\" 5\"",
                             U"",
                             U"[HKEY_CURRENT_USER\\Software\\Velmo\\User\\Later]",
                             U"@=\"x\"",
                             U"\"Name\"=\"Jörg\"",
                         }));
    EXPECT_TRUE(IsValidUtf8(Bytes())) << "written back in UTF-8";
}

TEST_F(RegFileStoreTest, OnlyStringValuesAreListedAndRead) {
    Put(Lines({
        U"REGEDIT4",
        U"[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware]",
        U"@=\"default\"",
        U"\"Count\"=dword:00000010",
        U"\"Text\"=\"t\"",
    }));
    const std::optional<std::vector<StoredValue>> values = store.Values(kSettingsKey);
    EXPECT_EQ(NamesOf(values), (std::vector<Text>{U"", U"Text"}));
    EXPECT_EQ(values->at(0).text, U"default");
    EXPECT_FALSE(store.QueryValue(kSettingsKey, U"Count"));
    EXPECT_EQ(store.QueryValue(kSettingsKey, U"Text"), U"t");
    EXPECT_FALSE(store.QueryValue(kSettingsKey, U"Missing"));
    EXPECT_FALSE(store.QueryValue(U"SOFTWARE\\Velmo\\User", U"Text")) << "another key";
}

TEST_F(RegFileStoreTest, TextsAndNamesOfAnyLengthAreReadWhole) {
    const Text longText = Text(254, U'é') + U"xyz";
    const Text longName(300, U'n');
    store.SetValues(kSettingsKey, {{U"long text", longText}, {longName, U"long name"}});
    const std::optional<std::vector<StoredValue>> values = store.Values(kSettingsKey);
    EXPECT_EQ(NamesOf(values), (std::vector<Text>{U"long text", longName}));
    EXPECT_EQ(values->at(0).text, longText);
    EXPECT_EQ(store.QueryValue(kSettingsKey, U"long text"), longText);
    EXPECT_EQ(store.QueryValue(kSettingsKey, longName), U"long name");
}

// Every corrupt file is kept, each under a name of its own.
TEST(RegFileStoreCorruptTest, ACorruptFileIsKeptAsideUnderAFreeNameAndReported) {
    const Text path = testing::kTestSettingsFile;
    const auto numbered = [&](int n) {
        return n == 0 ? path + U".bad" : path + U".bad." + ToText(n);
    };
    const int last = RegFileStore::kMaxKeptNumber;
    const auto upTo = [&](int end) {
        std::vector<Text> names;
        for (int n = 0; n < end; ++n)
            names.push_back(numbered(n));
        return names;
    };
    const struct {
        const char* what;
        std::vector<Text> taken;
        Text keptAs;  // empty: it cannot be kept aside
    } rows[] = {
        {"the first", {}, numbered(0)},
        {"the second", {numbered(0)}, numbered(1)},
        {"a gap", {numbered(0), numbered(1), numbered(3)}, numbered(2)},
        {"the last name", upTo(last), numbered(last)},
        {"no name left", upTo(last + 1), U""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        FaultyFileStore files;
        RegFileStore store(files, path);
        for (const Text& name : row.taken)
            files.files[name] = "kept before as " + ToUtf8(name);
        const std::string garbage = "this is not\r\na registry file\r\n";
        files.files[path] = garbage;
        try {
            store.KeyExists(kUserKey);
            ADD_FAILURE() << "a corrupt file is a run-time failure";
        } catch (const StoreFailure& failure) {
            const std::string start =
                "The settings file " + ToUtf8(path) + " is not a registry file";
            if (row.keptAs.empty()) {
                EXPECT_EQ(failure.number(), StoreFailure::kUnreadable);
                EXPECT_EQ(failure.what(),
                          start + " and cannot be kept aside: " +
                              std::make_error_code(std::errc::file_exists).message());
            } else {
                EXPECT_EQ(failure.number(), StoreFailure::kCorrupt);
                EXPECT_EQ(failure.what(), start + "; it was kept as " + ToUtf8(row.keptAs));
            }
        }
        for (const Text& name : row.taken)
            EXPECT_EQ(files.files[name], "kept before as " + ToUtf8(name));
        if (row.keptAs.empty()) {
            EXPECT_THROW(store.SetValue(kSettingsKey, U"Indent", U"2"), StoreFailure);
            EXPECT_EQ(files.files[path], garbage) << "left where it is, not written over";
            EXPECT_EQ(files.writes, 0);
            continue;
        }
        EXPECT_EQ(files.files[row.keptAs], garbage);
        // From then on the store starts afresh.
        EXPECT_FALSE(store.KeyExists(kUserKey));
        EXPECT_TRUE(store.SetValue(kSettingsKey, U"Indent", U"2"));
        EXPECT_EQ(FromUtf8(files.files[path]), kTwoEmptyKeys + Lines({U"\"Indent\"=\"2\""}));
    }
}

TEST_F(RegFileStoreTest, WritingOverACorruptFileKeepsItAsideAndReportsItFirst) {
    Bytes() = "REGEDIT4\r\n\"orphan\"=\"value\"\r\n";
    EXPECT_THROW(store.SetValue(kSettingsKey, U"Indent", U"2"), StoreFailure);
    EXPECT_EQ(files.files[Bad()], "REGEDIT4\r\n\"orphan\"=\"value\"\r\n");
    EXPECT_FALSE(HasFile());
    EXPECT_EQ(files.writes, 0);
    EXPECT_TRUE(store.SetValue(kSettingsKey, U"Indent", U"2"));
    EXPECT_EQ(Content(), kTwoEmptyKeys + Lines({U"\"Indent\"=\"2\""}));
}

TEST_F(RegFileStoreTest, ACorruptFileThatCannotBeKeptAsideIsNotOverwritten) {
    Bytes() = "garbage";
    files.failRenames = true;
    EXPECT_THROW(store.SetValue(kSettingsKey, U"Indent", U"2"), StoreFailure);
    EXPECT_EQ(Bytes(), "garbage");
    EXPECT_EQ(files.writes, 0);
}

TEST_F(RegFileStoreTest, AnUnreadableFileIsAFailureAndIsNotOverwritten) {
    Put(kTwoEmptyKeys + Lines({U"\"Indent\"=\"2\""}));
    const std::string before = Bytes();
    files.failReads[testing::kTestSettingsFile] = std::make_error_code(std::errc::io_error);
    try {
        store.KeyExists(kSettingsKey);
        FAIL() << "an unreadable file is a run-time failure";
    } catch (const StoreFailure& failure) {
        EXPECT_EQ(failure.number(), StoreFailure::kUnreadable);
        EXPECT_NE(std::string(failure.what()).find("Input/output error"), std::string::npos);
    }
    EXPECT_THROW(store.Values(kSettingsKey), StoreFailure);
    EXPECT_THROW(store.QueryValue(kSettingsKey, U"Indent"), StoreFailure);
    EXPECT_THROW(store.SetValue(kSettingsKey, U"Fixed width", U"80"), StoreFailure);
    EXPECT_THROW(store.CreateKey(kSettingsKey), StoreFailure);
    EXPECT_EQ(Bytes(), before);
    EXPECT_FALSE(files.files.count(Bad()));
    EXPECT_EQ(files.writes, 0);
}

TEST_F(RegFileStoreTest, AFailedWriteIsAFailureAndLeavesTheFile) {
    store.SetValue(kSettingsKey, U"Indent", U"2");
    const std::string before = Bytes();
    files.failWrites[testing::kTestSettingsFile] =
        std::make_error_code(std::errc::no_space_on_device);
    try {
        store.SetValue(kSettingsKey, U"Indent", U"3");
        FAIL() << "a failed write is a run-time failure";
    } catch (const StoreFailure& failure) {
        EXPECT_EQ(failure.number(), EIO);
        EXPECT_NE(std::string(failure.what()).find("No space left on device"), std::string::npos);
    }
    EXPECT_THROW(store.CreateKey(U"SOFTWARE\\Velmo\\User\\Other"), StoreFailure);
    EXPECT_EQ(Bytes(), before);
}

// Sets an environment variable for the life of the object.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

// XDG_CONFIG_HOME, else ~/.config, only absolute folders counting; without a
// usable HOME the home folder is the password database's, never the root.
TEST(RegFileStorePathTest, DefaultPathFollowsTheConfigFolder) {
    const passwd* entry = getpwuid(geteuid());
    ASSERT_NE(entry, nullptr);
    const std::string own = std::string(entry->pw_dir) + "/.config/Velmo/User.reg";
    const struct {
        const char* home;
        const char* config;
        std::string expected;
    } kCases[] = {
        {"/home/ann", "/srv/cfg", "/srv/cfg/Velmo/User.reg"},
        {"/home/ann", nullptr, "/home/ann/.config/Velmo/User.reg"},
        {"/home/ann", "relative/cfg", "/home/ann/.config/Velmo/User.reg"},
        {"/home/ann", "", "/home/ann/.config/Velmo/User.reg"},
        {nullptr, "/srv/cfg", "/srv/cfg/Velmo/User.reg"},
        {nullptr, nullptr, own},
        {"", nullptr, own},
        {"relative/home", nullptr, own},
    };
    for (const auto& row : kCases) {
        SCOPED_TRACE(std::string(row.home ? row.home : "(unset)") + " " +
                     (row.config ? row.config : "(unset)"));
        ScopedEnv home("HOME", row.home);
        ScopedEnv config("XDG_CONFIG_HOME", row.config);
        EXPECT_EQ(RegFileStore::DefaultPath(), FromUtf8(row.expected));
    }

    // A user the system does not know, without HOME: no path at all.
    constexpr uid_t kStranger = 54321;
    if (geteuid() != 0 || getpwuid(kStranger) != nullptr)
        GTEST_SKIP() << "becoming a user with no home needs root and a free uid";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        unsetenv("HOME");
        unsetenv("XDG_CONFIG_HOME");
        const bool none =
            setresuid(kStranger, kStranger, kStranger) == 0 && RegFileStore::DefaultPath().empty();
        _exit(none ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// The real files, in a folder of this test process's own.
class RegFileStoreOnDiskTest : public ::testing::Test {
  protected:
    Text PathOf(const std::string& name) const { return FromUtf8((folder_ / name).string()); }
    std::string ReadBytes(const std::string& name) const {
        return testing::FileContents(folder_ / name);
    }

    const testing::TempFolder folder_{"velmo-reg"};
    PosixFileStore files_;
};

TEST_F(RegFileStoreOnDiskTest, FirstWriteCreatesTheFolderAndTheFile) {
    RegFileStore store(files_, PathOf("config/Velmo/User.reg"));
    EXPECT_FALSE(store.KeyExists(kUserKey));
    EXPECT_TRUE(store.CreateKey(kUserKey + U"Freeware\\"));
    EXPECT_EQ(ReadBytes("config/Velmo/User.reg"), ToUtf8(kTwoEmptyKeys));
    EXPECT_TRUE(store.SetValue(kSettingsKey, U"Path", U"/home/jörg/\"sig\".txt"));
    EXPECT_EQ(store.QueryValue(kSettingsKey, U"Path"), U"/home/jörg/\"sig\".txt");
    // No temporary file is left behind; the lock file stays for the next writer.
    EXPECT_EQ(folder_.Listing(),
              (std::set<std::string>{"config", "config/Velmo", "config/Velmo/User.reg",
                                     "config/Velmo/User.reg.lock"}));
}

TEST_F(RegFileStoreOnDiskTest, ACorruptFileIsRenamedAsideNeverOverAnother) {
    testing::WriteFile(folder_ / "User.reg.bad", "the one before");
    std::filesystem::create_directory(folder_ / "User.reg.bad.1");  // passed over too
    testing::WriteFile(folder_ / "User.reg", "[not a registry file");
    RegFileStore store(files_, PathOf("User.reg"));
    EXPECT_THROW(store.KeyExists(kUserKey), StoreFailure);
    EXPECT_EQ(ReadBytes("User.reg.bad"), "the one before");
    EXPECT_EQ(ReadBytes("User.reg.bad.2"), "[not a registry file");
    EXPECT_FALSE(std::filesystem::exists(folder_ / "User.reg"));
    EXPECT_FALSE(store.KeyExists(kUserKey));

    // The file system itself is asked not to rename over a file.
    testing::WriteFile(folder_ / "a", "a");
    EXPECT_EQ(files_.Rename(PathOf("a"), PathOf("User.reg.bad")).error, std::errc::file_exists);
    EXPECT_EQ(ReadBytes("a"), "a");
    EXPECT_EQ(ReadBytes("User.reg.bad"), "the one before");
}

TEST_F(RegFileStoreOnDiskTest, TwoProcessesSavingAtOnceKeepEveryValue) {
    const Text path = PathOf("User.reg");
    constexpr int kValuesEach = 50;
    auto name = [](int child, int i) { return U"Child " + ToText(child) + U" value " + ToText(i); };
    auto text = [](int child, int i) {
        return Text(static_cast<size_t>(i % 40 + 1), static_cast<char32_t>(U'a' + child));
    };

    // The children wait for the parent to close the pipe, so they start together.
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    pid_t children[2] = {-1, -1};
    for (int child = 0; child < 2; ++child) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0) << "fork: " << std::strerror(errno);
        if (pid == 0) {
            close(gate[1]);
            char byte;
            while (read(gate[0], &byte, 1) < 0 && errno == EINTR) {
            }
            PosixFileStore files;
            RegFileStore store(files, path);
            bool ok = true;
            for (int i = 0; i < kValuesEach; ++i) {
                try {
                    ok = store.SetValue(kSettingsKey, name(child, i), text(child, i)) && ok;
                } catch (...) {
                    ok = false;
                }
            }
            _exit(ok ? 0 : 1);
        }
        children[child] = pid;
    }
    close(gate[0]);
    close(gate[1]);
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }

    const std::optional<RegDocument> doc = ParseRegDocument(FromUtf8(ReadBytes("User.reg")));
    ASSERT_TRUE(doc) << "the file is a valid registry file";
    const RegKey* key = doc->Find(U"HKEY_CURRENT_USER\\" + kSettingsKey);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->values.size(), 2u * kValuesEach);
    for (int child = 0; child < 2; ++child) {
        for (int i = 0; i < kValuesEach; ++i) {
            const RegValue* value = key->Find(name(child, i));
            ASSERT_NE(value, nullptr) << ToUtf8(name(child, i));
            EXPECT_EQ(value->text, text(child, i));
        }
    }
    EXPECT_EQ(folder_.Listing(), (std::set<std::string>{"User.reg", "User.reg.lock"}));
}

}  // namespace
}  // namespace velmo

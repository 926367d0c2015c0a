#include "settings/reg_file_store.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>

#include "core/posix_file_store.h"
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

// The in-memory files, with reads and renames that can be made to fail.
class FaultyFileStore : public testing::FakeFileStore {
  public:
    std::optional<std::string> Read(const Text& path, FileResult& result,
                                    size_t limit = kReadLimit) override {
        if (const auto it = failReads.find(path); it != failReads.end()) {
            result.error = it->second;
            return std::nullopt;
        }
        return FakeFileStore::Read(path, result, limit);
    }
    FileResult Rename(const Text& from, const Text& to) override {
        if (failRenames)
            return {std::make_error_code(std::errc::permission_denied)};
        return FakeFileStore::Rename(from, to);
    }
    std::map<Text, std::error_code> failReads;
    bool failRenames = false;
};

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
    EXPECT_FALSE(store.ValueAt(kSettingsKey, 0));
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
    EXPECT_FALSE(store.ValueAt(kSettingsKey, 0)) << "a new key has no values";

    // Creating it again changes nothing.
    EXPECT_TRUE(store.CreateKey(kSettingsKey));
    EXPECT_EQ(Content(), kTwoEmptyKeys);
}

TEST_F(RegFileStoreTest, ValuesKeepTheOrderOfTheirFirstWrite) {
    EXPECT_TRUE(store.SetValue(kSettingsKey, U"B", U"1"));
    EXPECT_TRUE(store.SetValue(kSettingsKey, U"A", U"2"));
    EXPECT_TRUE(store.SetValue(kSettingsKey, U"b", U"3"));  // the same value as "B"
    EXPECT_EQ(Content(), kTwoEmptyKeys + Lines({U"\"B\"=\"3\"", U"\"A\"=\"2\""}));
    EXPECT_EQ(files.writes, 3) << "every write replaces the file";

    ASSERT_TRUE(store.ValueAt(kSettingsKey, 1));
    EXPECT_EQ(store.ValueAt(kSettingsKey, 1)->name, U"A");
    EXPECT_EQ(store.ValueAt(kSettingsKey, 0)->text, U"3");
    EXPECT_FALSE(store.ValueAt(kSettingsKey, 2));
    EXPECT_FALSE(store.ValueAt(kSettingsKey, -1));
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
                             U"\"Indent\"=\"4\"",
                             U"\"Program Values\"=\" 5\"",
                             U"",
                             U"[HKEY_CURRENT_USER\\Software\\Velmo\\User\\Later]",
                             U"@=\"x\"",
                             U"\"Name\"=\"Jörg\"",
                         }));
    EXPECT_TRUE(IsValidUtf8(Bytes())) << "written back in UTF-8";
}

TEST_F(RegFileStoreTest, ListingShowsOtherTypesButOnlyStringsReadByName) {
    Put(Lines({
        U"REGEDIT4",
        U"[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware]",
        U"@=\"default\"",
        U"\"Count\"=dword:00000010",
        U"\"Text\"=\"t\"",
    }));
    const std::optional<StoredValue> first = store.ValueAt(kSettingsKey, 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->name, U"");
    const std::optional<StoredValue> second = store.ValueAt(kSettingsKey, 1);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->name, U"Count");
    EXPECT_EQ(second->text, U"dword:00000010");
    EXPECT_FALSE(store.QueryValue(kSettingsKey, U"Count"));
    EXPECT_EQ(store.QueryValue(kSettingsKey, U"Text"), U"t");
    EXPECT_FALSE(store.QueryValue(kSettingsKey, U"Missing"));
    EXPECT_FALSE(store.QueryValue(U"SOFTWARE\\Velmo\\User", U"Text")) << "another key";
}

TEST_F(RegFileStoreTest, TextsAndNamesOver254CharactersCannotBeRead) {
    const Text fits(254, U'é');
    const Text tooLong(255, U'x');
    store.SetValue(kSettingsKey, U"fits", fits);
    store.SetValue(kSettingsKey, tooLong, U"long name");
    store.SetValue(kSettingsKey, U"long text", tooLong);
    store.SetValue(kSettingsKey, fits, U"name fits");

    ASSERT_TRUE(store.ValueAt(kSettingsKey, 0));
    EXPECT_EQ(store.ValueAt(kSettingsKey, 0)->text, fits);
    EXPECT_EQ(store.QueryValue(kSettingsKey, U"fits"), fits);
    EXPECT_FALSE(store.ValueAt(kSettingsKey, 1));
    EXPECT_FALSE(store.ValueAt(kSettingsKey, 2));
    EXPECT_FALSE(store.QueryValue(kSettingsKey, U"long text"));
    ASSERT_TRUE(store.ValueAt(kSettingsKey, 3));
    EXPECT_EQ(store.ValueAt(kSettingsKey, 3)->name, fits);
    // Stored as given, all the same.
    EXPECT_NE(Content().find(tooLong), Text::npos);
}

TEST_F(RegFileStoreTest, ACorruptFileIsKeptAsideAndReported) {
    const std::string garbage = "this is not\r\na registry file\r\n";
    Bytes() = garbage;
    try {
        store.KeyExists(kUserKey);
        FAIL() << "a corrupt file is a run-time failure";
    } catch (const StoreFailure& failure) {
        EXPECT_EQ(failure.number(), RegFileStore::kCorruptFile);
        EXPECT_NE(std::string(failure.what()).find("User.reg.bad"), std::string::npos);
    }
    EXPECT_FALSE(HasFile());
    EXPECT_EQ(files.files[Bad()], garbage);

    // From then on the store starts afresh.
    EXPECT_FALSE(store.KeyExists(kUserKey));
    EXPECT_TRUE(store.SetValue(kSettingsKey, U"Indent", U"2"));
    EXPECT_EQ(Content(), kTwoEmptyKeys + Lines({U"\"Indent\"=\"2\""}));
    EXPECT_EQ(files.files[Bad()], garbage);
}

TEST_F(RegFileStoreTest, WritingOverACorruptFileKeepsItAsideFirst) {
    Bytes() = "REGEDIT4\r\n\"orphan\"=\"value\"\r\n";
    EXPECT_TRUE(store.SetValue(kSettingsKey, U"Indent", U"2"));
    EXPECT_EQ(files.files[Bad()], "REGEDIT4\r\n\"orphan\"=\"value\"\r\n");
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
        EXPECT_NE(failure.number(), RegFileStore::kCorruptFile);
        EXPECT_NE(std::string(failure.what()).find("Input/output error"), std::string::npos);
    }
    EXPECT_THROW(store.ValueAt(kSettingsKey, 0), StoreFailure);
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
    files.failWrites[testing::kTestSettingsFile] = std::make_error_code(std::errc::no_space_on_device);
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

TEST(RegFileStorePathTest, DefaultPathFollowsTheConfigFolder) {
    ScopedEnv home("HOME", "/home/ann");
    {
        ScopedEnv config("XDG_CONFIG_HOME", "/srv/cfg");
        EXPECT_EQ(RegFileStore::DefaultPath(), U"/srv/cfg/Velmo/User.reg");
    }
    {
        ScopedEnv config("XDG_CONFIG_HOME", nullptr);
        EXPECT_EQ(RegFileStore::DefaultPath(), U"/home/ann/.config/Velmo/User.reg");
    }
    {
        // Only an absolute folder counts.
        ScopedEnv config("XDG_CONFIG_HOME", "relative/cfg");
        EXPECT_EQ(RegFileStore::DefaultPath(), U"/home/ann/.config/Velmo/User.reg");
    }
    {
        ScopedEnv config("XDG_CONFIG_HOME", "");
        EXPECT_EQ(RegFileStore::DefaultPath(), U"/home/ann/.config/Velmo/User.reg");
    }
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

TEST_F(RegFileStoreOnDiskTest, ACorruptFileIsRenamedAside) {
    testing::WriteFile(folder_ / "User.reg", "[not a registry file");
    RegFileStore store(files_, PathOf("User.reg"));
    EXPECT_THROW(store.KeyExists(kUserKey), StoreFailure);
    EXPECT_EQ(ReadBytes("User.reg.bad"), "[not a registry file");
    EXPECT_FALSE(std::filesystem::exists(folder_ / "User.reg"));
    EXPECT_FALSE(store.KeyExists(kUserKey));
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

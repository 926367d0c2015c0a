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

class RegFileStoreTest : public ::testing::Test {
  protected:
    bool HasFile() const { return files.files.count(testing::kTestSettingsFile) != 0; }
    std::string& Bytes() { return files.files[testing::kTestSettingsFile]; }
    Text Content() { return FromUtf8(Bytes()); }
    void Put(const Text& content) { Bytes() = ToUtf8(content); }

    testing::FakeFileStore files;
    RegFileStore store{files, testing::kTestSettingsFile};
};

// Only string values are listed, whole; the rest of the file is kept as it
// stands, and a file written on Windows (Windows-1252) is read as such. Keys
// match without regard to case, a key above a listed one exists too.
TEST_F(RegFileStoreTest, WritingKeepsEverythingElseInTheFile) {
    EXPECT_FALSE(store.Values(kSettingsKey));
    EXPECT_FALSE(HasFile()) << "reading creates nothing";
    const Text other = Lines({U"REGEDIT4", U"", U"[HKEY_CURRENT_USER\\Software\\Other]",
                              U"\"Count\"=dword:00000010", U"",
                              U"[HKEY_CURRENT_USER\\Software\\Velmo\\User\\Freeware]"});
    const Text later = Lines({U"", U"[HKEY_CURRENT_USER\\Software\\Velmo\\User\\Later]", U"@=\"x\"",
                              U"\"Count\"=dword:00000010"});
    // "INDENT" was edited by hand: the exact spelling is the one written.
    Put(other +
        Lines({U"\"Window\"=hex:01,02,\\", U"  03", U"\"INDENT\"=\"1\"", U"\"Indent\"=\"3\""}) +
        later);
    Bytes() += "\"Name\"=\"J\xF6rg\"\r\n";
    const std::vector<StoredValue> read = *store.Values(U"SOFTWARE\\Velmo\\User\\Later");
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].name + U"|" + read[1].name + U"=" + read[1].text, U"|Name=Jörg");
    for (const auto& [key, exists] : std::initializer_list<std::pair<Text, bool>>{
             {kUserKey, true},
             {U"software\\velmo\\user\\FREEWARE\\", true},
             {U"SOFTWARE\\Velmo\\User\\Free", false},
             {U"SOFTWARE\\Velmo\\User\\Freewarf", false},
             {U"SOFTWARE\\Velmo\\User\\Freeware\\Sub", false}}) {
        EXPECT_EQ(store.KeyExists(key), exists) << ToUtf8(key);
        EXPECT_EQ(store.Values(key).has_value(), exists) << ToUtf8(key);
    }

    EXPECT_TRUE(store.SetValue(kSettingsKey, U"Indent", U"4"));
    // Several at once are one replace; a name in other case is the value
    // stored, now so spelt, even one appended by the same call.
    EXPECT_TRUE(store.SetValues(U"Software\\VELMO\\user\\freeware",
                                {{U"window", U"now a string"}, {U"Long", U"é"}, {U"LONG", U"è"}}));
    EXPECT_EQ(files.writes, 2);
    EXPECT_EQ(Content(), other +
                             Lines({U"\"window\"=\"now a string\"", U"\"INDENT\"=\"1\"",
                                    U"\"Indent\"=\"4\"", U"\"LONG\"=\"è\""}) +
                             later + Lines({U"\"Name\"=\"Jörg\""}));
    EXPECT_TRUE(IsValidUtf8(Bytes())) << "written back in UTF-8";
}

// Every corrupt file is kept, each under a name of its own, before anything
// is written; one that cannot be kept is left where it is, not written over.
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
    const std::pair<std::vector<Text>, Text> rows[] = {
        // The names taken, and the name it is kept as (none: it is not).
        {{}, numbered(0)},
        {{numbered(0)}, numbered(1)},
        {{numbered(0), numbered(1), numbered(3)}, numbered(2)},
        {upTo(last), numbered(last)},
        {upTo(last + 1), U""},
    };
    const std::string garbage = "REGEDIT4\r\n\"no key\"=\"value\"\r\n";
    const std::string start = "The settings file " + ToUtf8(path) + " is not a registry file";
    for (const auto& [taken, keptAs] : rows) {
        SCOPED_TRACE(taken.size());
        testing::FakeFileStore files;
        RegFileStore store(files, path);
        for (const Text& name : taken)
            files.files[name] = ToUtf8(name);
        files.files[path] = garbage;
        for (int attempt = 0; attempt < (keptAs.empty() ? 2 : 1); ++attempt) {
            try {
                store.SetValue(kSettingsKey, U"Indent", U"2");
                ADD_FAILURE() << "a corrupt file is a run-time failure";
            } catch (const StoreFailure& failure) {
                EXPECT_EQ(failure.number(),
                          keptAs.empty() ? StoreFailure::kUnreadable : StoreFailure::kCorrupt);
                EXPECT_EQ(failure.what(), keptAs.empty()
                                              ? start + " and cannot be kept aside: File exists"
                                              : start + "; it was kept as " + ToUtf8(keptAs));
            }
        }
        EXPECT_EQ(files.writes, 0);
        for (const Text& name : taken)
            EXPECT_EQ(files.files[name], ToUtf8(name));
        EXPECT_EQ(files.files[keptAs.empty() ? path : keptAs], garbage);
        if (keptAs.empty())
            continue;
        // From then on the store starts afresh.
        EXPECT_FALSE(store.KeyExists(kUserKey));
        EXPECT_TRUE(store.SetValue(kSettingsKey, U"Indent", U"2"));
        EXPECT_EQ(FromUtf8(files.files[path]), kTwoEmptyKeys + Lines({U"\"Indent\"=\"2\""}));
    }
}

// XDG_CONFIG_HOME, else ~/.config, only absolute folders counting; without a
// usable HOME the home folder is the password database's, never the root.
TEST(RegFileStorePathTest, DefaultPathFollowsTheConfigFolder) {
    const passwd* entry = getpwuid(geteuid());
    ASSERT_NE(entry, nullptr);
    const std::string own = std::string(entry->pw_dir) + "/.config/Velmo/User.reg";
    const auto set = [](const char* name, const char* value) {
        value != nullptr ? setenv(name, value, 1) : unsetenv(name);
    };
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    const struct {
        const char* home;
        const char* config;
        std::string expected;
    } rows[] = {
        {"/home/ann", "/srv/cfg", "/srv/cfg/Velmo/User.reg"},
        {"/home/ann", "relative/cfg", "/home/ann/.config/Velmo/User.reg"},
        {nullptr, nullptr, own},
        {"", nullptr, own},
        {"relative/home", nullptr, own},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.home ? row.home : "(unset)") + " " +
                     (row.config ? row.config : "(unset)"));
        set("HOME", row.home);
        set("XDG_CONFIG_HOME", row.config);
        EXPECT_EQ(RegFileStore::DefaultPath(), FromUtf8(row.expected));
    }
    set("HOME", home.c_str());
    unsetenv("XDG_CONFIG_HOME");
}

// Two processes saving at once into a folder not made yet both keep every
// value; no temporary file is left, and the lock file stays for the next
// writer. A corrupt file is then renamed, never over another file or folder.
TEST(RegFileStoreOnDiskTest, TwoProcessesSavingAtOnceKeepEveryValue) {
    const testing::TempFolder folder("velmo-reg");
    const Text path = FromUtf8((folder / "Velmo/User.reg").string());
    constexpr int kValuesEach = 40;
    // The children wait for the parent to close the pipe, so they start together.
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    pid_t children[2] = {-1, -1};
    for (int child = 0; child < 2; ++child) {
        children[child] = fork();
        ASSERT_GE(children[child], 0) << "fork: " << std::strerror(errno);
        if (children[child] == 0) {
            close(gate[1]);
            char byte;
            while (read(gate[0], &byte, 1) < 0 && errno == EINTR) {
            }
            PosixFileStore files;
            RegFileStore store(files, path);
            bool ok = true;
            for (int i = 0; i < kValuesEach; ++i) {
                const Text name = ToText(child) + U"." + ToText(i);
                try {
                    ok = store.SetValue(kSettingsKey, name, name) && ok;
                } catch (...) {
                    ok = false;
                }
            }
            _exit(ok ? 0 : 1);
        }
    }
    close(gate[0]);
    close(gate[1]);
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }
    PosixFileStore files;
    RegFileStore store(files, path);
    std::set<Text> stored;
    const std::vector<StoredValue> values = *store.Values(kSettingsKey);
    for (const StoredValue& value : values)
        stored.insert(value.name == value.text ? value.name : U"");
    EXPECT_EQ(stored.size(), 2u * kValuesEach);
    EXPECT_EQ(stored.count(U""), 0u);
    EXPECT_EQ(folder.Listing(),
              (std::set<std::string>{"Velmo", "Velmo/User.reg", "Velmo/User.reg.lock"}));

    testing::WriteFile(folder / "Velmo/User.reg.bad", "the one before");
    std::filesystem::create_directory(folder / "Velmo/User.reg.bad.1");
    testing::WriteFile(folder / "Velmo/User.reg", "[not a registry file");
    EXPECT_THROW(store.KeyExists(kUserKey), StoreFailure);
    EXPECT_EQ(testing::FileContents(folder / "Velmo/User.reg.bad"), "the one before");
    EXPECT_EQ(testing::FileContents(folder / "Velmo/User.reg.bad.2"), "[not a registry file");
    EXPECT_FALSE(store.KeyExists(kUserKey));
}

}  // namespace
}  // namespace velmo

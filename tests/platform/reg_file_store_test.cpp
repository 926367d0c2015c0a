#include "platform/reg_file_store.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <numeric>
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

// Only string values are listed, whole; the rest of the file is kept as it
// stands, and a file written on Windows (Windows-1252) is read as such. Keys
// match without regard to case, a key above a listed one exists too.
TEST(RegFileStoreTest, WritingKeepsEverythingElseInTheFile) {
    testing::FakeFileStore files;
    RegFileStore store{files, testing::kTestSettingsFile};
    EXPECT_FALSE(store.Values(kSettingsKey).value());
    EXPECT_TRUE(files.files.empty()) << "reading creates nothing";
    std::string& bytes = files.files[testing::kTestSettingsFile];
    const Text other = Lines({U"REGEDIT4", U"", U"[HKEY_CURRENT_USER\\Software\\Other]",
                              U"\"Count\"=dword:00000010", U"",
                              U"[HKEY_CURRENT_USER\\Software\\Velmo\\User\\Freeware]"});
    const Text later = Lines({U"", U"[HKEY_CURRENT_USER\\Software\\Velmo\\User\\Later]", U"@=\"x\"",
                              U"\"Count\"=dword:00000010"});
    // "INDENT" was edited by hand: the exact spelling is the one written.
    bytes = ToUtf8(other +
                   Lines({U"\"Window\"=hex:01,02,\\", U"  03", U"\"INDENT\"=\"1\"",
                          U"\"Indent\"=\"3\""}) +
                   later) +
            "\"Name\"=\"J\xF6rg\"\r\n";
    const std::vector<StoredValue> read = *store.Values(U"SOFTWARE\\Velmo\\User\\Later").value();
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].name + U"|" + read[1].name + U"=" + read[1].text, U"|Name=Jörg");
    for (const auto& [key, exists] : std::initializer_list<std::pair<Text, bool>>{
             {kUserKey, true},
             {U"software\\velmo\\user\\FREEWARE\\", true},
             {U"SOFTWARE\\Velmo\\User\\Free", false},
             {U"SOFTWARE\\Velmo\\User\\Freewarf", false},
             {U"SOFTWARE\\Velmo\\User\\Freeware\\Sub", false}}) {
        EXPECT_EQ(store.KeyExists(key).value_or(false), exists) << ToUtf8(key);
        EXPECT_EQ(store.Values(key).value().has_value(), exists) << ToUtf8(key);
    }

    EXPECT_TRUE(store.SetValues(kSettingsKey, {{U"Indent", U"4"}}).value_or(false));
    // Several at once are one replace; a name in other case is the value
    // stored, now so spelt, even one appended by the same call.
    EXPECT_TRUE(store
                    .SetValues(U"Software\\VELMO\\user\\freeware",
                               {{U"window", U"now a string"}, {U"Long", U"é"}, {U"LONG", U"è"}})
                    .value_or(false));
    EXPECT_EQ(files.writes, 2);
    EXPECT_EQ(FromUtf8(bytes), other +
                                   Lines({U"\"window\"=\"now a string\"", U"\"INDENT\"=\"1\"",
                                          U"\"Indent\"=\"4\"", U"\"LONG\"=\"è\""}) +
                                   later + Lines({U"\"Name\"=\"Jörg\""}));
    EXPECT_TRUE(IsValidUtf8(bytes)) << "written back in UTF-8";
}

// Every corrupt file is kept, each under a name of its own, before anything
// is written; one that cannot be kept is left where it is, not written over.
TEST(RegFileStoreCorruptTest, ACorruptFileIsKeptAsideUnderAFreeNameAndReported) {
    const Text path = testing::kTestSettingsFile;
    const auto numbered = [&](int n) {
        return n == 0 ? path + U".bad" : path + U".bad." + ToText(n);
    };
    const int last = RegFileStore::kMaxKeptNumber;
    std::vector<int> all(last + 1);
    std::iota(all.begin(), all.end(), 0);
    // The numbers taken, and the one it is kept under (-1: it is not kept).
    const std::pair<std::vector<int>, int> rows[] = {
        {{}, 0}, {{0}, 1}, {{0, 1, 3}, 2}, {{all.begin(), all.end() - 1}, last}, {all, -1}};
    const std::string garbage = "REGEDIT4\r\n\"no key\"=\"value\"\r\n";
    const std::string start = "The settings file " + ToUtf8(path) + " is not a registry file";
    for (const auto& [taken, number] : rows) {
        SCOPED_TRACE(number);
        testing::FakeFileStore files;
        RegFileStore store(files, path);
        for (const int n : taken)
            files.files[numbered(n)] = "taken";
        files.files[path] = garbage;
        const Text keptAs = number < 0 ? path : numbered(number);
        for (int attempt = 0; attempt < (number < 0 ? 2 : 1); ++attempt) {
            const StoreResult<bool> written = store.SetValues(kSettingsKey, {{U"Indent", U"2"}});
            ASSERT_FALSE(written.has_value()) << "a corrupt file is a run-time failure";
            EXPECT_EQ(written.error().number,
                      number < 0 ? StoreFailure::kUnreadable : StoreFailure::kCorrupt);
            EXPECT_EQ(written.error().description,
                      number < 0 ? start + " and cannot be kept aside: File exists"
                                 : start + "; it was kept as " + ToUtf8(keptAs));
        }
        EXPECT_EQ(files.writes, 0);
        for (const int n : taken)
            EXPECT_EQ(files.files[numbered(n)], "taken");
        EXPECT_EQ(files.files[keptAs], garbage);
    }
}

// Two processes saving at once into a folder not made yet both keep every
// value; no temporary file is left, and the lock file stays for the next
// writer.
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
                ok = store.SetValues(kSettingsKey, {{name, name}}).value_or(false) && ok;
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
    const std::vector<StoredValue> values = *store.Values(kSettingsKey).value();
    for (const StoredValue& value : values)
        stored.insert(value.name == value.text ? value.name : U"");
    EXPECT_EQ(stored.size(), 2u * kValuesEach);
    EXPECT_EQ(stored.count(U""), 0u);
    EXPECT_EQ(folder.Listing(),
              (std::set<std::string>{"Velmo", "Velmo/User.reg", "Velmo/User.reg.lock"}));
}

}  // namespace
}  // namespace velmo

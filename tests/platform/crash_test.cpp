// A program killed at any moment while it writes leaves every file either as
// it was or as it was to become, never anything in between.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "domain/reg_document.h"
#include "platform/posix_file_store.h"
#include "platform/reg_file_store.h"
#include "support/temp_folder.h"
#include "support/text_helpers.h"

namespace velmo {
namespace {

namespace fs = std::filesystem;

TEST(CrashTest, KilledWritesLeaveOldOrNewFilesOnly) {
    const testing::TempFolder folder("velmo-crash");
    const fs::path signature = folder / "signature.txt";
    const fs::path list = folder / "Variable.txt";
    const fs::path settings = folder / "User.reg";
    // Two full versions of each file, large enough that a write takes a while.
    const std::string versions[2] = {std::string(300000, 'a') + "\r\n",
                                     std::string(300000, 'b') + "\r\n"};
    const Text values[2] = {Text(200, U'x'), Text(200, U'y')};

    std::mt19937 random(20261206);
    for (int round = 0; round < 40; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            PosixFileStore files;
            RegFileStore store(files, testing::PathText(settings));
            for (int i = 0;; ++i) {
                files.Replace(testing::PathText(signature), versions[i % 2]);
                files.Replace(testing::PathText(list), versions[(i + 1) % 2]);
                static_cast<void>(store.SetValues(U"SOFTWARE\\Velmo\\User\\Freeware",
                                                  {{U"Fixed width", values[i % 2]}}));
            }
        }
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::uniform_int_distribution<int>(200, 20000)(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status)) << "killed while writing, round " << round;

        for (const fs::path& file : {signature, list}) {
            if (!fs::exists(file))
                continue;
            const std::string bytes = testing::FileContents(file);
            EXPECT_TRUE(bytes == versions[0] || bytes == versions[1])
                << file << " holds " << bytes.size() << " bytes after round " << round;
        }
        if (fs::exists(settings)) {
            std::optional<RegDocument> doc =
                ParseRegDocument(FromUtf8(testing::FileContents(settings)));
            const RegKey* key =
                doc ? doc->Find(U"HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware") : nullptr;
            ASSERT_TRUE(key != nullptr && key->values.size() == 1)
                << "settings file broken after round " << round;
            EXPECT_TRUE(key->values[0].text == values[0] || key->values[0].text == values[1]);
        }
    }

    // No temporary file is left to be mistaken for the real one.
    const std::set<std::string> kept = {"signature.txt", "Variable.txt", "User.reg",
                                        "User.reg.lock"};
    for (const std::string& name : folder.Listing())
        EXPECT_TRUE(kept.contains(name) || name.starts_with('.')) << name;
}

}  // namespace
}  // namespace velmo

// Every call of replacing a file on Windows made to fail in turn: the old
// file must be left exactly as it was, with nothing stray beside it, and the
// reason is the system's, for the user to be told.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/windows_file_store.h"
#include "support/temp_folder.h"
#include "support/text_helpers.h"

namespace velmo {
namespace {

namespace fs = std::filesystem;
using testing::FileContents;
using testing::PathText;
using testing::WriteFile;

enum class Step { Create, Write, Flush, Close, SetAttributes, Move, Remove };

// The real calls, with one of them made to fail: the `failAt`-th call of
// all, or every call of one step. Keeps the handles it opened, to find one
// closed twice or never.
class FaultyCalls : public WindowsFileCalls {
    using W = WindowsFileCalls;

  public:
    HANDLE Create(const wchar_t* path) override {
        const HANDLE file = Call(Step::Create, INVALID_HANDLE_VALUE, &W::Create, path);
        if (file != INVALID_HANDLE_VALUE)
            open.insert(file);
        return file;
    }
    bool Write(HANDLE file, const char* data, DWORD size, DWORD& written) override {
        return Call(Step::Write, false, &W::Write, file, data, std::min(size, maxWrite), written);
    }
    bool Flush(HANDLE file) override { return Call(Step::Flush, false, &W::Flush, file); }
    bool Close(HANDLE file) override {
        closedTwice |= open.erase(file) == 0;
        return Call(Step::Close, false, &W::Close, file);
    }
    bool SetAttributes(const wchar_t* path, DWORD attributes) override {
        return Call(Step::SetAttributes, false, &W::SetAttributes, path, attributes);
    }
    bool Move(const wchar_t* from, const wchar_t* to, DWORD flags) override {
        return Call(Step::Move, false, &W::Move, from, to, flags);
    }
    bool Remove(const wchar_t* path) override {
        if (removeFails)
            SetLastError(ERROR_SHARING_VIOLATION);
        return !removeFails && Call(Step::Remove, false, &W::Remove, path);
    }

    std::optional<Step> failStep;  // every call of this step fails
    int failAt = 0;                // or only this call of all (counting from 1)
    DWORD maxWrite = 1 << 30;
    bool removeFails = false;  // the clean-up fails too, for another reason
    std::vector<Step> steps;
    std::optional<Step> failed;  // the step that was made to fail
    std::set<HANDLE> open;
    bool closedTwice = false;

  private:
    // A failing close still releases the handle. A call that succeeds leaves
    // a stale last error, so that a reason read after a later call instead
    // of the failing one shows up as the wrong one.
    template <typename R, typename F, typename... Args>
    R Call(Step step, R failure, F real, Args&&... args) {
        steps.push_back(step);
        const bool fails = failStep == step || failAt == static_cast<int>(steps.size());
        const R result =
            fails && step != Step::Close ? failure : (System().*real)(std::forward<Args>(args)...);
        if (fails) {
            failed = step;
            SetLastError(ERROR_DISK_FULL);
            return failure;
        }
        if (result != failure)
            SetLastError(ERROR_BAD_ENVIRONMENT);
        return result;
    }
};

const std::string kOld = "old contents \xC3\xA9\r\n\"kept\"\r\n";
const std::string kNew(100000, 'n');

class WindowsFaultTest : public ::testing::Test {
  protected:
    const testing::TempFolder folder_{"velmo-faults"};
    const fs::path file_ = folder_ / "file.txt";
    FaultyCalls calls_;
    WindowsFileStore store_{calls_};
};

// Each call in turn fails once: every run leaves the old file or the whole
// new one, and gives the failing call's reason.
TEST_F(WindowsFaultTest, EveryCallFailingInTurnLeavesTheOldOrTheNewFile) {
    using enum Step;
    // The new file takes the old one's attributes before the move.
    const std::vector<Step> kSteps = {Create, Write, Flush, Close, SetAttributes, Move};
    std::set<Step> failed;
    for (int call = 1; call < 1000; ++call) {
        SCOPED_TRACE("call " + std::to_string(call));
        WriteFile(file_, kOld);
        calls_ = FaultyCalls();
        calls_.maxWrite = 4096;  // a failure can also come halfway through the data
        calls_.failAt = call;
        const FileResult result = store_.Replace(PathText(file_), kNew);
        EXPECT_TRUE(calls_.open.empty()) << "the temporary file was closed";
        EXPECT_FALSE(calls_.closedTwice);
        // The attributes are a courtesy; the contents are what count.
        const bool goes = !calls_.failed || calls_.failed == SetAttributes;
        EXPECT_EQ(result.error, goes ? std::error_code()
                                     : std::error_code(ERROR_DISK_FULL, std::system_category()));
        EXPECT_TRUE(FileContents(file_) == (goes ? kNew : kOld));
        EXPECT_EQ(folder_.Listing(), std::set<std::string>{"file.txt"});
        if (!calls_.failed) {
            // Every call has had its turn; this run went through.
            calls_.steps.erase(std::unique(calls_.steps.begin(), calls_.steps.end()),
                               calls_.steps.end());
            EXPECT_EQ(calls_.steps, kSteps);
            EXPECT_GT(call, 25) << "a write in pieces";
            break;
        }
        failed.insert(*calls_.failed);
    }
    EXPECT_EQ(failed, std::set<Step>(kSteps.begin(), kSteps.end()));
}

// A write that makes no progress fails rather than loop; a clean-up that
// fails too keeps the first reason, and the temporary file it leaves, hidden
// and read-only like the file it was to replace, is no obstacle to the next.
TEST_F(WindowsFaultTest, OddAnswersOfTheSystem) {
    const auto replaceFailing = [&](DWORD maxWrite, std::optional<Step> failStep) {
        WriteFile(file_, kOld);
        calls_ = FaultyCalls();
        calls_.maxWrite = maxWrite;
        calls_.failStep = failStep;
        calls_.removeFails = true;
        const auto error = static_cast<DWORD>(store_.Replace(PathText(file_), kNew).error.value());
        EXPECT_EQ(FileContents(file_), kOld);
        return error;
    };
    EXPECT_EQ(replaceFailing(0, std::nullopt), DWORD{ERROR_WRITE_FAULT});
    EXPECT_EQ(replaceFailing(1 << 30, Step::Move), DWORD{ERROR_DISK_FULL});
    const fs::path leftover = folder_ / "file.txt.velmo-new";
    ASSERT_TRUE(fs::exists(leftover));
    SetFileAttributesW(leftover.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    calls_ = FaultyCalls();
    EXPECT_TRUE(store_.Replace(PathText(file_), "new"));
    EXPECT_EQ(FileContents(file_), "new");
    EXPECT_EQ(folder_.Listing(), std::set<std::string>{"file.txt"});
}

}  // namespace
}  // namespace velmo

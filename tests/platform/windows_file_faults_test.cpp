// Every call of replacing a file on Windows made to fail in turn: the old
// file must be left exactly as it was, with nothing stray beside it, and the
// reason is the system's, for the user to be told.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "platform/windows_file_store.h"
#include "support/fault_calls.h"
#include "support/temp_folder.h"
#include "support/text_helpers.h"

namespace velmo {
namespace {

namespace fs = std::filesystem;
using testing::FileContents;
using testing::PathText;
using testing::WriteFile;

enum class Step { Create, Write, Flush, Close, SetAttributes, Move, Remove };

// The real calls, with one of them made to fail.
class FaultyCalls : public testing::FaultyCalls<WindowsFileCalls, Step, HANDLE> {
    using W = WindowsFileCalls;

  public:
    HANDLE Create(const wchar_t* path) override {
        return Call(Step::Create, INVALID_HANDLE_VALUE, &W::Create, path);
    }
    bool Write(HANDLE file, const char* data, DWORD size, DWORD& written) override {
        return Call(Step::Write, false, &W::Write, file, data, std::min(size, maxWrite), written);
    }
    bool Flush(HANDLE file) override { return Call(Step::Flush, false, &W::Flush, file); }
    bool Close(HANDLE file) override { return Call(Step::Close, false, &W::Close, file); }
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

    DWORD maxWrite = 1 << 30;

  private:
    void Fail() override { SetLastError(ERROR_DISK_FULL); }
    void Succeed() override { SetLastError(ERROR_BAD_ENVIRONMENT); }
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

TEST_F(WindowsFaultTest, EveryCallFailingInTurnLeavesTheOldOrTheNewFile) {
    using enum Step;
    // The new file takes the old one's attributes before the move.
    const std::vector<Step> kSteps = {Create, Write, Flush, Close, SetAttributes, Move};
    testing::FailEachCallInTurn(calls_, kSteps, [&] {
        WriteFile(file_, kOld);
        const FileResult result = store_.Replace(PathText(file_), kNew);
        // The attributes are a courtesy; the contents are what count.
        const bool goes = !calls_.failed || calls_.failed == SetAttributes;
        EXPECT_EQ(result.error, goes ? std::error_code()
                                     : std::error_code(ERROR_DISK_FULL, std::system_category()));
        EXPECT_TRUE(FileContents(file_) == (goes ? kNew : kOld));
        EXPECT_EQ(folder_.Listing(), std::set<std::string>{"file.txt"});
    });
}

// A write that makes no progress fails rather than loop; a clean-up that
// fails too keeps the first reason. A temporary file left behind, hidden,
// read-only and longer than the new file, is no obstacle: the next replace
// keeps none of it.
TEST_F(WindowsFaultTest, OddAnswersOfTheSystem) {
    WriteFile(file_, kOld);
    calls_.maxWrite = 0;
    calls_.removeFails = true;
    EXPECT_EQ(store_.Replace(PathText(file_), kNew).error.value(), ERROR_WRITE_FAULT);
    const fs::path leftover = folder_ / "file.txt.velmo-new";
    WriteFile(leftover, kOld);
    SetFileAttributesW(leftover.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    calls_ = FaultyCalls();
    EXPECT_TRUE(store_.Replace(PathText(file_), "new"));
    EXPECT_EQ(FileContents(file_), "new");
    EXPECT_EQ(folder_.Listing(), std::set<std::string>{"file.txt"});
}

}  // namespace
}  // namespace velmo

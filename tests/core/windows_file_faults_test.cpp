// Every step of replacing a file on Windows made to fail in turn: the old
// file must be left exactly as it was, with nothing stray beside it, and the
// user is told.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "platform/windows_file_store.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "support/text_helpers.h"
#include "ui/app.h"
#include "ui/signature_file.h"
#include "ui/variable_file.h"

namespace velmo {
namespace {

namespace fs = std::filesystem;
using testing::FileContents;
using testing::WriteFile;

enum class Step { Create, Write, Flush, Close, SetAttributes, Move, Remove };

std::string StepName(const ::testing::TestParamInfo<Step>& info) {
    static const char* const kNames[] = {"Create",        "Write", "Flush", "Close",
                                         "SetAttributes", "Move",  "Remove"};
    return kNames[static_cast<int>(info.param)];
}

std::string Reason(DWORD error) {
    return std::system_category().message(static_cast<int>(error));
}

// Left as the last error by every call that succeeds, so that a reason read
// after a later call instead of the failing one shows up as the wrong text.
constexpr DWORD kStaleError = ERROR_BAD_ENVIRONMENT;

// The real calls, with one of them made to fail: the `failAt`-th call of
// all, or every call of one step. Keeps the handles it opened, to find one
// closed twice or never.
class FaultyCalls : public WindowsFileCalls {
  public:
    HANDLE Create(const wchar_t* path) override {
        if (Fails(Step::Create))
            return INVALID_HANDLE_VALUE;
        const HANDLE file = System().Create(path);
        if (file != INVALID_HANDLE_VALUE) {
            open.insert(file);
            SetLastError(kStaleError);
        }
        return file;
    }
    bool Write(HANDLE file, const char* data, DWORD size, DWORD& written) override {
        return !Fails(Step::Write) &&
               Succeeded(System().Write(file, data, std::min(size, maxWrite), written));
    }
    bool Flush(HANDLE file) override {
        return !Fails(Step::Flush) && Succeeded(System().Flush(file));
    }
    // A failing close still releases the handle.
    bool Close(HANDLE file) override {
        const bool fails = Fails(Step::Close);
        if (open.erase(file) == 0)
            closedTwice = true;
        const bool closed = System().Close(file);
        if (fails)
            SetLastError(error);
        return !fails && Succeeded(closed);
    }
    bool SetAttributes(const wchar_t* path, DWORD attributes) override {
        return !Fails(Step::SetAttributes) && Succeeded(System().SetAttributes(path, attributes));
    }
    bool Move(const wchar_t* from, const wchar_t* to, DWORD flags) override {
        return !Fails(Step::Move) && Succeeded(System().Move(from, to, flags));
    }
    bool Remove(const wchar_t* path) override {
        if (failRemove) {
            SetLastError(ERROR_SHARING_VIOLATION);
            return false;
        }
        return !Fails(Step::Remove) && Succeeded(System().Remove(path));
    }

    void Reset() {
        failStep.reset();
        failAt = 0;
        maxWrite = 1 << 30;
        calls = 0;
        failed.reset();
        failRemove = false;
        open.clear();
        closedTwice = false;
    }

    std::optional<Step> failStep;
    int failAt = 0;
    DWORD error = ERROR_DISK_FULL;
    DWORD maxWrite = 1 << 30;
    int calls = 0;
    std::optional<Step> failed;
    bool failRemove = false;  // the clean-up fails too, for another reason
    std::set<HANDLE> open;
    bool closedTwice = false;

  private:
    static bool Succeeded(bool result) {
        if (result)
            SetLastError(kStaleError);
        return result;
    }

    bool Fails(Step step) {
        ++calls;
        if (failStep == step || failAt == calls) {
            failed = step;
            SetLastError(error);
            return true;
        }
        return false;
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

class WindowsReplaceStepFails : public WindowsFaultTest,
                                public ::testing::WithParamInterface<Step> {};

TEST_P(WindowsReplaceStepFails, OldFileStaysByteForByteAndTheReasonIsGiven) {
    WriteFile(file_, kOld);
    calls_.failStep = GetParam();
    const FileResult result = store_.Replace(testing::PathText(file_), kNew);
    ASSERT_TRUE(calls_.failed) << "the step was never taken";
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error.value(), static_cast<int>(ERROR_DISK_FULL));
    EXPECT_EQ(FileContents(file_), kOld);
    EXPECT_EQ(folder_.Listing(), std::set<std::string>{"file.txt"});
    EXPECT_TRUE(calls_.open.empty()) << "the temporary file was closed";
    EXPECT_FALSE(calls_.closedTwice);

    calls_.Reset();
    EXPECT_TRUE(store_.Replace(testing::PathText(file_), kNew));
    EXPECT_TRUE(FileContents(file_) == kNew);
}

INSTANTIATE_TEST_SUITE_P(EachStep, WindowsReplaceStepFails,
                         ::testing::Values(Step::Create, Step::Write, Step::Flush, Step::Close,
                                           Step::Move),
                         StepName);

TEST_F(WindowsFaultTest, EveryCallFailingInTurnLeavesTheOldOrTheNewFile) {
    WriteFile(file_, kOld);
    for (int call = 1;; ++call) {
        ASSERT_LT(call, 1000);
        calls_.Reset();
        calls_.maxWrite = 4096;  // a failure can also come halfway through the data
        calls_.failAt = call;
        const FileResult result = store_.Replace(testing::PathText(file_), kNew);
        if (!calls_.failed) {
            EXPECT_TRUE(result);
            EXPECT_TRUE(FileContents(file_) == kNew);
            EXPECT_GT(call, 25) << "a write in pieces";
            break;
        }
        SCOPED_TRACE("call " + std::to_string(call));
        if (*calls_.failed == Step::SetAttributes) {
            // The attributes are a courtesy; the contents are what count.
            EXPECT_TRUE(result);
            EXPECT_TRUE(FileContents(file_) == kNew);
            WriteFile(file_, kOld);
        } else {
            EXPECT_FALSE(result);
            EXPECT_TRUE(FileContents(file_) == kOld);
            EXPECT_EQ(result.error.value(), static_cast<int>(ERROR_DISK_FULL))
                << "the failing call's reason";
        }
        EXPECT_EQ(folder_.Listing(), std::set<std::string>{"file.txt"});
        EXPECT_TRUE(calls_.open.empty());
        EXPECT_FALSE(calls_.closedTwice);
    }
}

TEST_F(WindowsFaultTest, ACleanUpThatFailsKeepsTheFirstReasonAndTheOldFile) {
    WriteFile(file_, kOld);
    calls_.failStep = Step::Move;
    calls_.failRemove = true;
    const FileResult result = store_.Replace(testing::PathText(file_), kNew);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error.value(), static_cast<int>(ERROR_DISK_FULL));
    EXPECT_EQ(FileContents(file_), kOld);

    // The temporary file left behind, hidden like the file it was to replace,
    // does not stand in the way of the next save.
    const fs::path leftover = folder_ / "file.txt.velmo-new";
    ASSERT_TRUE(fs::exists(leftover));
    SetFileAttributesW(leftover.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    calls_.Reset();
    EXPECT_TRUE(store_.Replace(testing::PathText(file_), kNew));
    EXPECT_TRUE(FileContents(file_) == kNew);
    EXPECT_EQ(folder_.Listing(), std::set<std::string>{"file.txt"});
}

TEST_F(WindowsFaultTest, AWriteThatMakesNoProgressFails) {
    WriteFile(file_, kOld);
    calls_.maxWrite = 0;
    const FileResult result = store_.Replace(testing::PathText(file_), kNew);
    ASSERT_FALSE(result);
    EXPECT_EQ(FileContents(file_), kOld);
    EXPECT_EQ(folder_.Listing(), std::set<std::string>{"file.txt"});
}

class WindowsWriterFaultTest : public WindowsFaultTest, public ::testing::WithParamInterface<Step> {
  protected:
    void ExpectOneMessage(const Text& title, const fs::path& file) {
        ASSERT_EQ(platform.messages.shown.size(), 1u);
        const testing::ShownMessage& shown = platform.messages.shown[0];
        EXPECT_EQ(shown.title, title);
        EXPECT_NE(shown.text.find(testing::PathText(file)), Text::npos) << ToUtf8(shown.text);
        EXPECT_NE(shown.text.find(FromUtf8(Reason(ERROR_DISK_FULL))), Text::npos)
            << ToUtf8(shown.text);
    }

    testing::TestPlatform platform;
    App app{platform.ports(store_)};
};

TEST_P(WindowsWriterFaultTest, SignatureFile) {
    WriteFile(file_, kOld);
    app.form.chkFile.Value = 1;
    app.SignatureFilePath = testing::PathText(file_);
    app.SignatureText = testing::Lines({U"Jo Bloggs"});
    calls_.failStep = GetParam();
    WriteSignatureFile(app);
    ExpectOneMessage(U"Signature File", file_);
    EXPECT_EQ(FileContents(file_), kOld);
    EXPECT_EQ(folder_.Listing(), std::set<std::string>{"file.txt"});
}

TEST_P(WindowsWriterFaultTest, VariableTextFile) {
    WriteFile(file_, "\"First\"\r\n\"Second\"\r\n");
    app.VariableFilePath = testing::PathText(file_);
    LoadVariableFile(app);
    ASSERT_EQ(app.vars.EntryCount, 2);
    app.vars.Entries[3] = U"Third";
    app.vars.EntryCount = 3;
    calls_.failStep = GetParam();
    EXPECT_FALSE(SaveVariableFile(app));
    ExpectOneMessage(U"Variable Text", file_);
    EXPECT_EQ(FileContents(file_), "\"First\"\r\n\"Second\"\r\n");
    EXPECT_EQ(app.vars.EntryCount, 3) << "the entries stay in memory";
    EXPECT_EQ(folder_.Listing(), std::set<std::string>{"file.txt"});
}

INSTANTIATE_TEST_SUITE_P(EachStep, WindowsWriterFaultTest,
                         ::testing::Values(Step::Create, Step::Write, Step::Flush, Step::Close,
                                           Step::Move),
                         StepName);

}  // namespace
}  // namespace velmo

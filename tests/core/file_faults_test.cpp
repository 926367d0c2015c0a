// Every step of replacing a file made to fail in turn, through the file store
// and through each writer of the user's files: the old file must be left
// exactly as it was, nothing stray may stay beside it, and the user is told.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/posix_file_store.h"
#include "platform/reg_file_store.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "support/text_helpers.h"
#include "ui/app.h"
#include "ui/fixed_text.h"
#include "ui/settings.h"
#include "ui/signature_file.h"
#include "ui/variable_file.h"

namespace velmo {
namespace {

namespace fs = std::filesystem;
using testing::FileContents;
using testing::WriteFile;

enum class Step { Create, Write, Flush, ChangeOwner, ChangeMode, Close, Rename, Remove };

const char* NameOf(Step step) {
    switch (step) {
        case Step::Create:
            return "Create";
        case Step::Write:
            return "Write";
        case Step::Flush:
            return "Flush";
        case Step::ChangeOwner:
            return "ChangeOwner";
        case Step::ChangeMode:
            return "ChangeMode";
        case Step::Close:
            return "Close";
        case Step::Rename:
            return "Rename";
        case Step::Remove:
            return "Remove";
    }
    return "?";
}

std::string StepName(const ::testing::TestParamInfo<Step>& param) {
    return NameOf(param.param);
}

// Left in errno by every call that succeeds, so that a reason read after a
// later call instead of the failing one shows up as the wrong text.
constexpr int kStaleErrno = EDOM;

// The real calls, with one of them made to fail: the `failAt`-th call of
// all, or every call of one step. Records the steps it was asked for and the
// descriptors it opened, to find one closed twice or never.
class FaultyCalls : public PosixFileCalls {
  public:
    int Create(const char* path, mode_t mode) override {
        if (Fails(Step::Create))
            return -1;
        const int fd = Succeeded(System().Create(path, mode));
        if (fd >= 0)
            open.insert(fd);
        return fd;
    }
    ssize_t Write(int fd, const void* data, size_t size) override {
        if (Fails(Step::Write))
            return -1;
        return Succeeded(System().Write(fd, data, std::min(size, maxWrite)));
    }
    int Flush(int fd) override { return Fails(Step::Flush) ? -1 : Succeeded(System().Flush(fd)); }
    int ChangeOwner(int fd, uid_t owner, gid_t group) override {
        return Fails(Step::ChangeOwner) ? -1 : Succeeded(System().ChangeOwner(fd, owner, group));
    }
    int ChangeMode(int fd, mode_t mode) override {
        return Fails(Step::ChangeMode) ? -1 : Succeeded(System().ChangeMode(fd, mode));
    }
    // A failing close still releases the descriptor, as on Linux.
    int Close(int fd) override {
        const bool fails = Fails(Step::Close);
        if (open.erase(fd) == 0)
            closedTwice = true;
        const int result = System().Close(fd);
        if (fails) {
            errno = error;
            return -1;
        }
        return Succeeded(result);
    }
    int Rename(const char* from, const char* to) override {
        return Fails(Step::Rename) ? -1 : Succeeded(System().Rename(from, to));
    }
    int Remove(const char* path) override {
        return Fails(Step::Remove) ? -1 : Succeeded(System().Remove(path));
    }

    // Back to no faults, with nothing recorded.
    void Reset() {
        failStep.reset();
        failAt = 0;
        error = ENOSPC;
        interruptions = 0;
        maxWrite = static_cast<size_t>(-1);
        steps.clear();
        failed.reset();
        open.clear();
        closedTwice = false;
    }

    std::optional<Step> failStep;  // every call of this step fails
    int failAt = 0;                // or only this call of all (counting from 1)
    int error = ENOSPC;
    int interruptions = 0;  // calls that fail with EINTR first
    size_t maxWrite = static_cast<size_t>(-1);
    std::vector<Step> steps;
    std::optional<Step> failed;  // the step that was made to fail
    std::set<int> open;
    bool closedTwice = false;

  private:
    template <typename Result>
    static Result Succeeded(Result result) {
        if (result >= 0)
            errno = kStaleErrno;
        return result;
    }

    bool Fails(Step step) {
        steps.push_back(step);
        if (interruptions > 0 && (step == Step::Write || step == Step::Flush)) {
            --interruptions;
            errno = EINTR;
            return true;
        }
        if (failStep == step || failAt == static_cast<int>(steps.size())) {
            failed = step;
            errno = error;
            return true;
        }
        return false;
    }
};

class FolderTest : public ::testing::Test {
  protected:
    static mode_t ModeOf(const fs::path& path) {
        struct stat info {};
        EXPECT_EQ(stat(path.c_str(), &info), 0);
        return info.st_mode & 07777;
    }
    Text PathText(const std::string& name) const { return FromUtf8((dir_ / name).string()); }

    const testing::TempFolder folder_{"velmo-faults"};
    const fs::path dir_ = folder_.path();
    FaultyCalls calls_;
    PosixFileStore store_{calls_};
};

// --- The file store itself ---

const std::string kOld = "old contents \xC3\xA9\r\n\"kept\"\r\n";
const std::string kNew(100000, 'n');

class ReplaceStepFails : public FolderTest, public ::testing::WithParamInterface<Step> {};

TEST_P(ReplaceStepFails, OldFileStaysByteForByteAndTheReasonIsGiven) {
    const fs::path file = dir_ / "file.txt";
    WriteFile(file, kOld);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    calls_.failStep = GetParam();

    const FileResult result = store_.Replace(PathText("file.txt"), kNew);

    ASSERT_TRUE(calls_.failed) << "the step was never taken";
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error, std::error_code(ENOSPC, std::generic_category()));
    EXPECT_EQ(FileContents(file), kOld);
    EXPECT_EQ(ModeOf(file), 0640u);
    EXPECT_EQ(folder_.Listing(), std::set<std::string>{"file.txt"}) << "no temporary file stays";
    EXPECT_TRUE(calls_.open.empty()) << "the temporary file was closed";
    EXPECT_FALSE(calls_.closedTwice);

    // Nothing sticks: the next write goes through.
    calls_.failStep.reset();
    EXPECT_TRUE(store_.Replace(PathText("file.txt"), kNew));
    EXPECT_TRUE(FileContents(file) == kNew);
    EXPECT_EQ(ModeOf(file), 0640u);
}

INSTANTIATE_TEST_SUITE_P(EachStep, ReplaceStepFails,
                         ::testing::Values(Step::Create, Step::Write, Step::Flush, Step::ChangeMode,
                                           Step::Close, Step::Rename),
                         StepName);

using FileStoreFaultTest = FolderTest;

TEST_F(FileStoreFaultTest, EveryCallFailingInTurnLeavesTheOldOrTheNewFile) {
    const fs::path file = dir_ / "file.txt";
    WriteFile(file, kOld);
    for (int call = 1;; ++call) {
        ASSERT_LT(call, 1000);
        calls_.Reset();
        // Small writes, so that a failure can also come halfway through the data.
        calls_.maxWrite = 4096;
        calls_.failAt = call;
        const FileResult result = store_.Replace(PathText("file.txt"), kNew);
        if (!calls_.failed) {
            // Every call has had its turn; this run went through.
            EXPECT_TRUE(result);
            EXPECT_TRUE(FileContents(file) == kNew);
            EXPECT_GT(call, 25) << "a write in pieces";
            break;
        }
        const Step failing = *calls_.failed;
        SCOPED_TRACE(std::string("call ") + std::to_string(call) + ": " + NameOf(failing));
        if (failing == Step::ChangeOwner) {
            // Only root may give a file away; not being able to is no failure.
            EXPECT_TRUE(result);
            EXPECT_TRUE(FileContents(file) == kNew);
            WriteFile(file, kOld);
        } else {
            EXPECT_FALSE(result);
            EXPECT_TRUE(FileContents(file) == kOld);
            EXPECT_EQ(result.error, std::error_code(ENOSPC, std::generic_category()))
                << "the failing call's reason";
        }
        EXPECT_EQ(folder_.Listing(), std::set<std::string>{"file.txt"});
        EXPECT_TRUE(calls_.open.empty());
        EXPECT_FALSE(calls_.closedTwice);
    }
}

TEST_F(FileStoreFaultTest, OwnerAndModeComeBeforeTheDataAndTheFlushBeforeTheRename) {
    WriteFile(dir_ / "file.txt", kOld);
    ASSERT_TRUE(store_.Replace(PathText("file.txt"), kNew));
    const std::vector<Step> expected = {Step::Create, Step::ChangeOwner, Step::ChangeMode,
                                        Step::Write,  Step::Flush,       Step::Close,
                                        Step::Rename};
    EXPECT_EQ(calls_.steps, expected);
}

TEST_F(FileStoreFaultTest, SetGroupIdSurvivesTheWrite) {
    const fs::path file = dir_ / "file.txt";
    WriteFile(file, kOld);
    ASSERT_EQ(chmod(file.c_str(), 02750), 0);
    ASSERT_TRUE(store_.Replace(PathText("file.txt"), kNew));
    EXPECT_EQ(ModeOf(file), 02750u);
}

TEST_F(FileStoreFaultTest, NoNewFileIsLeftWhenCreatingOneFails) {
    // A new file takes no one's permissions, so there is no ChangeMode step.
    for (const Step step : {Step::Create, Step::Write, Step::Flush, Step::Close, Step::Rename}) {
        SCOPED_TRACE(NameOf(step));
        calls_.Reset();
        calls_.failStep = step;
        EXPECT_FALSE(store_.Replace(PathText("new.txt"), kNew));
        EXPECT_TRUE(folder_.Listing().empty());
    }
}

TEST_F(FileStoreFaultTest, InterruptedAndPartialWritesAreCarriedOn) {
    calls_.interruptions = 3;
    calls_.maxWrite = 7;
    ASSERT_TRUE(store_.Replace(PathText("file.txt"), kOld));
    EXPECT_EQ(FileContents(dir_ / "file.txt"), kOld);
}

TEST_F(FileStoreFaultTest, AWriteThatMakesNoProgressFails) {
    WriteFile(dir_ / "file.txt", kOld);
    calls_.maxWrite = 0;
    const FileResult result = store_.Replace(PathText("file.txt"), kNew);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error, std::error_code(EIO, std::generic_category()));
    EXPECT_EQ(FileContents(dir_ / "file.txt"), kOld);
}

TEST_F(FileStoreFaultTest, ATemporaryFileThatCannotBeRemovedLeavesTheOldFile) {
    WriteFile(dir_ / "file.txt", kOld);
    // The rename fails, and so does the clean-up after it.
    struct : FaultyCalls {
        int Remove(const char*) override {
            errno = EACCES;
            return -1;
        }
    } stubborn;
    stubborn.failStep = Step::Rename;
    PosixFileStore store(stubborn);
    const FileResult result = store.Replace(PathText("file.txt"), kNew);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error, std::error_code(ENOSPC, std::generic_category()))
        << "the rename's reason, not the clean-up's";
    EXPECT_EQ(FileContents(dir_ / "file.txt"), kOld);
}

// --- Each writer of the user's files, told of the failure ---

class WriterFaultTest : public FolderTest, public ::testing::WithParamInterface<Step> {
  protected:
    void SetUp() override {
        FolderTest::SetUp();
        calls_.error = EIO;
    }
    void ExpectOneMessage(const Text& title, const fs::path& file) {
        ASSERT_EQ(platform.messages.shown.size(), 1u);
        const testing::ShownMessage& shown = platform.messages.shown[0];
        EXPECT_EQ(shown.title, title);
        const std::string text = ToUtf8(shown.text);
        EXPECT_NE(text.find(file.string()), std::string::npos) << text;
        EXPECT_NE(text.find(std::strerror(EIO)), std::string::npos) << text;
    }

    testing::TestPlatform platform;
    RegFileStore settings_{store_, PathText("User.reg")};
    App app{platform.ports(store_, settings_)};
};

TEST_P(WriterFaultTest, SignatureFile) {
    const fs::path file = dir_ / "signature.txt";
    WriteFile(file, kOld);
    app.form.chkFile.Value = 1;
    app.SignatureFilePath = FromUtf8(file.string());
    app.SignatureText = testing::Lines({U"Jo Bloggs"});
    calls_.failStep = GetParam();
    WriteSignatureFile(app);
    ExpectOneMessage(U"Signature File", file);
    EXPECT_EQ(FileContents(file), kOld);
    EXPECT_EQ(folder_.Listing(), std::set<std::string>{"signature.txt"});
}

TEST_P(WriterFaultTest, VariableTextFile) {
    const fs::path file = dir_ / "Variable.txt";
    WriteFile(file, "\"First\"\r\n\"Second\"\r\n");
    app.VariableFilePath = FromUtf8(file.string());
    LoadVariableFile(app);
    ASSERT_EQ(app.vars.EntryCount, 2);
    const std::string old = FileContents(file);
    app.vars.Entries[3] = U"Third";
    app.vars.EntryCount = 3;
    calls_.failStep = GetParam();
    EXPECT_FALSE(SaveVariableFile(app));
    ExpectOneMessage(U"Variable Text", file);
    EXPECT_EQ(FileContents(file), old);
    EXPECT_EQ(app.vars.EntryCount, 3) << "the entries stay in memory";
    EXPECT_EQ(folder_.Listing(), std::set<std::string>{"Variable.txt"});
}

TEST_P(WriterFaultTest, FixedTextFile) {
    const fs::path file = dir_ / "Fixed.fxt";
    WriteFile(file, "\"Jo Bloggs\"\r\n");
    app.AppPath = FromUtf8(dir_.string() + "/");
    LoadFixedText(app, Text());  // a file is replaced only after it was read
    app.form.txtFixed.Text = U"Jo Bloggs\r\n1 High Street";
    calls_.failStep = GetParam();
    EXPECT_FALSE(SaveFixedText(app));
    ExpectOneMessage(U"Fixed Text", file);
    EXPECT_EQ(FileContents(file), "\"Jo Bloggs\"\r\n");
    EXPECT_EQ(app.form.txtFixed.Text.get(), U"Jo Bloggs\r\n1 High Street");
    EXPECT_EQ(folder_.Listing(), std::set<std::string>{"Fixed.fxt"});
}

TEST_P(WriterFaultTest, SettingsFile) {
    ASSERT_TRUE(SetStringValue(app, Text(SettingsKey), U"Indent", U"3"));
    const fs::path file = dir_ / "User.reg";
    const std::string old = FileContents(file);
    calls_.failStep = GetParam();
    EXPECT_FALSE(SetStringValue(app, Text(SettingsKey), U"Indent", U"5"));
    ExpectOneMessage(Text(), file);
    EXPECT_EQ(FileContents(file), old);
    calls_.failStep.reset();
    EXPECT_EQ(QueryStringValue(app, Text(SettingsKey), U"Indent", U""), U"3");
    EXPECT_EQ(folder_.Listing(), (std::set<std::string>{"User.reg", "User.reg.lock"}));
}

INSTANTIATE_TEST_SUITE_P(EachStep, WriterFaultTest,
                         ::testing::Values(Step::Create, Step::Write, Step::Flush, Step::ChangeMode,
                                           Step::Close, Step::Rename),
                         StepName);

}  // namespace
}  // namespace velmo

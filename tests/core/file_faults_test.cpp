// Every call of replacing a file made to fail in turn, through the file store
// and through each writer of the user's files: the old file must be left
// exactly as it was, nothing stray may stay beside it, and the user is told.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
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

// The real calls, with one of them made to fail: the `failAt`-th call of
// all, or every call of one step. Records the steps it was asked for and the
// descriptors it opened, to find one closed twice or never.
class FaultyCalls : public PosixFileCalls {
    using P = PosixFileCalls;

  public:
    int Create(const char* path, mode_t mode) override {
        const int fd = Call(Step::Create, &P::Create, path, mode);
        if (fd >= 0)
            open.insert(fd);
        return fd;
    }
    ssize_t Write(int fd, const void* data, size_t size) override {
        return Call(Step::Write, &P::Write, fd, data, std::min(size, maxWrite));
    }
    int Flush(int fd) override { return Call(Step::Flush, &P::Flush, fd); }
    int ChangeOwner(int fd, uid_t owner, gid_t group) override {
        return Call(Step::ChangeOwner, &P::ChangeOwner, fd, owner, group);
    }
    int ChangeMode(int fd, mode_t mode) override {
        return Call(Step::ChangeMode, &P::ChangeMode, fd, mode);
    }
    int Close(int fd) override {
        closedTwice |= open.erase(fd) == 0;
        return Call(Step::Close, &P::Close, fd);
    }
    int Rename(const char* from, const char* to) override {
        return Call(Step::Rename, &P::Rename, from, to);
    }
    int Remove(const char* path) override {
        if (removeFails)
            errno = EACCES;
        return removeFails ? -1 : Call(Step::Remove, &P::Remove, path);
    }

    std::optional<Step> failStep;  // every call of this step fails
    int failAt = 0;                // or only this call of all (counting from 1)
    int error = ENOSPC;
    size_t maxWrite = SIZE_MAX;
    bool removeFails = false;  // the clean-up fails too, for another reason
    std::vector<Step> steps;
    std::optional<Step> failed;  // the step that was made to fail
    std::set<int> open;
    bool closedTwice = false;

  private:
    // A call that succeeds leaves a stale errno, so that a reason read after
    // a later call instead of the failing one shows up as the wrong one; a
    // name already taken leaves EEXIST behind, as a real open after it does.
    // A failing close still releases the descriptor, as on Linux.
    template <typename R, typename... Params, typename... Args>
    R Call(Step step, R (P::*real)(Params...), Args... args) {
        steps.push_back(step);
        if (failStep == step || failAt == static_cast<int>(steps.size())) {
            if (step == Step::Close)
                (System().*real)(args...);
            failed = step;
            errno = error;
            return -1;
        }
        const R result = (System().*real)(args...);
        if (result >= 0 && error != EEXIST)
            errno = EDOM;
        return result;
    }
};

const std::string kOld = "old contents \xC3\xA9\r\n\"kept\"\r\n";
const std::string kNew(100000, 'n');

class FileStoreFaultTest : public ::testing::Test {
  protected:
    Text PathText(const std::string& name) const { return FromUtf8((dir_ / name).string()); }

    const testing::TempFolder folder_{"velmo-faults"};
    const fs::path dir_ = folder_.path();
    FaultyCalls calls_;
    PosixFileStore store_{calls_};
};

// Each call in turn fails once: every run leaves the old file or the whole
// new one, with its permissions, and gives the failing call's reason. An
// interrupted call is made again, or, a close after the flush, lost nothing.
TEST_F(FileStoreFaultTest, EveryCallFailingInTurnLeavesTheOldOrTheNewFile) {
    using enum Step;
    const std::vector<Step> plain = {Create, ChangeOwner, ChangeMode, Write, Flush, Close, Rename};
    const struct {
        std::optional<mode_t> mode;  // of the file there before; none: no file
        int error;
        std::set<Step> goesOn;    // after whose failure the new file is in place
        std::vector<Step> steps;  // of a run that goes through, repeats left out
    } rows[] = {
        // Owner and mode before the data, the flush before the rename. Only
        // root may give a file away; not being able to is no failure.
        {0640, ENOSPC, {ChangeOwner}, plain},
        // Writing clears the set-group-ID bit: it is given back before the flush.
        {02750,
         ENOSPC,
         {ChangeOwner},
         {Create, ChangeOwner, ChangeMode, Write, ChangeMode, Flush, Close, Rename}},
        // A new file takes no one's owner or permissions.
        {std::nullopt, ENOSPC, {}, {Create, Write, Flush, Close, Rename}},
        // A temporary name already taken: another is tried, and only one kept.
        {0640, EEXIST, {Create, ChangeOwner}, plain},
        {0640, EINTR, {Create, ChangeOwner, Write, Flush, Close}, plain},
    };
    const fs::path file = dir_ / "file.txt";
    for (const auto& row : rows) {
        std::set<Step> failed;
        for (int call = 1; call < 1000; ++call) {
            SCOPED_TRACE("mode " + std::to_string(row.mode.value_or(0)) + ", error " +
                         std::to_string(row.error) + ", call " + std::to_string(call));
            fs::remove(file);
            if (row.mode) {
                WriteFile(file, kOld);
                ASSERT_EQ(chmod(file.c_str(), *row.mode), 0);
            }
            calls_ = FaultyCalls();
            calls_.maxWrite = 4096;  // a failure can also come halfway through the data
            calls_.failAt = call;
            calls_.error = row.error;
            const FileResult result = store_.Replace(PathText("file.txt"), kNew);
            EXPECT_TRUE(calls_.open.empty()) << "the temporary file was closed";
            EXPECT_FALSE(calls_.closedTwice);
            const bool goes = !calls_.failed || row.goesOn.contains(*calls_.failed);
            EXPECT_EQ(result.error, goes ? std::error_code()
                                         : std::error_code(row.error, std::generic_category()));
            EXPECT_TRUE(FileContents(file) == (goes ? kNew : row.mode ? kOld : ""));
            if (row.mode) {
                struct stat info {};
                EXPECT_EQ(stat(file.c_str(), &info), 0);
                EXPECT_EQ(info.st_mode & 07777, *row.mode);
            }
            EXPECT_EQ(folder_.Listing().size(), row.mode || goes ? 1u : 0u);
            if (!calls_.failed) {
                // Every call has had its turn; this run went through.
                calls_.steps.erase(std::unique(calls_.steps.begin(), calls_.steps.end()),
                                   calls_.steps.end());
                EXPECT_EQ(calls_.steps, row.steps);
                EXPECT_GT(call, 25) << "a write in pieces";
                break;
            }
            failed.insert(*calls_.failed);
        }
        EXPECT_EQ(failed, std::set<Step>(row.steps.begin(), row.steps.end()));
    }
}

// A write that makes no progress fails rather than loop; a clean-up that
// fails too keeps the first reason.
TEST_F(FileStoreFaultTest, NoProgressAndAFailedCleanUp) {
    for (const bool noProgress : {true, false}) {
        WriteFile(dir_ / "file.txt", kOld);
        calls_ = FaultyCalls();
        calls_.maxWrite = noProgress ? 0 : SIZE_MAX;
        calls_.failStep = noProgress ? std::nullopt : std::optional(Step::Rename);
        calls_.removeFails = !noProgress;
        const FileResult result = store_.Replace(PathText("file.txt"), kNew);
        EXPECT_EQ(result.error.value(), noProgress ? EIO : ENOSPC) << result.Message();
        EXPECT_EQ(FileContents(dir_ / "file.txt"), kOld);
    }
}

// Each writer of the user's files, through the one write path. `prepare`
// reads the file, as a file is replaced only after it was read, and changes
// what is to be written; `save` is false when the writer says it failed.
struct Writer {
    const char* file;
    Text title;  // of the message that tells of the failure
    std::function<void(App&, const fs::path& folder)> prepare;
    std::function<bool(App&)> save;
};

const Writer kWriters[] = {
    {"signature.txt", U"Signature File",
     [](App& app, const fs::path& folder) {
         WriteFile(folder / "signature.txt", kOld);
         app.form.chkFile.Value = 1;
         app.SignatureFilePath = FromUtf8((folder / "signature.txt").string());
         app.SignatureText = U"Jo Bloggs";
     },
     [](App& app) {
         WriteSignatureFile(app);
         return false;
     }},
    {"Variable.txt", U"Variable Text",
     [](App& app, const fs::path& folder) {
         WriteFile(folder / "Variable.txt", "\"First\"\r\n");
         app.VariableFilePath = FromUtf8((folder / "Variable.txt").string());
         LoadVariableFile(app);
         app.vars.Entries[2] = U"Second";
         app.vars.EntryCount = 2;
     },
     SaveVariableFile},
    {"Fixed.fxt", U"Fixed Text",
     [](App& app, const fs::path& folder) {
         WriteFile(folder / "Fixed.fxt", "\"Jo Bloggs\"\r\n");
         app.AppPath = FromUtf8(folder.string() + "/");
         LoadFixedText(app, Text());
         app.form.txtFixed.Text = U"Jo Bloggs\r\n1 High Street";
     },
     SaveFixedText},
    {"User.reg", Text(),
     [](App& app, const fs::path&) { SetStringValue(app, Text(SettingsKey), U"Indent", U"3"); },
     [](App& app) { return SetStringValue(app, Text(SettingsKey), U"Indent", U"5"); }},
};

class WriterFaultTest : public FileStoreFaultTest, public ::testing::WithParamInterface<Writer> {
  protected:
    testing::TestPlatform platform;
    RegFileStore settings_{store_, PathText("User.reg")};
    App app{platform.ports(store_, settings_)};
};

// The old file stays, nothing stray beside it, and the user is told why and of which file.
TEST_P(WriterFaultTest, OldFileStaysAndTheUserIsToldWhyAndOfWhichFile) {
    const fs::path file = dir_ / GetParam().file;
    GetParam().prepare(app, dir_);
    const std::string old = FileContents(file);
    const std::set<std::string> listing = folder_.Listing();
    calls_.failStep = Step::Rename;
    calls_.error = EIO;
    EXPECT_FALSE(GetParam().save(app));
    ASSERT_EQ(platform.messages.shown.size(), 1u);
    EXPECT_EQ(platform.messages.shown[0].title, GetParam().title);
    const std::string text = ToUtf8(platform.messages.shown[0].text);
    EXPECT_NE(text.find(file.string()), std::string::npos) << text;
    EXPECT_NE(text.find(std::strerror(EIO)), std::string::npos) << text;
    EXPECT_EQ(FileContents(file), old);
    EXPECT_EQ(folder_.Listing(), listing);
}

INSTANTIATE_TEST_SUITE_P(EachWriter, WriterFaultTest, ::testing::ValuesIn(kWriters),
                         [](const auto& each) { return std::to_string(each.index); });

}  // namespace
}  // namespace velmo

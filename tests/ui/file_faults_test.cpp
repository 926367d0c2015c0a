#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/posix_file_store.h"
#include "platform/reg_file_store.h"
#include "support/fakes.h"
#include "support/fault_calls.h"
#include "support/temp_folder.h"
#include "support/text_helpers.h"
#include "ui/app.h"
#include "ui/fixed_text.h"
#include "ui/quote_list_file.h"
#include "ui/settings.h"
#include "ui/signature_file.h"

namespace velmo {
namespace {

namespace fs = std::filesystem;
using testing::FileContents;
using testing::WriteFile;

enum class Step {
    Create,
    Write,
    Flush,
    ChangeOwner,
    SetAttribute,
    ChangeMode,
    Close,
    Rename,
    Remove
};

class FaultyCalls : public testing::FaultyCalls<PosixFileCalls, Step, int> {
    using P = PosixFileCalls;

  public:
    int Create(const char* path, mode_t mode) override {
        return Call(Step::Create, -1, &P::Create, path, mode);
    }
    ssize_t Write(int fd, const void* data, size_t size) override {
        return Call(Step::Write, -1, &P::Write, fd, data, std::min(size, maxWrite));
    }
    int Flush(int fd) override { return Call(Step::Flush, -1, &P::Flush, fd); }
    int ChangeOwner(int fd, uid_t owner, gid_t group) override {
        return Call(Step::ChangeOwner, -1, &P::ChangeOwner, fd, owner, group);
    }
    int ChangeMode(int fd, mode_t mode) override {
        return Call(Step::ChangeMode, -1, &P::ChangeMode, fd, mode);
    }
    int SetAttribute(int fd, const char* name, const void* value, size_t size) override {
        return Call(Step::SetAttribute, -1, &P::SetAttribute, fd, name, value, size);
    }
    int Close(int fd) override { return Call(Step::Close, -1, &P::Close, fd); }
    int Rename(const char* from, const char* to) override {
        return Call(Step::Rename, -1, &P::Rename, from, to);
    }
    int Remove(const char* path) override {
        if (removeFails)
            errno = EACCES;
        return removeFails ? -1 : Call(Step::Remove, -1, &P::Remove, path);
    }

    int error = ENOSPC;
    size_t maxWrite = SIZE_MAX;

  private:
    void Fail() override { errno = error; }
    // A name already taken leaves EEXIST behind, as a real open after it does.
    void Succeed() override { errno = error == EEXIST ? errno : EDOM; }
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
        std::set<Step> goesOn;            // after whose failure the new file is in place
        std::vector<Step> steps;          // of a run that goes through, repeats left out
        const char* attribute = nullptr;  // an extended attribute of the old file
    } rows[] = {
        // Owner and mode before the data, the flush before the rename. Only
        // root may give a file away; not being able to is no failure.
        {0640, ENOSPC, {ChangeOwner}, plain},
        // Writing clears the set-group-ID bit: it is given back before the flush.
        {02750,
         ENOSPC,
         {ChangeOwner},
         {Create, ChangeOwner, ChangeMode, Write, ChangeMode, Flush, Close, Rename}},
        // Its extended attributes before the mode, which sets an ACL's mask.
        {0640,
         ENOSPC,
         {ChangeOwner},
         {Create, ChangeOwner, SetAttribute, ChangeMode, Write, Flush, Close, Rename},
         "user.velmo"},
        // A new file takes no one's owner or permissions.
        {std::nullopt, ENOSPC, {}, {Create, Write, Flush, Close, Rename}},
        // A temporary name already taken: another is tried, and only one kept.
        {0640, EEXIST, {Create, ChangeOwner}, plain},
        {0640, EINTR, {Create, ChangeOwner, Write, Flush, Close}, plain},
    };
    const fs::path file = dir_ / "file.txt";
    WriteFile(file, "");
    const bool attributes = setxattr(file.c_str(), "user.velmo", "", 0, 0) == 0;
    for (const auto& row : rows) {
        if (row.attribute && !attributes)
            continue;
        SCOPED_TRACE("mode " + std::to_string(row.mode.value_or(0)) + ", error " +
                     std::to_string(row.error));
        testing::FailEachCallInTurn(calls_, row.steps, [&] {
            fs::remove(file);
            if (row.mode) {
                WriteFile(file, kOld);
                ASSERT_EQ(chmod(file.c_str(), *row.mode), 0);
            }
            if (row.attribute) {
                ASSERT_EQ(setxattr(file.c_str(), row.attribute, "kept", 4, 0), 0);
            }
            calls_.error = row.error;
            const FileResult result = store_.Replace(PathText("file.txt"), kNew);
            const bool goes = !calls_.failed || row.goesOn.contains(*calls_.failed);
            EXPECT_EQ(result.error, goes ? std::error_code()
                                         : std::error_code(row.error, std::generic_category()));
            EXPECT_TRUE(FileContents(file) == (goes ? kNew : row.mode ? kOld : ""));
            if (row.mode) {
                EXPECT_EQ(fs::status(file).permissions(), fs::perms(*row.mode));
            }
            if (row.attribute) {
                char kept[8] = {};
                EXPECT_EQ(getxattr(file.c_str(), row.attribute, kept, sizeof kept), 4);
            }
            EXPECT_EQ(folder_.Listing().size(), row.mode || goes ? 1u : 0u);
        });
    }
}

// A write that makes no progress fails rather than loop, and a clean-up that
// fails too keeps the first reason.
TEST_F(FileStoreFaultTest, NoProgressAndAFailedCleanUp) {
    WriteFile(dir_ / "file.txt", kOld);
    calls_.maxWrite = 0;
    calls_.removeFails = true;
    EXPECT_EQ(store_.Replace(PathText("file.txt"), kNew).error.value(), EIO);
    EXPECT_EQ(FileContents(dir_ / "file.txt"), kOld);
}

// Each writer of the user's files, through the one write path, after it read
// its file, as a file is replaced only after it was read: the old files stay,
// nothing stray beside them, and the user is told why and of which file.
TEST_F(FileStoreFaultTest, EachWriterKeepsTheOldFileAndSaysWhyOfWhichFile) {
    testing::TestPlatform platform;
    RegFileStore settings{store_, PathText("User.reg")};
    App app{platform.ports(store_, settings)};
    WriteFile(dir_ / "signature.txt", kOld);
    WriteFile(dir_ / "Variable.txt", "\"First\"\r\n");
    WriteFile(dir_ / "Fixed.fxt", "\"Jo Bloggs\"\r\n");
    SetStringValues(app, Text(SettingsKey), {{U"Indent", U"3"}});
    ASSERT_TRUE(platform.messages.shown.empty());
    app.form.chkSignatureFile.Value = Check::On;
    app.session.signaturePath = PathText("signature.txt");
    app.session.quoteListPath = PathText("Variable.txt");
    LoadQuoteList(app);
    app.session.quoteList.Entries[2] = U"Second";
    app.session.quoteList.EntryCount = 2;
    app.session.dataFolder = FromUtf8(dir_.string() + "/");
    LoadFixedText(app, Text());
    app.form.txtFixedText.Text = U"Jo Bloggs\r\n1 High Street";
    const auto files = [&] {
        std::map<std::string, std::string> found;
        for (const std::string& name : folder_.Listing())
            found[name] = FileContents(dir_ / name);
        return found;
    };
    const auto before = files();
    calls_.failStep = Step::Rename;
    calls_.error = EIO;
    WriteSignatureFile(app);
    EXPECT_FALSE(SaveQuoteList(app));
    EXPECT_FALSE(SaveFixedText(app));
    SetStringValues(app, Text(SettingsKey), {{U"Indent", U"5"}});
    EXPECT_EQ(files(), before);
    // The title of each message, and the file it tells of.
    const std::pair<Text, const char*> told[] = {{U"Signature File", "signature.txt"},
                                                 {U"Variable Text", "Variable.txt"},
                                                 {U"Fixed Text", "Fixed.fxt"},
                                                 {Text(), "User.reg"}};
    ASSERT_EQ(platform.messages.shown.size(), std::size(told));
    for (size_t i = 0; i < std::size(told); ++i) {
        EXPECT_EQ(platform.messages.shown[i].title, told[i].first);
        const std::string text = ToUtf8(platform.messages.shown[i].text);
        EXPECT_NE(text.find((dir_ / told[i].second).string()), std::string::npos) << text;
        EXPECT_NE(text.find(std::strerror(EIO)), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace velmo

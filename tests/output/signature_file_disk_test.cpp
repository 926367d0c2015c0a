#include "ui/signature_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <initializer_list>
#include <set>
#include <string>

#include "platform/posix_file_store.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "support/text_helpers.h"
#include "ui/app.h"

namespace velmo {
namespace {

namespace fs = std::filesystem;
using testing::FileContents;
using testing::Lines;

// The same writer against real files.
class SignatureFileOnDiskTest : public ::testing::Test {
  protected:
    void SetUp() override {
        app.form.chkFile.Value = 1;
        app.SignatureText = Lines({U"Jo Bloggs", U"Caf\u00e9"});
    }

    void WriteTo(const fs::path& path) {
        app.SignatureFilePath = FromUtf8(path.string());
        WriteSignatureFile(app);
    }

    void ExpectOneMessageNaming(const fs::path& path) {
        ASSERT_EQ(platform.messages.shown.size(), 1u);
        const testing::ShownMessage& shown = platform.messages.shown[0];
        EXPECT_EQ(shown.style, 48);
        EXPECT_EQ(shown.title, U"Signature File");
        EXPECT_NE(shown.text.find(FromUtf8(path.string())), Text::npos) << ToUtf8(shown.text);
    }

    static constexpr const char* kSig = "sig.txt";
    // LF line ends, as mail programs on POSIX read them.
    const std::string kExpected = "Jo Bloggs\nCaf\xC3\xA9\n\n";

    testing::TestPlatform platform;
    PosixFileStore store;
    App app{platform.ports(store)};
    const testing::TempFolder folder_{"velmo-out"};
    const fs::path dir_ = folder_.path();
};

TEST_F(SignatureFileOnDiskTest, ReplacesTheWholeFile) {
    const fs::path file = dir_ / kSig;
    testing::WriteFile(file, std::string(500, 'x'));
    WriteTo(file);
    EXPECT_EQ(FileContents(file), kExpected);
    EXPECT_EQ(folder_.Listing(), std::set<std::string>{kSig});
    EXPECT_TRUE(platform.messages.shown.empty());
}

TEST_F(SignatureFileOnDiskTest, PlainTextFileIsUtf8) {
    const fs::path file = dir_ / kSig;
    app.SignatureText = Lines({U"Caf\u00e9 \u20ac5", U"\u03a9\u03bc\u03ad\u03b3\u03b1 \U0001F600"});
    WriteTo(file);
    EXPECT_EQ(FileContents(file),
              "Caf\xC3\xA9 \xE2\x82\xAC"
              "5\n"
              "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 \xF0\x9F\x98\x80\n\n");
}

TEST_F(SignatureFileOnDiskTest, FolderInThePlaceOfTheFileIsReported) {
    const fs::path folder = dir_ / kSig;
    fs::create_directory(folder);
    testing::WriteFile(folder / "inside.txt", "kept");
    WriteTo(folder);
    WriteTo(folder);
    ExpectOneMessageNaming(folder);
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(FileContents(folder / "inside.txt"), "kept");
    EXPECT_EQ(folder_.Listing(), (std::set<std::string>{kSig, std::string(kSig) + "/inside.txt"}));
}

TEST_F(SignatureFileOnDiskTest, MissingFolderIsReportedAndNotCreated) {
    const fs::path file = dir_ / "missing" / kSig;
    WriteTo(file);
    ExpectOneMessageNaming(file);
    EXPECT_NE(platform.messages.shown[0].text.find(U"No such file or directory"), Text::npos);
    EXPECT_TRUE(folder_.Listing().empty());
}

TEST_F(SignatureFileOnDiskTest, SymbolicLinkStaysALinkAndItsTargetIsReplaced) {
    const fs::path target = dir_ / "real-signature.txt";
    const fs::path link = dir_ / kSig;
    testing::WriteFile(target, "old contents, longer than the new ones\r\n");
    fs::create_symlink("real-signature.txt", link);
    WriteTo(link);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link), "real-signature.txt");
    EXPECT_EQ(FileContents(target), kExpected);
    EXPECT_EQ(folder_.Listing(), (std::set<std::string>{kSig, "real-signature.txt"}));
    EXPECT_TRUE(platform.messages.shown.empty());
}

TEST_F(SignatureFileOnDiskTest, ReadOnlyFileIsReportedAndKept) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root may write any file";
    const fs::path file = dir_ / kSig;
    testing::WriteFile(file, "old");
    fs::permissions(file, fs::perms::owner_read);
    WriteTo(file);
    ExpectOneMessageNaming(file);
    EXPECT_EQ(FileContents(file), "old");
}

}  // namespace
}  // namespace velmo

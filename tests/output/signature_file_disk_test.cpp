#include "ui/signature_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/posix_file_store.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "support/text_helpers.h"
#include "ui/app.h"

namespace velmo {
namespace {

// The writer on real files: through a link, over a longer file, in UTF-8
// with LF line ends as mail programs on POSIX read them; nothing is told and
// no temporary file stays.
TEST(SignatureFileOnDiskTest, ReplacesTheFileALinkLeadsTo) {
    testing::TestPlatform platform;
    PosixFileStore store;
    App app{platform.ports(store)};
    const testing::TempFolder folder{"velmo-out"};
    testing::WriteFile(folder / "real.txt", std::string(500, 'x'));
    std::filesystem::create_symlink("real.txt", folder / "sig.txt");
    app.form.chkFile.Value = 1;
    app.SignatureText = testing::Lines({U"Jo Bloggs", U"Caf\u00e9 \U0001F600"});
    app.SignatureFilePath = testing::PathText(folder / "sig.txt");
    WriteSignatureFile(app);
    EXPECT_EQ(testing::FileContents(folder / "real.txt"),
              "Jo Bloggs\nCaf\xC3\xA9 \xF0\x9F\x98\x80\n\n");
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "sig.txt"));
    EXPECT_EQ(folder.Listing(), (std::set<std::string>{"real.txt", "sig.txt"}));
    EXPECT_TRUE(platform.messages.shown.empty());
}

}  // namespace
}  // namespace velmo

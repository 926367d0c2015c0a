#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "platform/windows_file_store.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "support/text_helpers.h"
#include "ui/app.h"
#include "ui/signature_file.h"

namespace velmo {
namespace {

namespace fs = std::filesystem;
using testing::Lines;

// The plain-text signature on a real Windows file.
class SignatureFileAnsiTest : public ::testing::Test {
  protected:
    void SetUp() override {
        app.form.chkFile.Value = 1;
        app.SignatureFilePath = testing::PathText(dir_ / "sig.txt");
    }
    std::string Contents() const { return testing::FileContents(dir_ / "sig.txt"); }

    testing::TestPlatform platform;
    WindowsFileStore store;
    App app{platform.ports(store)};
    const testing::TempFolder folder_{"velmo-ansi"};
    const fs::path dir_ = folder_.path();
};

TEST_F(SignatureFileAnsiTest, PlainTextFileIsInTheAnsiCodePage) {
    ASSERT_EQ(GetACP(), 1252u) << "the bytes below are those of code page 1252";
    app.SignatureText = Lines({U"Caf\u00e9 \u20ac5", U"\u201Cquoted\u201D \u2013 \u2122"});
    WriteSignatureFile(app);
    EXPECT_EQ(Contents(),
              "Caf\xE9 \x80"
              "5\r\n"
              "\x93quoted\x94 \x96 \x99\r\n\r\n");
    EXPECT_TRUE(platform.messages.shown.empty());
}

}  // namespace
}  // namespace velmo

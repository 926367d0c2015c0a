#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>

#include "domain/paths.h"
#include "platform/file_text.h"
#include "platform/windows_file_store.h"
#include "platform/windows_platform.h"
#include "support/fakes.h"
#include "support/temp_folder.h"
#include "support/text_helpers.h"
#include "ui/app.h"
#include "ui/output_selection.h"
#include "ui/startup.h"
#include "ui/variable_file.h"

namespace velmo {
namespace {

namespace fs = std::filesystem;
using testing::FileContents;

// Text files: the ANSI code page, or UTF-8 behind a byte-order mark.

TEST(WindowsFileTextTest, AnsiCodePageBytesBothWays) {
    ASSERT_EQ(GetACP(), 1252u) << "the bytes below are those of code page 1252";
    EXPECT_EQ(EncodeFileText(U"é"), "\xE9");
    EXPECT_EQ(EncodeFileText(U"€"), "\x80");
    EXPECT_EQ(EncodeFileText(U"\"Café\", 5 €\r\n"),
              "\"Caf\xE9\", 5 \x80"
              "\r\n");
    EXPECT_EQ(DecodeFileText("\xE9"), U"é");
    EXPECT_EQ(DecodeFileText("\x80"), U"€");
    EXPECT_EQ(DecodeFileText("\x93quoted\x94 \x96 \x99"), U"\u201Cquoted\u201D \u2013 \u2122");
    EXPECT_EQ(EncodeFileText(U""), "");
    EXPECT_EQ(DecodeFileText(""), U"");
    for (const Text& text : {Text(U"Grüße aus Köln — «€»\r\n"), Text(U"ÀÿŒœŠš™")})
        EXPECT_EQ(DecodeFileText(EncodeFileText(text)), text) << ToUtf8(text);
}

TEST(WindowsFileTextTest, Utf8ReadsAsUtf8OnlyBehindAByteOrderMark) {
    EXPECT_EQ(DecodeFileText("\xEF\xBB\xBF"
                             "Caf\xC3\xA9 \xE2\x82\xAC 5 \xCE\xA9"),
              U"Café € 5 Ω");
    EXPECT_EQ(DecodeFileText("\xEF\xBB\xBF"), U"");
    // Without the mark the same bytes are ANSI text.
    EXPECT_EQ(DecodeFileText("Caf\xC3\xA9"), U"Caf\u00C3\u00A9");
}

// A fresh folder of its own for each test.
class WindowsFileStoreTest : public ::testing::Test {
  protected:
    Text PathOf(const fs::path& name) const { return testing::PathText(dir_ / name); }

    WindowsFileStore store;
    const testing::TempFolder folder_{"velmo-store"};
    const fs::path dir_ = folder_.path();
};

TEST_F(WindowsFileStoreTest, ReplaceCreatesAndReplacesLeavingNoTemporaryFile) {
    const fs::path file = dir_ / "Variable.txt";
    EXPECT_FALSE(store.Exists(PathOf("Variable.txt")));
    ASSERT_TRUE(store.Replace(PathOf("Variable.txt"), "\"first, and longer\"\r\n"));
    EXPECT_EQ(FileContents(file), "\"first, and longer\"\r\n");
    EXPECT_TRUE(store.Exists(PathOf("Variable.txt")));

    ASSERT_TRUE(store.Replace(PathOf("Variable.txt"), "\"second\"\r\n"));
    EXPECT_EQ(FileContents(file), "\"second\"\r\n");
    EXPECT_EQ(folder_.Listing(), std::set<std::string>{"Variable.txt"});

    FileResult result{std::make_error_code(std::errc::io_error)};
    EXPECT_EQ(store.Read(PathOf("Variable.txt"), result), "\"second\"\r\n");
    EXPECT_TRUE(result);

    // An empty file and bytes of every value.
    ASSERT_TRUE(store.Replace(PathOf("Variable.txt"), ""));
    EXPECT_EQ(FileContents(file), "");
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    ASSERT_TRUE(store.Replace(PathOf("Variable.txt"), all));
    EXPECT_EQ(FileContents(file), all);
    EXPECT_EQ(folder_.Listing(), std::set<std::string>{"Variable.txt"});
}

TEST_F(WindowsFileStoreTest, NamesBeyondTheAnsiCodePageWork) {
    const fs::path name = fs::path(L"\u03A9\u65E5 \u00E9.txt");
    ASSERT_TRUE(store.Replace(PathOf(name), "x"));
    EXPECT_TRUE(fs::exists(dir_ / name));
    FileResult result;
    EXPECT_EQ(store.Read(PathOf(name), result), "x");
}

TEST_F(WindowsFileStoreTest, ReadOfAMissingFileGivesTheReason) {
    FileResult result;
    EXPECT_FALSE(store.Read(PathOf("absent.txt"), result).has_value());
    ASSERT_FALSE(result);
    EXPECT_FALSE(result.Message().empty());
}

TEST_F(WindowsFileStoreTest, ReadOnlyFileIsRefusedWithAReasonAndKept) {
    const fs::path file = dir_ / "sig.txt";
    std::ofstream(file, std::ios::binary) << "old";
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    const FileResult result = store.Replace(PathOf("sig.txt"), "new");
    ASSERT_FALSE(result);
    EXPECT_FALSE(result.Message().empty());
    EXPECT_EQ(result.Message().find('\n'), std::string::npos) << result.Message();
    EXPECT_EQ(FileContents(file), "old");
    EXPECT_NE(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(folder_.Listing(), std::set<std::string>{"sig.txt"});
}

TEST_F(WindowsFileStoreTest, FileHeldOpenElsewhereIsRefusedAndKept) {
    const fs::path file = dir_ / "sig.txt";
    std::ofstream(file, std::ios::binary) << "old";
    // As a mail program might hold it: no sharing at all.
    const HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const FileResult result = store.Replace(PathOf("sig.txt"), "new");
    CloseHandle(held);
    ASSERT_FALSE(result);
    EXPECT_FALSE(result.Message().empty());
    EXPECT_EQ(FileContents(file), "old");
    EXPECT_EQ(folder_.Listing(), std::set<std::string>{"sig.txt"});
}

TEST_F(WindowsFileStoreTest, FolderAtThePathIsRefusedAndKept) {
    const fs::path folder = dir_ / "sig.txt";
    ASSERT_TRUE(fs::create_directory(folder));
    std::ofstream(folder / "inside.txt") << "kept";
    const FileResult result = store.Replace(PathOf("sig.txt"), "new");
    ASSERT_FALSE(result);
    EXPECT_FALSE(result.Message().empty());
    EXPECT_FALSE(store.Exists(PathOf("sig.txt")));
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(FileContents(folder / "inside.txt"), "kept");
    EXPECT_EQ(folder_.Listing(), (std::set<std::string>{"sig.txt", "sig.txt/inside.txt"}));
}

TEST_F(WindowsFileStoreTest, MissingFolderIsRefusedAndNothingCreated) {
    const FileResult result = store.Replace(PathOf("missing\\sig.txt"), "new");
    ASSERT_FALSE(result);
    EXPECT_FALSE(result.Message().empty());
    EXPECT_TRUE(folder_.Listing().empty());
}

TEST_F(WindowsFileStoreTest, RenameAndMakeFolders) {
    ASSERT_TRUE(store.MakeFolders(PathOf("a\\b\\c")));
    EXPECT_TRUE(fs::is_directory(dir_ / "a" / "b" / "c"));
    EXPECT_TRUE(store.MakeFolders(PathOf("a\\b\\c"))) << "an existing folder is fine";

    ASSERT_TRUE(store.Replace(PathOf("User.reg"), "broken"));
    ASSERT_TRUE(store.Rename(PathOf("User.reg"), PathOf("User.reg.bad")));
    EXPECT_FALSE(store.Exists(PathOf("User.reg")));
    EXPECT_EQ(FileContents(dir_ / "User.reg.bad"), "broken");
    EXPECT_FALSE(store.Rename(PathOf("User.reg"), PathOf("other")));
}

TEST_F(WindowsFileStoreTest, SameFileHoweverItIsSpelt) {
    fs::create_directory(dir_ / "d");
    testing::WriteFile(dir_ / "d" / "file.txt", "x");
    testing::WriteFile(dir_ / "d" / "other.txt", "x");
    const struct {
        const char* a;
        const char* b;
        bool same;
    } rows[] = {
        {"d\\file.txt", "d\\file.txt", true},
        {"d\\.\\FILE.TXT", "d\\..\\d/file.txt", true},
        {"d\\other.txt", "d\\file.txt", false},
        {"d\\new.txt", "d\\file.txt", false},
        // Neither there yet: the same full name, in any case.
        {"d\\new.txt", "D\\.\\NEW.txt", true},
        {"d\\new.txt", "d\\newer.txt", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.a) + " " + row.b);
        EXPECT_EQ(store.SameFile(PathOf(row.a), PathOf(row.b)), row.same);
        EXPECT_EQ(store.SameFile(PathOf(row.b), PathOf(row.a)), row.same);
    }
}

TEST(WindowsProgramTest, DocumentsFolderIsAFullPath) {
    const Text folder = WindowsProgram().DocumentsFolder();
    EXPECT_TRUE(IsRootedPath(folder, PathStyle::Windows)) << ToUtf8(folder);
}

// The path rule: only a path that starts with a drive letter is honoured.

class WindowsPathRuleTest : public ::testing::Test, protected testing::TestApp {
  protected:
    void SetUp() override {
        app.AppPath = U"C:\\Program Files\\Velmo\\";
        files.files[kDefault] = "\"default\"\r\n";
        files.files[U"D:\\Mail\\quotes.txt"] = "\"mine\"\r\n";
    }
    const Text kDefault = U"C:\\Program Files\\Velmo\\Variable.txt";
};

TEST_F(WindowsPathRuleTest, DrivePathsAreHonoured) {
    app.VariableFilePath = U"D:\\Mail\\quotes.txt";
    LoadVariableFile(app);
    EXPECT_EQ(app.VariableFilePath, U"D:\\Mail\\quotes.txt");
    EXPECT_EQ(app.vars.At(1), U"mine");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(WindowsPathRuleTest, NetworkRelativeAndPosixPathsFallBackToTheProgramFolder) {
    files.files[U"\\\\server\\share\\q.txt"] = "\"network\"\r\n";
    files.files[U"quotes.txt"] = "\"relative\"\r\n";
    files.files[U"/home/ann/q.txt"] = "\"posix\"\r\n";
    for (const Text& path : {Text(U"\\\\server\\share\\q.txt"), Text(U"quotes.txt"),
                             Text(U"\\quotes.txt"), Text(U"/home/ann/q.txt"), Text()}) {
        app.VariableFilePath = path;
        LoadVariableFile(app);
        EXPECT_EQ(app.VariableFilePath, kDefault) << ToUtf8(path);
        EXPECT_EQ(app.vars.At(1), U"default") << ToUtf8(path);
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST(WindowsPathTest, ShortenPathUsesTheWindowsFormByDefault) {
    EXPECT_EQ(NativePathStyle(), PathStyle::Windows);
    const Text path =
        U"C:\\Documents and Settings\\Someone\\Application Data\\Mail Client\\signature.txt";
    EXPECT_EQ(ShortenPath(path, 55),
              U"C:\\...\\Someone\\Application Data\\Mail Client\\signature.txt");
    EXPECT_EQ(ShortenPath(U"C:\\mail\\signature.txt", 55), U"C:\\mail\\signature.txt");
}

// The program's own folders.

TEST(WindowsProgramTest, ProgramFolderIsTheFolderOfTheRunningProgram) {
    WindowsProgram program;
    const Text folder = program.ProgramFolder();
    EXPECT_TRUE(IsRootedPath(folder, PathStyle::Windows)) << ToUtf8(folder);
    EXPECT_NE(folder.back(), U'\\');
    WindowsFileStore store;
    EXPECT_TRUE(store.Exists(folder + U"\\core_tests.exe")) << ToUtf8(folder);
}

TEST(WindowsProgramTest, DataFolderEndsInOneBackslash) {
    testing::TestPlatform p;
    WindowsProgram program;
    App app{Ports{p.messages, p.fileDialog, p.clipboard, p.clock, p.random, p.files, p.settings,
                  p.timer, p.instance, p.icon, program, p.browser}};
    const Text folder = ProgramDataFolder(app);
    ASSERT_GE(folder.size(), 2u);
    EXPECT_EQ(folder.back(), U'\\');
    EXPECT_NE(folder[folder.size() - 2], U'\\');
}

TEST(WindowsProgramTest, CanWriteFolderTriesAndLeavesNothing) {
    const fs::path dir =
        fs::temp_directory_path() / ("velmo-probe-" + std::to_string(std::random_device{}()));
    ASSERT_TRUE(fs::create_directory(dir));
    WindowsProgram program;
    EXPECT_TRUE(program.CanWriteFolder(testing::PathText(dir) + U"\\"));
    EXPECT_TRUE(fs::is_empty(dir));
    EXPECT_FALSE(program.CanWriteFolder(testing::PathText(dir / "missing") + U"\\"));
    fs::remove_all(dir);
}

}  // namespace
}  // namespace velmo

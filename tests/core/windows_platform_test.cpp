#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "domain/paths.h"
#include "platform/file_text.h"
#include "platform/windows_file_store.h"
#include "platform/windows_platform.h"
#include "service/signature_files.h"
#include "support/temp_folder.h"
#include "support/text_helpers.h"

namespace velmo {
namespace {

using namespace std::literals;
namespace fs = std::filesystem;
using testing::FileContents;
using testing::PathText;
using testing::WriteFile;

// Text files are in the ANSI code page both ways, unless a byte-order mark
// says UTF-8 or UTF-16 (unpaired surrogates and a last odd byte as U+FFFD).
TEST(WindowsFileTextTest, AnsiCodePageOrAsTheMarkSays) {
    ASSERT_EQ(GetACP(), 1252u) << "the bytes below are those of code page 1252";
    const struct {
        std::string_view bytes;
        TextView text;
        bool written;  // also what the text is written as
    } rows[] = {
        {"", U"", true},
        {"\"Caf\xE9\", 5 \x80\r\n", U"\"Café\", 5 €\r\n", true},
        {"\x93quoted\x94 \x96 \x99", U"\u201Cquoted\u201D \u2013 \u2122", true},
        {"Gr\xFC\xDF"
         "e \x97 \xAB\xBB \xC0\xFF\x8C\x9C\x8A\x9A",
         U"Grüße — «» ÀÿŒœŠš", true},
        {"Caf\xC3\xA9", U"Caf\u00C3\u00A9", true},  // UTF-8 without the mark
        {"\xEF\xBB\xBF"
         "Caf\xC3\xA9 \xE2\x82\xAC \xCE\xA9",
         U"Café € Ω", false},
        {"\xEF\xBB\xBF", U"", false},
        {"\xFF\xFE"
         "C\0\xE9\0=\xD8\0\xDE\0\xDC"
         "a"sv,
         U"Cé\U0001F600\uFFFD\uFFFD", false},
        {"\xFE\xFF\0C\xD8=\xDE\0"sv, U"C\U0001F600", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(DecodeFileText(row.bytes), row.text) << ToUtf8(row.text);
        if (row.written) {
            EXPECT_EQ(EncodeFileText(row.text), row.bytes) << ToUtf8(row.text);
        }
    }
}

class WindowsFileStoreTest : public ::testing::Test {
  protected:
    Text PathOf(const fs::path& name) const { return PathText(dir_ / name); }

    WindowsFileStore store;
    const testing::TempFolder folder_{"velmo-store"};
    const fs::path dir_ = folder_.path();
};

// Whole contents replaced, every byte value, names beyond the ANSI code
// page; each read gives back what was written, and no temporary file stays.
TEST_F(WindowsFileStoreTest, WhatIsWrittenReadsBackExactly) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::pair<fs::path, std::string> rows[] = {
        {"Variable.txt", "\"first, and longer\"\r\n"},
        {"Variable.txt", "\"second\"\r\n"},
        {"Variable.txt", ""},
        {"Variable.txt", all},
        {L"\u03A9\u65E5 \u00E9.txt", "x"},
    };
    for (const auto& [name, bytes] : rows) {
        ASSERT_TRUE(store.Replace(PathOf(name), bytes));
        EXPECT_EQ(FileContents(dir_ / name), bytes);
        FileResult result{std::make_error_code(std::errc::io_error)};
        EXPECT_EQ(store.Read(PathOf(name), result), bytes);
        EXPECT_TRUE(result);
        EXPECT_TRUE(store.Exists(PathOf(name)));
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
}

// What cannot be replaced is refused with a reason of one line and left as
// it was: a read-only file, one a mail program holds open with no sharing, a
// folder, a file in a missing folder; nor is a missing file read.
TEST_F(WindowsFileStoreTest, RefusedWithAReasonAndKept) {
    const auto refused = [&](const char* name) {
        const auto listing = folder_.Listing();
        const FileResult result = store.Replace(PathOf(name), "new");
        EXPECT_FALSE(result.Message().empty()) << name;
        EXPECT_EQ(result.Message().find('\n'), std::string::npos) << result.Message();
        EXPECT_EQ(folder_.Listing(), listing);
    };
    WriteFile(dir_ / "read-only", "old");
    ASSERT_TRUE(SetFileAttributesW((dir_ / "read-only").c_str(), FILE_ATTRIBUTE_READONLY));
    refused("read-only");
    EXPECT_NE(GetFileAttributesW((dir_ / "read-only").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    WriteFile(dir_ / "held", "old");
    const HANDLE held = CreateFileW((dir_ / "held").c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    refused("held");
    CloseHandle(held);
    fs::create_directory(dir_ / "folder");
    WriteFile(dir_ / "folder" / "inside.txt", "kept");
    refused("folder");
    refused("missing\\sig.txt");
    for (const char* name : {"read-only", "held", "folder\\inside.txt"})
        EXPECT_EQ(FileContents(dir_ / name), name[0] == 'f' ? "kept" : "old");
    EXPECT_FALSE(store.Exists(PathOf("folder")));
    FileResult result;
    EXPECT_FALSE(store.Read(PathOf("absent.txt"), result).has_value());
    EXPECT_TRUE(result.Missing());
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
    WriteFile(dir_ / "d" / "file.txt", "x");
    WriteFile(dir_ / "d" / "other.txt", "x");
    const std::tuple<const char*, const char*, bool> rows[] = {
        {"d\\file.txt", "d\\file.txt", true},
        {"d\\.\\FILE.TXT", "d\\..\\d/file.txt", true},
        {"d\\other.txt", "d\\file.txt", false},
        {"d\\new.txt", "d\\file.txt", false},
        // Neither there yet: the same full name, in any case.
        {"d\\new.txt", "D\\.\\NEW.txt", true},
        {"d\\new.txt", "d\\newer.txt", false},
    };
    for (const auto& [a, b, same] : rows) {
        EXPECT_EQ(store.SameFile(PathOf(a), PathOf(b)), same) << a << " " << b;
        EXPECT_EQ(store.SameFile(PathOf(b), PathOf(a)), same) << b << " " << a;
    }
}

// Only a path that starts with a drive letter is rooted: a network path,
// one from the root of the current drive or a POSIX one is taken as relative.
TEST(WindowsPathTest, OnlyDrivePathsAreRooted) {
    EXPECT_EQ(NativePathStyle(), PathStyle::Windows);
    for (const auto& [path, rooted] : std::map<Text, bool>{{U"D:\\Mail\\quotes.txt", true},
                                                           {U"\\\\server\\share\\q.txt", false},
                                                           {U"quotes.txt", false},
                                                           {U"\\quotes.txt", false},
                                                           {U"/home/ann/q.txt", false},
                                                           {U"", false}})
        EXPECT_EQ(IsRootedPath(path, PathStyle::Windows), rooted) << ToUtf8(path);
}

TEST(WindowsProgramTest, ItsFoldersAndFiles) {
    WindowsProgram program;
    const Text folder = program.ProgramFolder();
    EXPECT_TRUE(IsRootedPath(folder, PathStyle::Windows)) << ToUtf8(folder);
    EXPECT_NE(folder.back(), U'\\');
    EXPECT_TRUE(WindowsFileStore().Exists(folder + U"\\core_tests.exe")) << ToUtf8(folder);
    EXPECT_TRUE(IsRootedPath(program.DocumentsFolder(), PathStyle::Windows));
    const Text data = ProgramDataFolder(program);
    ASSERT_GE(data.size(), 2u);
    EXPECT_TRUE(data.ends_with(U"\\") && !data.ends_with(U"\\\\")) << ToUtf8(data);

    // Writing is tried, and leaves nothing behind.
    const testing::TempFolder probe{"velmo-probe"};
    EXPECT_TRUE(program.CanWriteFolder(PathText(probe.path()) + U"\\"));
    EXPECT_TRUE(probe.Listing().empty());
    EXPECT_FALSE(program.CanWriteFolder(PathText(probe / "missing") + U"\\"));
}

}  // namespace
}  // namespace velmo

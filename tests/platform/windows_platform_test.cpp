#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "domain/paths.h"
#include "platform/file_text.h"
#include "platform/windows_file_store.h"
#include "platform/windows_platform.h"
#include "platform/windows_text.h"
#include "support/temp_folder.h"
#include "support/text_helpers.h"

namespace velmo {
namespace {

using namespace std::literals;
namespace fs = std::filesystem;
using testing::BytesRead;
using testing::FileContents;
using testing::PathText;
using testing::ReadError;
using testing::WriteFile;

// Text files are in the ANSI code page both ways (UTF-8 without a mark too),
// unless a byte-order mark says UTF-8 or UTF-16 (unpaired surrogates and a
// last odd byte as U+FFFD); text the code page cannot hold is written in
// UTF-8 with the mark.
TEST(WindowsFileTextTest, AnsiCodePageOrAsTheMarkSays) {
    ASSERT_EQ(GetACP(), 1252u) << "the bytes below are those of code page 1252";
    const std::tuple<std::string_view, TextView, bool> rows[] = {
        {"\x93Ol\xE9\x94, 5 \x80\r\nOl\xC3\xA9", U"\u201COlé\u201D, 5 €\r\nOl\u00C3\u00A9", true},
        {"\xEF\xBB\xBFR\xC3\xA9sum\xC3\xA9 \xE2\x82\xAC \xCE\xA9", U"Résumé € Ω", true},
        {"\xFF\xFEZ\0\xE9\0=\xD8\0\xDE\0\xDCz"sv, U"Zé\U0001F600\uFFFD\uFFFD", false},
        {"\xFE\xFF\0C\xD8=\xDE\0"sv, U"C\U0001F600", false},
    };
    for (const auto& [bytes, text, written] : rows) {
        EXPECT_EQ(DecodeFileText(bytes), text) << ToUtf8(text);
        EXPECT_EQ(written ? EncodeFileText(text) : std::string(bytes), bytes) << ToUtf8(text);
    }
}

// The ANSI code page when it holds the whole text, followed records and all,
// byte for byte; otherwise UTF-8 with one mark in front of it all. A
// look-alike the code page offers ("a" for "α", "?" for "😀") is a loss.
TEST(WindowsFileTextTest, UnicodeWhenTheCodePageWouldLoseACharacter) {
    ASSERT_EQ(GetACP(), 1252u) << "the bytes below are those of code page 1252";
    const std::tuple<TextView, std::string_view, std::string_view> rows[] = {
        {U"", "", ""},
        {U"? ¿ “—”", "", "? \xBF \x93\x97\x94"},
        {U"\"Grüße\"\r\n", "\"Caf\xC3\xA9 \xE2\x82\xAC\"\r\n",
         "\"Gr\xFC\xDF"
         "e\"\r\n\"Caf\xE9 \x80\"\r\n"},
        {U"", "\"\xC3\xA9\"", "\"\xE9\""},
        {U"α", "", "\xEF\xBB\xBF\xCE\xB1"},
        {U"é 日本", "", "\xEF\xBB\xBF\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC"},
        {U"😀", "", "\xEF\xBB\xBF\xF0\x9F\x98\x80"},
        {U"★〓", "", "\xEF\xBB\xBF\xE2\x98\x85\xE3\x80\x93"},
        {U"﻿x", "", "\xEF\xBB\xBF\xEF\xBB\xBFx"},
        {U"\"é\"\r\n", "\"\xE2\x98\x85\"", "\xEF\xBB\xBF\"\xC3\xA9\"\r\n\"\xE2\x98\x85\""},
        {U"", "\"\xCE\xB1\"", "\xEF\xBB\xBF\"\xCE\xB1\""},
    };
    for (const auto& [text, tail, bytes] : rows) {
        EXPECT_EQ(EncodeFileText(text, tail), bytes) << ToUtf8(text) << " + " << tail;
        EXPECT_EQ(DecodeFileText(bytes), Text(text) + FromUtf8(tail)) << ToUtf8(text);
    }
    EXPECT_EQ(EncodeFileText(U"😀\r\n"), "\xEF\xBB\xBF\xF0\x9F\x98\x80\r\n");
    EXPECT_EQ(ToAnsiExactly(U"😀"), std::nullopt);
    EXPECT_EQ(ToAnsiExactly(Text(1, char32_t{0xD800})), std::nullopt) << "a lone surrogate";
}

class WindowsFileStoreTest : public ::testing::Test {
  protected:
    Text PathOf(const fs::path& name) const { return PathText(dir_ / name); }

    WindowsFileStore store;
    const testing::TempFolder folder_{"velmo-store"};
    const fs::path dir_ = folder_.path();
};

// Every byte value and names beyond the ANSI code page; a read up to the
// limit gives back what was written, one over it nothing.
TEST_F(WindowsFileStoreTest, WhatIsWrittenReadsBackExactly) {
    std::string all;  // more than one read takes
    for (int b = 0; b < 256 * 300; ++b)
        all += static_cast<char>(b);
    const std::pair<fs::path, std::string> rows[] = {
        {"Variable.txt", ""},
        {"Variable.txt", all},
        {L"\u03A9\U0001F600 \u00E9.txt", "x"},
    };
    for (const auto& [name, bytes] : rows) {
        ASSERT_TRUE(store.Replace(PathOf(name), bytes));
        EXPECT_EQ(FileContents(dir_ / name), bytes);
        EXPECT_EQ(BytesRead(store.Read(PathOf(name), bytes.size())), bytes);
    }
    EXPECT_EQ(ReadError(store.Read(PathOf("Variable.txt"), all.size() - 1)), FileErrc::TooLarge);
}

// A read-only file or a folder is refused with a reason of one line and kept,
// a missing file is not read, and no file is renamed over another.
TEST_F(WindowsFileStoreTest, RefusedWithAReasonAndKept) {
    WriteFile(dir_ / "read-only", "old");
    ASSERT_TRUE(SetFileAttributesW((dir_ / "read-only").c_str(), FILE_ATTRIBUTE_READONLY));
    fs::create_directory(dir_ / "folder");
    WriteFile(dir_ / "folder" / "inside.txt", "kept");
    const auto listing = folder_.Listing();
    for (const char* name : {"read-only", "folder"}) {
        const std::string reason = store.Replace(PathOf(name), "new").Message();
        EXPECT_FALSE(reason.empty()) << name;
        EXPECT_EQ(reason.find('\n'), std::string::npos) << reason;
    }
    EXPECT_EQ(folder_.Listing(), listing);
    EXPECT_NE(GetFileAttributesW((dir_ / "read-only").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(FileContents(dir_ / "read-only"), "old");
    EXPECT_FALSE(store.Exists(PathOf("folder")));
    EXPECT_EQ(ReadError(store.Read(PathOf("absent.txt"))), std::errc::no_such_file_or_directory);

    // Folders made, and a file renamed in them, never over another one.
    ASSERT_TRUE(store.MakeFolders(PathOf("a\\b")));
    const Text reg = PathOf("a\\b\\User.reg");
    ASSERT_TRUE(store.Replace(reg, "broken"));
    ASSERT_TRUE(store.Rename(reg, reg + U".bad"));
    ASSERT_TRUE(store.Replace(reg, "new"));
    EXPECT_EQ(store.Rename(reg, reg + U".bad").error, std::errc::file_exists);
    EXPECT_EQ(FileContents(dir_ / "a" / "b" / "User.reg.bad"), "broken");
}

TEST_F(WindowsFileStoreTest, SameFileHoweverItIsSpelt) {
    fs::create_directory(dir_ / "d");
    WriteFile(dir_ / "d" / "file.txt", "x");
    WriteFile(dir_ / "d" / "other.txt", "x");
    const std::tuple<const char*, const char*, bool> rows[] = {
        {"d\\.\\FILE.TXT", "d\\..\\d/file.txt", true},
        {"d\\other.txt", "d\\file.txt", false},
        // Neither there yet: the same full name, in any case.
        {"d\\new.txt", "D\\.\\NEW.txt", true},
        {"d\\new.txt", "d\\newer.txt", false},
    };
    for (const auto& [a, b, same] : rows) {
        EXPECT_EQ(store.SameFile(PathOf(a), PathOf(b)), same) << a << " " << b;
        EXPECT_EQ(store.SameFile(PathOf(b), PathOf(a)), same) << b << " " << a;
    }
}

TEST(WindowsProgramTest, ItsFoldersAndFiles) {
    WindowsProgram program;
    const Text folder = program.ProgramFolder();
    EXPECT_TRUE(WindowsFileStore().Exists(folder + U"\\platform_tests.exe")) << ToUtf8(folder);
    EXPECT_TRUE(IsRootedPath(program.DocumentsFolder(), PathStyle::Windows));

    // Writing is tried, and leaves nothing behind.
    const testing::TempFolder probe{"velmo-probe"};
    EXPECT_TRUE(program.CanWriteFolder(PathText(probe.path()) + U"\\"));
    EXPECT_TRUE(probe.Listing().empty());
    EXPECT_FALSE(program.CanWriteFolder(PathText(probe / "missing") + U"\\"));
}

// The Run value names this program, quoted; another copy's value is not
// this one's, and taking it off twice is fine.
TEST(WindowsProgramTest, StartsWithTheDesktopFromTheRunKey) {
    constexpr wchar_t kRun[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    WindowsProgram program;
    ASSERT_TRUE(program.SetOnDesktopStartList(false));
    EXPECT_FALSE(program.DesktopStartList().value().on);

    ASSERT_TRUE(program.SetOnDesktopStartList(true));
    wchar_t value[1024];
    DWORD size = sizeof value;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, kRun, L"Velmo", RRF_RT_REG_SZ, nullptr, value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(FromWide(value), U"\"" + program.ProgramFile() + U"\"");
    EXPECT_TRUE(program.DesktopStartList().value().on);

    const std::wstring other = L"\"C:\\Other\\velmo.exe\"";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kRun, L"Velmo", REG_SZ, other.c_str(),
                              static_cast<DWORD>((other.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    EXPECT_FALSE(program.DesktopStartList().value().on);

    ASSERT_TRUE(program.SetOnDesktopStartList(false));
    ASSERT_TRUE(program.SetOnDesktopStartList(false));
    EXPECT_NE(
        RegGetValueW(HKEY_CURRENT_USER, kRun, L"Velmo", RRF_RT_REG_SZ, nullptr, nullptr, nullptr),
        ERROR_SUCCESS);
}

// Help's guide is docs\mail-clients.html beside the program, where the build,
// the installer and the zip put it; a folder by that name is no guide.
TEST(WindowsProgramTest, HelpFileInDocsBesideTheProgram) {
    WindowsProgram program;
    const fs::path docs = fs::path(ToWide(program.ProgramFolder())) / L"docs";
    const fs::path guide = docs / L"mail-clients.html";
    ASSERT_FALSE(fs::exists(docs)) << "this test makes and removes " << docs;
    EXPECT_EQ(program.HelpFile(), Text());

    fs::create_directories(guide);
    const Text folderFound = program.HelpFile();
    fs::remove(guide);
    WriteFile(guide, "<html>");
    const Text found = program.HelpFile();
    fs::remove_all(docs);
    EXPECT_EQ(folderFound, Text());
    EXPECT_TRUE(WindowsFileStore().SameFile(found, PathText(guide))) << ToUtf8(found);
}

}  // namespace
}  // namespace velmo

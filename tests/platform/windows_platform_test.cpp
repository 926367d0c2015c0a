#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "domain/paths.h"
#include "platform/file_text.h"
#include "platform/native.h"
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

// Each profile has a value of its own in the Run key, naming it after the
// program; one profile's switch leaves the others' values as they are, and a
// value for another profile or copy is not this one's.
TEST(WindowsProgramTest, AProfileStartsWithTheDesktopFromAValueOfItsOwn) {
    constexpr wchar_t kRun[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const auto value = [&](const wchar_t* name) -> std::wstring {
        wchar_t data[1024];
        DWORD size = sizeof data;
        return RegGetValueW(HKEY_CURRENT_USER, kRun, name, RRF_RT_REG_SZ, nullptr, data, &size) ==
                       ERROR_SUCCESS
                   ? data
                   : L"(none)";
    };
    WindowsProgram a("vtest-a");
    WindowsProgram b("vtest.B_1");
    const std::wstring quoted = L"\"" + ToWide(a.ProgramFile()) + L"\"";
    EXPECT_EQ(WindowsProgram().RunValueName(), L"Velmo");
    EXPECT_EQ(WindowsProgram().RunCommand(), quoted);
    EXPECT_EQ(a.DesktopStartList().value().place,
              U"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run, value "
              U"\"Velmo (vtest-a)\"");

    ASSERT_TRUE(a.SetOnDesktopStartList(true));
    ASSERT_TRUE(b.SetOnDesktopStartList(true));
    EXPECT_EQ(value(L"Velmo (vtest-a)"), quoted + L" --profile vtest-a");
    EXPECT_EQ(value(L"Velmo (vtest.B_1)"), quoted + L" --profile vtest.B_1");
    EXPECT_TRUE(a.DesktopStartList().value().on);
    ASSERT_TRUE(b.SetOnDesktopStartList(false));
    EXPECT_EQ(value(L"Velmo (vtest.B_1)"), L"(none)");
    EXPECT_TRUE(a.DesktopStartList().value().on);
    EXPECT_FALSE(b.DesktopStartList().value().on);

    // Another profile's command under this one's name, or the program alone.
    for (const std::wstring& other : {quoted + L" --profile vtest.B_1", quoted}) {
        ASSERT_EQ(
            RegSetKeyValueW(HKEY_CURRENT_USER, kRun, L"Velmo (vtest-a)", REG_SZ, other.c_str(),
                            static_cast<DWORD>((other.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
        EXPECT_FALSE(a.DesktopStartList().value().on) << ToUtf8(FromWide(other));
    }
    ASSERT_TRUE(a.SetOnDesktopStartList(false));
    EXPECT_EQ(value(L"Velmo (vtest-a)"), L"(none)");
}

// A named profile's text files are in Profiles\NAME\ inside the default
// profile's folder, whichever that is.
TEST(WindowsProgramTest, AProfileKeepsItsTextsInAFolderOfItsOwn) {
    WindowsProgram program;
    WindowsProgram work("work");
    EXPECT_EQ(program.ProfileName(), U"");
    EXPECT_EQ(work.ProfileName(), U"work");
    // The test's folder may be written, so the texts are kept beside it.
    const Text folder = program.ProgramFolder() + U"\\";
    EXPECT_EQ(program.TextFilesFolder(), folder);
    EXPECT_EQ(work.TextFilesFolder(), folder + U"Profiles\\work\\");

    const wchar_t* before = _wgetenv(L"APPDATA");
    const std::wstring saved = before != nullptr ? before : L"";
    ASSERT_EQ(_wputenv_s(L"APPDATA", L"C:\\Users\\Ann\\AppData\\Roaming"), 0);
    const Text data = program.UserDataFolder();
    const Text workData = work.UserDataFolder();
    _wputenv_s(L"APPDATA", saved.c_str());
    EXPECT_EQ(data, U"C:\\Users\\Ann\\AppData\\Roaming\\Velmo\\");
    EXPECT_EQ(workData, U"C:\\Users\\Ann\\AppData\\Roaming\\Velmo\\Profiles\\work\\");
}

// One copy of the program for each profile: a profile's name in any case is
// that profile, whose key and folder are the same in any case.
TEST(MutexInstanceTest, OneCopyForEachProfile) {
    EXPECT_EQ(MutexInstance::MutexName(""), L"Local\\Velmo.SingleInstance");
    EXPECT_EQ(MutexInstance::MutexName("Work.2_x-Y"), L"Local\\Velmo.SingleInstance.work.2_x-y");

    MutexInstance first("vtest-Mutex");
    ASSERT_FALSE(first.AnotherInstanceRunning());
    EXPECT_FALSE(first.AnotherInstanceRunning()) << "it is the one running";
    EXPECT_TRUE(MutexInstance("vtest-mutex").AnotherInstanceRunning());
    EXPECT_TRUE(MutexInstance("VTEST-MUTEX").AnotherInstanceRunning());
    EXPECT_FALSE(MutexInstance("vtest-mutex2").AnotherInstanceRunning());
    {
        MutexInstance second("vtest-other");
        ASSERT_FALSE(second.AnotherInstanceRunning());
    }
    EXPECT_FALSE(MutexInstance("vtest-other").AnotherInstanceRunning()) << "released";
}

// The profiles listed are the keys under Profiles with a profile's name and
// a User key, in name order. Only this test's own keys are made and looked
// at: the user's profiles are theirs.
TEST(ExistingProfilesTest, KeysWithSettingsAndAProfileName) {
    const Text profiles = U"SOFTWARE\\Velmo\\Profiles\\";
    const char* const made[] = {"vtest.b",        "vtest.A_1", "vtest-no-user",
                                "vtest.\xC3\xA9", ".vtest",    "vtest.c"};
    for (const char* name : made) {
        const bool user = std::string_view(name) != "vtest-no-user";
        const std::wstring key = ToWide(profiles + FromUtf8(name) + (user ? U"\\User" : U""));
        HKEY opened = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                  &opened, nullptr),
                  ERROR_SUCCESS)
            << name;
        RegCloseKey(opened);
    }
    std::vector<std::string> listed = ExistingProfiles();
    // Another profile's texts are never a signature's to replace; its own
    // are the profile's, whatever the letter case of its name.
    const std::vector<Text> others = WindowsProgram("VTEST.B").OtherProfilesTextFolders();
    const auto has = [&others](const char* profile) {
        return std::find(others.begin(), others.end(), WindowsProgram(profile).TextFilesFolder()) !=
               others.end();
    };
    EXPECT_TRUE(has("") && has("vtest.c") && has("vtest.A_1"));
    EXPECT_FALSE(has("vtest.b"));
    for (const char* name : made)
        RegDeleteTreeW(HKEY_CURRENT_USER, ToWide(profiles + FromUtf8(name)).c_str());
    std::erase_if(listed,
                  [](const std::string& name) { return name.find("vtest") == std::string::npos; });
    EXPECT_EQ(listed, (std::vector<std::string>{"vtest.A_1", "vtest.b", "vtest.c"}));
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

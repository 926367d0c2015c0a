#include "platform/windows_platform.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "domain/profile.h"
#include "platform/native.h"
#include "platform/registry_store.h"
#include "platform/windows_file_store.h"
#include "platform/windows_text.h"

namespace velmo {

double WindowsClock::ElapsedSeconds() const {
    return static_cast<double>(GetTickCount64()) / 1000.0;
}

MutexInstance::~MutexInstance() {
    if (mutex_ != nullptr)
        CloseHandle(mutex_);
}

bool MutexInstance::AnotherInstanceRunning() {
    if (mutex_ != nullptr)
        return false;
    HANDLE mutex = CreateMutexW(nullptr, TRUE, name_.c_str());
    if (mutex == nullptr)
        return false;  // no guard to be had: better to run than to refuse
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return true;
    }
    mutex_ = mutex;
    return false;
}

std::wstring MutexInstance::MutexName(std::string_view profile) {
    std::wstring name = L"Local\\Velmo.SingleInstance";
    if (profile.empty())
        return name;
    name += L'.';
    // Profile names are ASCII; the namespace "Local\" is taken only as it is
    // spelt.
    for (const char c : profile)
        name += static_cast<wchar_t>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return name;
}

Text WindowsProgram::ProfileFolder() const {
    return profile_.empty() ? Text() : U"Profiles\\" + FromUtf8(profile_) + U"\\";
}

Text WindowsProgram::ProgramFolder() {
    wchar_t path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    const std::filesystem::path program(std::wstring(path, length));
    return FromWide(program.parent_path().wstring());
}

bool WindowsProgram::CanWriteFolder(const Text& folder) {
    // Trying is the only reliable test under UAC and folder permissions.
    const std::wstring probe = ToWide(folder) + L"velmo-write-test.tmp";
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

Text WindowsProgram::UserDataFolder() {
    const wchar_t* appData = _wgetenv(L"APPDATA");
    std::filesystem::path folder = appData != nullptr ? appData : L".";
    folder /= L"Velmo";
    return FromWide(folder.wstring()) + U"\\" + ProfileFolder();
}

Text WindowsProgram::TextFilesFolder() {
    Text folder = ProgramFolder();
    if (folder.empty() || folder.back() != U'\\')
        folder += U'\\';
    // Whether the default profile's folder may be written decides for all:
    // a named profile's folder in it is made where it is written.
    return CanWriteFolder(folder) ? folder + ProfileFolder() : UserDataFolder();
}

Text WindowsProgram::DocumentsFolder() {
    wchar_t path[MAX_PATH];
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path)))
        return FromWide(path);
    const wchar_t* profile = _wgetenv(L"USERPROFILE");
    return profile != nullptr ? FromWide(profile) : Text();
}

Text WindowsProgram::ProgramFile() {
    wchar_t path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    if (length == 0 || length >= MAX_PATH * 4)
        return {};
    return FromWide(std::wstring(path, length));
}

std::vector<Text> WindowsProgram::OwnFiles() {
    std::vector<Text> files;
    if (Text self = ProgramFile(); !self.empty())
        files.push_back(std::move(self));
    if (Text round = PickRoundFile(); !round.empty()) {
        files.push_back(std::move(round));
        files.push_back(PickRoundLock());
    }
    return files;
}

Text WindowsProgram::PickRoundFile() {
    // The local application data folder: the round belongs to this computer,
    // not to a roaming profile that another computer writes as well.
    const wchar_t* localAppData = _wgetenv(L"LOCALAPPDATA");
    if (localAppData == nullptr || localAppData[0] == L'\0')
        return {};
    return FromWide(localAppData) + U"\\Velmo\\" + ProfileFolder() + U"picks";
}

Text WindowsProgram::PickRoundLock() {
    // The settings are in the registry, which has no lock file to share.
    const Text round = PickRoundFile();
    return round.empty() ? Text() : round + U".lock";
}

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kProfilesKey[] = L"SOFTWARE\\Velmo\\Profiles";

FileResult SystemError(LSTATUS status) {
    return {std::error_code(static_cast<int>(status), std::system_category())};
}

}  // namespace

std::wstring WindowsProgram::RunValueName() const {
    return profile_.empty() ? L"Velmo" : L"Velmo (" + ToWide(FromUtf8(profile_)) + L")";
}

std::wstring WindowsProgram::RunCommand() {
    // Quoted, for a path with spaces is otherwise read as a program and its
    // arguments.
    std::wstring command = L"\"" + ToWide(ProgramFile()) + L"\"";
    if (!profile_.empty())
        command += L" --profile " + ToWide(FromUtf8(profile_));
    return command;
}

std::optional<ProgramPort::StartList> WindowsProgram::DesktopStartList() {
    if (ProgramFile().empty())
        return std::nullopt;
    const std::wstring name = RunValueName();
    StartList list{
        U"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run, "
        U"value \"" +
            FromWide(name) + U"\"",
        false};
    // On when the value starts this program file for this profile, however
    // its letters are cased; a value naming another copy of the program is
    // not this one's.
    wchar_t value[MAX_PATH * 4 + 16 + kMaxProfileNameLength];
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, name.c_str(), RRF_RT_REG_SZ, nullptr, value,
                     &size) == ERROR_SUCCESS) {
        list.on = CompareStringOrdinal(value, -1, RunCommand().c_str(), -1, TRUE) == CSTR_EQUAL;
    }
    return list;
}

FileResult WindowsProgram::SetOnDesktopStartList(bool on) {
    const std::wstring name = RunValueName();
    if (!on) {
        const LSTATUS status = RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, name.c_str());
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? FileResult{}
                                                                         : SystemError(status);
    }
    const std::wstring command = RunCommand();
    const LSTATUS status =
        RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, name.c_str(), REG_SZ, command.c_str(),
                        static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    return status == ERROR_SUCCESS ? FileResult{} : SystemError(status);
}

std::vector<Text> WindowsProgram::OtherProfilesTextFolders() {
    std::vector<std::string> others;
    if (!profile_.empty())
        others.emplace_back();
    // A profile's key and folder are the same whatever the letter case.
    const Text self = FromUtf8(profile_);
    for (std::string& name : ExistingProfiles()) {
        if (CompareStringOrdinal(ToWide(FromUtf8(name)).c_str(), -1, ToWide(self).c_str(), -1,
                                 TRUE) != CSTR_EQUAL)
            others.push_back(std::move(name));
    }
    std::vector<Text> folders;
    for (std::string& other : others)
        folders.push_back(WindowsProgram(std::move(other)).TextFilesFolder());
    return folders;
}

std::vector<std::string> ExistingProfiles() {
    std::vector<std::string> names;
    HKEY profiles = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kProfilesKey, 0, KEY_READ, &profiles) != ERROR_SUCCESS)
        return names;
    // A key name has at most 255 characters.
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        const LSTATUS status =
            RegEnumKeyExW(profiles, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS)
            break;
        std::string utf8 = ToUtf8(FromWide(std::wstring_view(name, length)));
        // A profile has settings once it has its User key.
        HKEY user = nullptr;
        if (IsProfileName(utf8) &&
            RegOpenKeyExW(profiles, (std::wstring(name, length) + L"\\User").c_str(), 0, KEY_READ,
                          &user) == ERROR_SUCCESS) {
            RegCloseKey(user);
            names.push_back(std::move(utf8));
        }
    }
    RegCloseKey(profiles);
    std::sort(names.begin(), names.end());
    return names;
}

Text WindowsProgram::HelpFile() {
    const std::filesystem::path file =
        std::filesystem::path(ToWide(ProgramFolder())) / L"docs" / L"mail-clients.html";
    std::error_code error;
    return std::filesystem::is_regular_file(file, error) ? FromWide(file.wstring()) : Text();
}

std::unique_ptr<FileStorePort> MakeFileStore() {
    return std::make_unique<WindowsFileStore>();
}
std::unique_ptr<ClockPort> MakeClock() {
    return std::make_unique<WindowsClock>();
}
std::unique_ptr<SingleInstancePort> MakeInstanceGuard(std::string_view profile) {
    return std::make_unique<MutexInstance>(profile);
}
std::unique_ptr<ProgramPort> MakeProgram(std::string_view profile) {
    return std::make_unique<WindowsProgram>(std::string(profile));
}
bool HomeFolderKnown() {
    // The registry and the profile folders always belong to the user.
    return true;
}
std::unique_ptr<SettingsStorePort> MakeSettingsStore(FileStorePort&, std::string_view profile) {
    return std::make_unique<RegistryStore>(std::string(profile));
}
void UseBinaryStandardOutput() {
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
}

}  // namespace velmo

#include "platform/windows_platform.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <utility>

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
    HANDLE mutex = CreateMutexW(nullptr, TRUE, L"Local\\Velmo.SingleInstance");
    if (mutex == nullptr)
        return false;  // no guard to be had: better to run than to refuse
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return true;
    }
    mutex_ = mutex;
    return false;
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
    return FromWide(folder.wstring()) + U"\\";
}

Text WindowsProgram::TextFilesFolder() {
    Text folder = ProgramFolder();
    if (folder.empty() || folder.back() != U'\\')
        folder += U'\\';
    return CanWriteFolder(folder) ? folder : UserDataFolder();
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
    Text self = ProgramFile();
    if (self.empty())
        return {};
    return {std::move(self)};
}

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"Velmo";

FileResult SystemError(LSTATUS status) {
    return {std::error_code(static_cast<int>(status), std::system_category())};
}

}  // namespace

std::optional<ProgramPort::StartList> WindowsProgram::DesktopStartList() {
    const Text program = ProgramFile();
    if (program.empty())
        return std::nullopt;
    StartList list{
        U"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run, "
        U"value \"Velmo\"",
        false};
    // On when the value starts this program file, however its letters are
    // cased; a value naming another copy of the program is not this one's.
    wchar_t value[MAX_PATH * 4 + 3];
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, kRunValue, RRF_RT_REG_SZ, nullptr, value, &size) ==
        ERROR_SUCCESS) {
        const std::wstring wanted = L"\"" + ToWide(program) + L"\"";
        list.on = CompareStringOrdinal(value, -1, wanted.c_str(), -1, TRUE) == CSTR_EQUAL;
    }
    return list;
}

FileResult WindowsProgram::SetOnDesktopStartList(bool on) {
    if (!on) {
        const LSTATUS status = RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kRunValue);
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? FileResult{}
                                                                         : SystemError(status);
    }
    // Quoted, for a path with spaces is otherwise read as a program and its
    // arguments.
    const std::wstring command = L"\"" + ToWide(ProgramFile()) + L"\"";
    const LSTATUS status =
        RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, kRunValue, REG_SZ, command.c_str(),
                        static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    return status == ERROR_SUCCESS ? FileResult{} : SystemError(status);
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
std::unique_ptr<SingleInstancePort> MakeInstanceGuard() {
    return std::make_unique<MutexInstance>();
}
std::unique_ptr<ProgramPort> MakeProgram() {
    return std::make_unique<WindowsProgram>();
}
bool HomeFolderKnown() {
    // The registry and the profile folders always belong to the user.
    return true;
}
std::unique_ptr<SettingsStorePort> MakeSettingsStore(FileStorePort&) {
    return std::make_unique<RegistryStore>();
}
void UseBinaryStandardOutput() {
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
}

}  // namespace velmo

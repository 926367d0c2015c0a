#pragma once

// The platform services that need no window toolkit, on Windows.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "domain/text.h"
#include "platform/ports.h"

namespace velmo {

class WindowsClock : public ClockPort {
  public:
    // GetTickCount64 goes on while the computer sleeps.
    double ElapsedSeconds() const override;
};

// One copy per user and profile: a named mutex in the user's session.
class MutexInstance : public SingleInstancePort {
  public:
    // `profile`: a profile name, or empty for the default profile.
    explicit MutexInstance(std::string_view profile = {}) : name_(MutexName(profile)) {}
    ~MutexInstance() override;
    MutexInstance(const MutexInstance&) = delete;
    MutexInstance& operator=(const MutexInstance&) = delete;
    bool AnotherInstanceRunning() override;

    // Local\Velmo.SingleInstance, and .NAME after it for a named profile, in
    // lower case: the profile's key and folder are the same however its name
    // is cased, and so is its copy of the program.
    static std::wstring MutexName(std::string_view profile);

  private:
    std::wstring name_;
    void* mutex_ = nullptr;
};

class WindowsProgram : public ProgramPort {
  public:
    // `profile`: a profile name, or empty for the default profile.
    explicit WindowsProgram(std::string profile = {}) : profile_(std::move(profile)) {}

    Text ProfileName() override { return FromUtf8(profile_); }
    Text ProgramFolder() override;
    bool CanWriteFolder(const Text& folder) override;
    // %APPDATA%\Velmo\, and Profiles\NAME\ in it for a named profile; made
    // where it is written.
    Text UserDataFolder();
    // The program's folder when the user may write there, else
    // %APPDATA%\Velmo\; and Profiles\NAME\ in it for a named profile.
    Text TextFilesFolder() override;
    // The shell's Documents folder (redirected ones too), else %USERPROFILE%.
    Text DocumentsFolder() override;
    // The program file; the settings and the instance guard are no files here.
    std::vector<Text> OwnFiles() override;
    std::vector<Text> OtherProfilesTextFolders() override;
    Text ProgramFile() override;
    // Windows starts programs at log-in from the values of the user's Run key.
    Text AutostartFile() override { return {}; }
    // The value "Velmo" of HKEY_CURRENT_USER's Run key, the program's quoted
    // path; "Velmo (NAME)" for a named profile, followed by --profile NAME.
    std::optional<StartList> DesktopStartList() override;
    FileResult SetOnDesktopStartList(bool on) override;
    // <program folder>\docs\mail-clients.html; empty when it is not there.
    Text HelpFile() override;
    // %LOCALAPPDATA%\Velmo\picks (in Profiles\NAME\ for a named profile),
    // with a lock file of its own beside it.
    Text PickRoundFile() override;
    Text PickRoundLock() override;

    // The name of the profile's value in the Run key, and what it holds when on.
    std::wstring RunValueName() const;
    std::wstring RunCommand();

  private:
    // Profiles\NAME\ for a named profile, empty for the default one.
    Text ProfileFolder() const;

    std::string profile_;
};

}  // namespace velmo

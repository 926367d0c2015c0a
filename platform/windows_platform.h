#pragma once

// The platform services that need no window toolkit, on Windows.

#include <vector>

#include "platform/ports.h"

namespace velmo {

class WindowsClock : public ClockPort {
  public:
    // GetTickCount64 goes on while the computer sleeps.
    double ElapsedSeconds() const override;
};

// One copy per user: a named mutex in the user's session.
class MutexInstance : public SingleInstancePort {
  public:
    ~MutexInstance() override;
    bool AnotherInstanceRunning() override;

  private:
    void* mutex_ = nullptr;
};

class WindowsProgram : public ProgramPort {
  public:
    Text ProgramFolder() override;
    bool CanWriteFolder(const Text& folder) override;
    // %APPDATA%\Velmo\, created when missing.
    Text UserDataFolder();
    // The program's folder when the user may write there, else UserDataFolder.
    Text TextFilesFolder() override;
    // The shell's Documents folder (redirected ones too), else %USERPROFILE%.
    Text DocumentsFolder() override;
    // The program file; the settings and the instance guard are no files here.
    std::vector<Text> OwnFiles() override;
    Text ProgramFile() override;
    // Windows starts programs at log-in from the values of the user's Run key.
    Text AutostartFile() override { return {}; }
    // The value "Velmo" of HKEY_CURRENT_USER's Run key, the program's quoted path.
    std::optional<StartList> DesktopStartList() override;
    FileResult SetOnDesktopStartList(bool on) override;
    // <program folder>\docs\mail-clients.html; empty when it is not there.
    Text HelpFile() override;
};

}  // namespace velmo

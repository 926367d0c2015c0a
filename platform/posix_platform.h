#pragma once

// The platform services that need no window toolkit, on POSIX systems.

#include <string>
#include <vector>

#include "platform/ports.h"
#include "platform/random.h"

namespace velmo {

// The user's home folder: HOME when it is an absolute path, else the password
// database's entry for the effective user; empty when neither gives one.
std::string HomeFolder();

class PosixClock : public ClockPort {
  public:
    // CLOCK_BOOTTIME: real time, suspend included, immune to clock changes.
    double ElapsedSeconds() const override;
};

// One copy per user's settings: an exclusive lock on a file beside them,
// held while the program runs; a crashed copy's lock goes with it.
class LockFileInstance : public SingleInstancePort {
  public:
    explicit LockFileInstance(std::string lockPath);
    ~LockFileInstance() override;
    LockFileInstance(const LockFileInstance&) = delete;
    LockFileInstance& operator=(const LockFileInstance&) = delete;

    bool AnotherInstanceRunning() override;
    // velmo.lock beside the profile's settings file; empty without a home folder.
    static std::string DefaultLockPath(std::string_view profile = {});

  private:
    std::string path_;
    int fd_ = -1;
};

class PosixProgram : public ProgramPort {
  public:
    // `profile`: a profile name, or empty for the default profile.
    explicit PosixProgram(std::string profile = {}) : profile_(std::move(profile)) {}

    Text ProfileName() override { return FromPathBytes(profile_); }
    Text ProgramFolder() override;
    bool CanWriteFolder(const Text& folder) override;
    // $XDG_DATA_HOME/Velmo/ or ~/.local/share/Velmo/, and profiles/NAME/ in
    // it for a named profile; empty when the user has no home folder.
    Text UserDataFolder();
    // Always the user's data folder: a program's folder is no place for a
    // user's files, which a rebuild or an upgrade would take with it.
    Text TextFilesFolder() override;
    // XDG_DOCUMENTS_DIR of user-dirs.dirs, else ~/Documents, else the home folder.
    Text DocumentsFolder() override;
    // The program file, the settings file with its lock, and the instance
    // lock; and the other profiles' settings files.
    std::vector<Text> OwnFiles() override;
    std::vector<Text> OtherProfilesTextFolders() override;
    Text ProgramFile() override;
    // $XDG_CONFIG_HOME/autostart/velmo.desktop or ~/.config/autostart/velmo.desktop,
    // where XDG autostart looks, and velmo-NAME.desktop for a named profile;
    // empty when the user has no home folder.
    Text AutostartFile() override;
    // The HTML guide: <program folder>/../share/velmo/mail-clients.html where
    // installed, else <program folder>/docs/mail-clients.html (a build folder);
    // empty when neither is there.
    Text HelpFile() override;
    // $XDG_STATE_HOME/Velmo/picks or ~/.local/state/Velmo/picks (in
    // profiles/NAME/ for a named profile), under the settings file's lock.
    Text PickRoundFile() override;
    Text PickRoundLock() override;

  private:
    // The default profile when this is a named one, and every other named
    // profile with settings.
    std::vector<std::string> OtherProfiles() const;

    std::string profile_;
};

}  // namespace velmo

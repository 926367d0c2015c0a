#pragma once

// The platform's own implementations of the ports that need no window
// toolkit; each platform links one file that defines these.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ports.h"

namespace velmo {

std::unique_ptr<FileStorePort> MakeFileStore();
std::unique_ptr<ClockPort> MakeClock();
// The ports that know where a profile is kept take its name (checked with
// IsProfileName); an empty name is the default profile.
std::unique_ptr<SingleInstancePort> MakeInstanceGuard(std::string_view profile = {});
std::unique_ptr<ProgramPort> MakeProgram(std::string_view profile = {});

// The settings store of the platform: the registry on Windows, a REGEDIT4
// file of the user's elsewhere (kept through `files`).
std::unique_ptr<SettingsStorePort> MakeSettingsStore(FileStorePort& files,
                                                     std::string_view profile = {});

// The named profiles that have settings, in name order.
std::vector<std::string> ExistingProfiles();

// Whether the user has a home folder to keep the settings and files below.
bool HomeFolderKnown();

// Makes standard output pass bytes through unchanged. Windows' C runtime
// writes LF as CR LF in text mode, which would double the CR of a signature
// whose lines already end in CR LF; elsewhere there is nothing to change.
void UseBinaryStandardOutput();

}  // namespace velmo

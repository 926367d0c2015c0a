#pragma once

// Profiles: complete sets of settings, texts and signature file side by side,
// one for each of the user's identities. The default profile has no name and
// is kept where the program has always kept its files.

#include <string>
#include <string_view>

namespace velmo {

inline constexpr size_t kMaxProfileNameLength = 64;

// A profile name names a folder, a registry key and a desktop entry on every
// platform, so it is 1 to 64 ASCII letters, digits, '.', '_' and '-', does
// not start with a dot (no "..", no hidden folder) or end with one, and is
// not a Windows device name (CON, NUL, COM1, ...).
bool IsProfileName(std::string_view name);

// The one-line reason `name` is refused as a profile name, showing it with
// every byte that is not printable ASCII as '?'; empty when it is a name.
std::string ProfileNameRefusal(std::string_view name);

}  // namespace velmo

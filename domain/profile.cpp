#include "domain/profile.h"

#include <algorithm>

namespace velmo {

namespace {

bool NameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '-';
}

// CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9, in any letter case and
// with any extension, name devices, never folders, on Windows.
bool WindowsDeviceName(std::string_view name) {
    std::string base(name.substr(0, name.find('.')));
    for (char& c : base)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL")
        return true;
    return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) &&
           base[3] >= '1' && base[3] <= '9';
}

}  // namespace

bool IsProfileName(std::string_view name) {
    // Windows drops a folder name's last dot: "work." would share "work"'s.
    return !name.empty() && name.size() <= kMaxProfileNameLength && name.front() != '.' &&
           name.back() != '.' && std::all_of(name.begin(), name.end(), NameCharacter) &&
           !WindowsDeviceName(name);
}

std::string ProfileNameRefusal(std::string_view name) {
    if (IsProfileName(name))
        return {};
    std::string shown;
    for (const char c : name.substr(0, kMaxProfileNameLength + 1))
        shown += c >= ' ' && c <= '~' ? c : '?';
    if (name.size() > kMaxProfileNameLength + 1)
        shown += "...";
    return "invalid profile name '" + shown +
           "': use 1 to 64 letters, digits, '.', '_' and '-', not starting or ending with '.', "
           "and not a device name such as CON or NUL";
}

}  // namespace velmo

#include "domain/profile.h"

#include <algorithm>

namespace velmo {

namespace {

bool NameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '-';
}

}  // namespace

bool IsProfileName(std::string_view name) {
    return !name.empty() && name.size() <= kMaxProfileNameLength && name.front() != '.' &&
           std::all_of(name.begin(), name.end(), NameCharacter);
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
           "': use 1 to 64 letters, digits, '.', '_' and '-', not starting with '.'";
}

}  // namespace velmo

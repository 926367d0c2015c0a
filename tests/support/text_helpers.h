#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>

#include "domain/text.h"

namespace velmo::testing {

// The lines, each followed by CR LF.
inline Text Lines(std::initializer_list<Text> lines) {
    Text out;
    for (const Text& line : lines)
        out += line + Text(CrLf);
    return out;
}

inline Text Spaces(size_t n) {
    return Text(n, U' ');
}

// A file-system path as the program's text.
inline Text PathText(const std::filesystem::path& path) {
    const auto utf8 = path.u8string();
    return FromUtf8(std::string(utf8.begin(), utf8.end()));
}

}  // namespace velmo::testing

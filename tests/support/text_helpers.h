#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

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

// The CR LF-separated lines of a text; a final CR LF ends the last line.
inline std::vector<Text> SplitLines(const Text& text) {
    std::vector<Text> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t p = text.find(CrLf, pos);
        if (p == Text::npos) {
            lines.push_back(text.substr(pos));
            break;
        }
        lines.push_back(text.substr(pos, p - pos));
        pos = p + 2;
    }
    return lines;
}

}  // namespace velmo::testing

#pragma once

#include <initializer_list>
#include <vector>

#include "core/text.h"

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

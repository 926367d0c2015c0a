#pragma once

// What the fuzz targets share: failing loudly and splitting their input.

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "domain/columns.h"

namespace velmo::fuzz {

// libFuzzer keeps any input that aborts, so a broken invariant is a finding
// like a sanitizer report.
inline void Require(bool ok, const char* what) {
    if (ok)
        return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

// The input cut at every `separator` byte.
inline std::vector<std::string_view> SplitBytes(std::string_view data, char separator) {
    std::vector<std::string_view> pieces;
    for (size_t p; (p = data.find(separator)) != std::string_view::npos; data.remove_prefix(p + 1))
        pieces.push_back(data.substr(0, p));
    pieces.push_back(data);
    return pieces;
}

// Whether a line holds a space the wrap may end a line after: one that is a
// grapheme cluster of its own (a space carrying a combining mark is not).
inline bool HasBreakableSpace(velmo::TextView line) {
    const std::vector<bool> boundaries = velmo::ClusterBoundaries(line);
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == U' ' && boundaries[i + 1])
            return true;
    }
    return false;
}

}  // namespace velmo::fuzz

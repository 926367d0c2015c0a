#pragma once

// What the fuzz targets share: failing loudly and splitting their input.

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

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

}  // namespace velmo::fuzz

#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

#include "domain/text.h"

namespace velmo {

// What a file or a text held at one moment, small enough to keep for a whole
// run: a later look tells whether it changed since. Equal contents give equal
// fingerprints; different ones almost never do.
struct Fingerprint {
    size_t size = 0;
    size_t hash = 0;
    bool operator==(const Fingerprint&) const = default;
};

inline Fingerprint FingerprintOf(std::string_view bytes) {
    return {bytes.size(), std::hash<std::string_view>{}(bytes)};
}

inline Fingerprint FingerprintOf(TextView text) {
    return {text.size(), std::hash<TextView>{}(text)};
}

}  // namespace velmo

// The display form of any path, with any limit, in both styles: never longer
// than the path with "..." and the head's closing separator added again.
// Input: two bytes of limit (signed, little-endian), then the path as UTF-8.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "domain/paths.h"
#include "fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmo;
    using namespace velmo::fuzz;
    if (size < 2)
        return 0;
    const auto limit = static_cast<std::int16_t>(data[0] | (data[1] << 8));
    const Text path = FromUtf8(std::string_view(reinterpret_cast<const char*>(data + 2), size - 2));
    for (PathStyle style : {PathStyle::Windows, PathStyle::Posix}) {
        const size_t headLength = style == PathStyle::Windows ? 3 : 1;
        const bool headEndsInSeparator =
            path.size() >= headLength && path[headLength - 1] == Separator(style);
        const size_t longest = path.size() + 3 + (headEndsInSeparator ? 1 : 0);
        for (int l : {static_cast<int>(limit), 55})
            Require(ShortenPath(path, l, style).size() <= longest,
                    "a shortened path is longer than the path");
    }
    return 0;
}

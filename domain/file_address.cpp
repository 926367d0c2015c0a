#include "domain/file_address.h"

#include <algorithm>
#include <string>

namespace velmo {

Text FileAddress(TextView path, PathStyle style) {
    std::string bytes = ToPathBytes(path);
    if (style == PathStyle::Windows)
        std::replace(bytes.begin(), bytes.end(), '\\', '/');
    // A drive path gets the empty host; a network path names its own.
    Text address = bytes.starts_with("/") ? U"file://" : U"file:///";
    if (bytes.starts_with("//"))
        address = U"file:";
    constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
            (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
            byte == '~' || byte == '/' || (byte == ':' && style == PathStyle::Windows)) {
            address += static_cast<char32_t>(byte);
        } else {
            address += U'%';
            address += static_cast<char32_t>(kHex[byte >> 4]);
            address += static_cast<char32_t>(kHex[byte & 15]);
        }
    }
    return address;
}

}  // namespace velmo

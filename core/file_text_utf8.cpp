// Text files on systems whose native encoding is UTF-8. Files are written in
// UTF-8, without a byte-order mark but for one corner case below. On reading,
// anything that is not valid UTF-8 is taken to be Windows-1252, so files
// brought over from Windows still read correctly.

#include "core/file_text.h"

namespace velmo {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace

Text DecodeFileText(std::string_view bytes) {
    // A byte-order mark declares UTF-8 outright: a stray bad byte after it is
    // better shown as one replacement character than turning every accented
    // letter of the file into two Windows-1252 ones.
    if (bytes.starts_with(kUtf8Bom))
        return FromUtf8(bytes.substr(kUtf8Bom.size()));
    if (IsValidUtf8(bytes))
        return FromUtf8(bytes);
    return FromWindows1252(bytes);
}

std::string EncodeFileText(TextView text) {
    // A text that itself begins with U+FEFF would lose it on reading, as it
    // looks like a byte-order mark; a real mark in front keeps it.
    if (text.starts_with(U'\uFEFF'))
        return std::string(kUtf8Bom) + ToUtf8(text);
    return ToUtf8(text);
}

}  // namespace velmo

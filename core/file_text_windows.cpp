// Text files on Windows are in the ANSI code page, as the program has always
// kept them; a file that starts with a UTF-8 byte-order mark is read as UTF-8.

#include "core/file_text.h"
#include "core/windows_text.h"

namespace velmo {

Text DecodeFileText(std::string_view bytes) {
    constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    if (bytes.starts_with(kUtf8Bom))
        return FromUtf8(bytes.substr(kUtf8Bom.size()));
    return FromAnsi(bytes);
}

std::string EncodeFileText(TextView text) {
    return ToAnsi(text);
}

}  // namespace velmo

// Text files on Windows are in the ANSI code page, as the program has always
// kept them; a file that starts with a byte-order mark is read as UTF-8 or
// UTF-16 as the mark says.

#include "platform/file_text.h"
#include "platform/windows_text.h"

namespace velmo {

namespace {

// UTF-16 in the given byte order. Unpaired surrogates and a last odd byte
// become U+FFFD.
Text FromUtf16(std::string_view bytes, bool bigEndian) {
    std::wstring wide;
    wide.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const unsigned first = static_cast<unsigned char>(bytes[i]);
        const unsigned second = static_cast<unsigned char>(bytes[i + 1]);
        wide.push_back(
            static_cast<wchar_t>(bigEndian ? ((first << 8) | second) : ((second << 8) | first)));
    }
    // FromWide joins the pairs; what it leaves of a surrogate is unpaired.
    Text text = FromWide(wide);
    for (char32_t& c : text) {
        if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD;
    }
    if (bytes.size() % 2 != 0)
        text.push_back(0xFFFD);
    return text;
}

}  // namespace

Text DecodeFileText(std::string_view bytes) {
    constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
    constexpr std::string_view kUtf16BeBom = "\xFE\xFF";
    if (bytes.starts_with(kUtf8Bom))
        return FromUtf8(bytes.substr(kUtf8Bom.size()));
    if (bytes.starts_with(kUtf16LeBom))
        return FromUtf16(bytes.substr(kUtf16LeBom.size()), false);
    if (bytes.starts_with(kUtf16BeBom))
        return FromUtf16(bytes.substr(kUtf16BeBom.size()), true);
    return FromAnsi(bytes);
}

std::string EncodeFileText(TextView text) {
    return ToAnsi(text);
}

Text NativeLineEnds(TextView text) {
    return Text(text);
}

}  // namespace velmo

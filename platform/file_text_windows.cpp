// Text files on Windows are in the ANSI code page, as the program has always
// kept them, when the code page holds the whole text; any other text is
// written in UTF-8 with a byte-order mark, so that no character is lost. A
// file that starts with a byte-order mark is read as UTF-8 or UTF-16 as the
// mark says.

#include "platform/file_text.h"
#include "platform/windows_text.h"

namespace velmo {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

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

FileTextPieces::FileTextPieces(std::string_view bytes, size_t pieceSize)
    : bytes_(bytes), pieceSize_(pieceSize) {
    constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
    constexpr std::string_view kUtf16BeBom = "\xFE\xFF";
    if (bytes_.starts_with(kUtf8Bom)) {
        form_ = Form::Utf8;
        bytes_.remove_prefix(kUtf8Bom.size());
    } else if (bytes_.starts_with(kUtf16LeBom)) {
        form_ = Form::Utf16Le;
        bytes_.remove_prefix(kUtf16LeBom.size());
    } else if (bytes_.starts_with(kUtf16BeBom)) {
        form_ = Form::Utf16Be;
        bytes_.remove_prefix(kUtf16BeBom.size());
    }
}

bool FileTextPieces::Next(Text& text) {
    if (bytes_.empty())
        return false;
    // The whole file is one piece: an ANSI code page may take two bytes for
    // a character, and no piece may end between them.
    static_cast<void>(pieceSize_);
    switch (form_) {
        case Form::Utf8:
            text += FromUtf8(bytes_);
            break;
        case Form::Utf16Le:
        case Form::Utf16Be:
            text += FromUtf16(bytes_, form_ == Form::Utf16Be);
            break;
        case Form::Native:
        case Form::Legacy:
            text += FromAnsi(bytes_);
            break;
    }
    bytes_ = {};
    return true;
}

Text DecodeFileText(std::string_view bytes) {
    Text text;
    FileTextPieces pieces(bytes);
    pieces.Next(text);
    return text;
}

std::string EncodeFileText(TextView text, std::string_view utf8Tail) {
    std::optional<std::string> ansi = ToAnsiExactly(text);
    if (ansi && !utf8Tail.empty()) {
        const std::optional<std::string> tail = ToAnsiExactly(FromUtf8(utf8Tail));
        if (tail)
            *ansi += *tail;
        else
            ansi.reset();
    }
    if (ansi)
        return std::move(*ansi);
    std::string out(kUtf8Bom);
    out += ToUtf8(text);
    out += utf8Tail;
    return out;
}

Text NativeLineEnds(TextView text) {
    return Text(text);
}

}  // namespace velmo

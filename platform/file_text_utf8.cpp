// Text files on systems whose native encoding is UTF-8. Files are written in
// UTF-8, without a byte-order mark but for one corner case below. On reading,
// a byte-order mark decides the encoding (UTF-8 or UTF-16); without one the
// file is taken as UTF-8, and the bytes that are not UTF-8 as Windows-1252,
// so files brought over from Windows still read correctly.

#include "platform/file_text.h"

#include <algorithm>

namespace velmo {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";
constexpr char32_t kReplacement = 0xFFFD;

// The bytes at the start of `bytes` (not empty) that read as one unit: a whole
// UTF-8 sequence (valid), or the longest start of one that cannot be completed
// (invalid; at least the first byte). The bounds of each lead byte's second
// byte keep out overlong forms, surrogates and code points beyond U+10FFFF.
struct Unit {
    size_t length;
    bool valid;
};

Unit NextUnit(std::string_view bytes) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return {1, true};
    size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {1, false};
    }
    for (size_t i = 1; i < length; ++i) {
        if (i >= bytes.size() || byte(i) < low || byte(i) > high)
            return {i, false};
        low = 0x80;
        high = 0xBF;
    }
    return {length, true};
}

// Whether a file without a byte-order mark is Windows-1252 throughout: it has
// more faults (invalid units) than multi-byte characters. Such a file was
// written in Windows-1252, and the few pairs in it that happen to form UTF-8
// (a letter before a symbol, such as "ß“") are Windows-1252 too. A tie goes
// to UTF-8, so that one stray byte never garbles a UTF-8 file's accented
// letters; a file that is all valid UTF-8 is UTF-8.
bool MostlyWindows1252(std::string_view bytes) {
    size_t multiByte = 0;
    size_t faults = 0;
    for (size_t pos = 0; pos < bytes.size();) {
        if (static_cast<unsigned char>(bytes[pos]) < 0x80) {
            ++pos;
            continue;
        }
        const Unit unit = NextUnit(bytes.substr(pos));
        multiByte += unit.valid && unit.length > 1 ? 1 : 0;
        faults += unit.valid ? 0 : 1;
        pos += unit.length;
    }
    return faults > multiByte;
}

// UTF-8 with the bytes that are not UTF-8 read as Windows-1252, each on its
// own, from the start of `bytes` until at least `size` of them are read (or
// all). Gives how many were read, always whole units.
size_t AppendUtf8(std::string_view bytes, size_t size, Text& out) {
    size_t pos = 0;
    do {
        if (static_cast<unsigned char>(bytes[pos]) < 0x80) {
            out.push_back(static_cast<unsigned char>(bytes[pos++]));
            continue;
        }
        const Unit unit = NextUnit(bytes.substr(pos));
        const std::string_view unitBytes = bytes.substr(pos, unit.length);
        if (unit.valid) {
            // The lead byte keeps 7, 5, 4 or 3 bits of the code point, each further byte 6.
            constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
            char32_t c = static_cast<unsigned char>(unitBytes[0]) & kLeadBits[unit.length];
            for (size_t i = 1; i < unit.length; ++i)
                c = c << 6 | (static_cast<unsigned char>(unitBytes[i]) & 0x3F);
            out.push_back(c);
        } else {
            out += FromWindows1252(unitBytes);
        }
        pos += unit.length;
    } while (pos < size && pos < bytes.size());
    return pos;
}

// UTF-16 code units, two bytes each in the given order, to code points, as
// AppendUtf8 reads its bytes; a surrogate pair is never split. Unpaired
// surrogates and a last odd byte become U+FFFD.
size_t AppendUtf16(std::string_view bytes, size_t size, bool bigEndian, Text& out) {
    const auto unit = [&](size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (char32_t{first} << 8 | second) : (char32_t{second} << 8 | first);
    };
    size_t i = 0;
    do {
        if (i + 1 >= bytes.size()) {
            out.push_back(kReplacement);
            return bytes.size();
        }
        const char32_t c = unit(i);
        if (c < 0xD800 || c > 0xDFFF) {
            out.push_back(c);
        } else if (c < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 &&
                   unit(i + 2) <= 0xDFFF) {
            out.push_back(0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00));
            i += 2;
        } else {
            out.push_back(kReplacement);
        }
        i += 2;
    } while (i < size && i < bytes.size());
    return i;
}

}  // namespace

FileTextPieces::FileTextPieces(std::string_view bytes, size_t pieceSize)
    : bytes_(bytes), pieceSize_(pieceSize) {
    if (bytes_.starts_with(kUtf8Bom)) {
        form_ = Form::Utf8;
        bytes_.remove_prefix(kUtf8Bom.size());
    } else if (bytes_.starts_with(kUtf16LeBom)) {
        form_ = Form::Utf16Le;
        bytes_.remove_prefix(kUtf16LeBom.size());
    } else if (bytes_.starts_with(kUtf16BeBom)) {
        form_ = Form::Utf16Be;
        bytes_.remove_prefix(kUtf16BeBom.size());
    } else if (MostlyWindows1252(bytes_)) {
        form_ = Form::Legacy;
    }
}

bool FileTextPieces::Next(Text& text) {
    if (bytes_.empty())
        return false;
    // A piece has no more characters than bytes (a unit may run past its end).
    text.reserve(text.size() + std::min(pieceSize_, bytes_.size()) + 4);
    size_t used = 0;
    switch (form_) {
        case Form::Legacy:
            used = std::min(std::max<size_t>(pieceSize_, 1), bytes_.size());
            text += FromWindows1252(bytes_.substr(0, used));
            break;
        case Form::Utf16Le:
        case Form::Utf16Be:
            used = AppendUtf16(bytes_, pieceSize_, form_ == Form::Utf16Be, text);
            break;
        case Form::Utf8:
        case Form::Native:
            used = AppendUtf8(bytes_, pieceSize_, text);
            break;
    }
    bytes_.remove_prefix(used);
    return true;
}

Text DecodeFileText(std::string_view bytes) {
    Text out;
    out.reserve(bytes.size());
    FileTextPieces pieces(bytes, bytes.size());
    while (pieces.Next(out)) {
    }
    return out;
}

std::string EncodeFileText(TextView text, std::string_view utf8Tail) {
    // A text that itself begins with U+FEFF would lose it on reading, as it
    // looks like a byte-order mark; a real mark in front keeps it.
    std::string out = text.starts_with(U'\uFEFF') ? std::string(kUtf8Bom) : std::string();
    out += ToUtf8(text);
    out += utf8Tail;
    return out;
}

Text NativeLineEnds(TextView text) {
    return CrLfToLf(text);
}

}  // namespace velmo

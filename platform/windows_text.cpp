#include "platform/windows_text.h"

#include <windows.h>

namespace velmo {

std::wstring ToWide(TextView text) {
    std::wstring out;
    out.reserve(text.size());
    for (char32_t c : text) {
        if (c > 0xFFFF && c <= 0x10FFFF) {
            const char32_t v = c - 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (v >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (v & 0x3FF)));
        } else {
            out.push_back(static_cast<wchar_t>(c > 0xFFFF ? 0xFFFD : c));
        }
    }
    return out;
}

Text FromWide(std::wstring_view wide) {
    Text out;
    out.reserve(wide.size());
    for (size_t i = 0; i < wide.size(); ++i) {
        const char32_t c = static_cast<char16_t>(wide[i]);
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < wide.size()) {
            const char32_t low = static_cast<char16_t>(wide[i + 1]);
            if (low >= 0xDC00 && low < 0xE000) {
                out.push_back(0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        out.push_back(c);
    }
    return out;
}

std::optional<std::string> ToAnsiExactly(TextView text) {
    const std::wstring wide = ToWide(text);
    if (wide.empty())
        return std::string();
    const int length = static_cast<int>(wide.size());
    // UTF-8 as the ANSI code page takes neither the flag nor the question
    // below, and holds every character.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* const asked = utf8 ? nullptr : &usedDefault;
    const int size =
        WideCharToMultiByte(CP_ACP, flags, wide.data(), length, nullptr, 0, nullptr, asked);
    if (size <= 0 || usedDefault)
        return std::nullopt;
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, flags, wide.data(), length, out.data(), size, nullptr, nullptr);
    // What does not read back the same was changed on the way (an unpaired
    // surrogate, a look-alike the flag let through).
    if (FromAnsi(out) != text)
        return std::nullopt;
    return out;
}

Text FromAnsi(std::string_view bytes) {
    if (bytes.empty())
        return {};
    const int size =
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0) {
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(),
                            size);
    }
    return FromWide(wide);
}

}  // namespace velmo

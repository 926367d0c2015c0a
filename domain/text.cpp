#include "domain/text.h"

#include <array>
#include <cmath>
#include <limits>

namespace velmo {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one sequence at `pos`; returns the code point and advances `pos`.
// On a malformed sequence returns U+FFFD and advances by one byte.
char32_t DecodeOne(std::string_view s, size_t& pos, bool& ok) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char b0 = byte(pos);
    ok = true;
    if (b0 < 0x80) {
        ++pos;
        return b0;
    }
    int extra = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        cp = b0 & 0x1F;
        min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        cp = b0 & 0x0F;
        min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        cp = b0 & 0x07;
        min = 0x10000;
    } else {
        ok = false;
        ++pos;
        return kReplacement;
    }
    if (pos + static_cast<size_t>(extra) >= s.size()) {
        ok = false;
        ++pos;
        return kReplacement;
    }
    for (int i = 1; i <= extra; ++i) {
        const unsigned char b = byte(pos + static_cast<size_t>(i));
        if ((b & 0xC0) != 0x80) {
            ok = false;
            ++pos;
            return kReplacement;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ok = false;
        ++pos;
        return kReplacement;
    }
    pos += static_cast<size_t>(extra) + 1;
    return cp;
}

}  // namespace

Text FromUtf8(std::string_view utf8) {
    Text out;
    out.reserve(utf8.size());
    size_t pos = 0;
    bool ok = true;
    while (pos < utf8.size())
        out.push_back(DecodeOne(utf8, pos, ok));
    return out;
}

bool IsValidUtf8(std::string_view bytes) {
    size_t pos = 0;
    bool ok = true;
    while (pos < bytes.size()) {
        DecodeOne(bytes, pos, ok);
        if (!ok)
            return false;
    }
    return true;
}

namespace {

constexpr char32_t kForeignByte = 0xDC00;

bool IsForeignByte(char32_t c) {
    return c >= kForeignByte + 0x80 && c <= kForeignByte + 0xFF;
}

std::string Encode(TextView text, bool keepForeignBytes) {
    std::string out;
    out.reserve(text.size());
    for (char32_t cp : text) {
        if (keepForeignBytes && IsForeignByte(cp)) {
            out.push_back(static_cast<char>(cp - kForeignByte));
            continue;
        }
        if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            cp = kReplacement;
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

}  // namespace

std::string ToUtf8(TextView text) {
    return Encode(text, false);
}

Text FromPathBytes(std::string_view bytes) {
    Text out;
    out.reserve(bytes.size());
    size_t pos = 0;
    bool ok = true;
    while (pos < bytes.size()) {
        const size_t start = pos;
        const char32_t c = DecodeOne(bytes, pos, ok);
        out.push_back(ok ? c : kForeignByte + static_cast<unsigned char>(bytes[start]));
    }
    return out;
}

std::string ToPathBytes(TextView path) {
    return Encode(path, true);
}

bool HasForeignBytes(TextView path) {
    for (const char32_t c : path) {
        if (IsForeignByte(c))
            return true;
    }
    return false;
}

Text PathForDisplay(TextView path) {
    Text out(path);
    for (char32_t& c : out) {
        if (IsForeignByte(c))
            c = kReplacement;
    }
    return out;
}

// 0x80..0x9F; the rest of the high half equals Latin-1.
constexpr std::array<char32_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

Text FromWindows1252(std::string_view bytes) {
    Text out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.push_back(b >= 0x80 && b < 0xA0 ? kWindows1252High[b - 0x80] : char32_t{b});
    }
    return out;
}

int ToWindows1252(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<int>(c);
    for (size_t i = 0; i < kWindows1252High.size(); ++i) {
        // The five unassigned bytes decode to C1 controls; those have no byte.
        if (kWindows1252High[i] == c && !(c >= 0x80 && c < 0xA0))
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

Text ToText(long long number) {
    const std::string digits = std::to_string(number);
    return Text(digits.begin(), digits.end());
}

double LeadingNumber(TextView text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == U' ' || text[i] == U'\t'))
        ++i;
    double sign = 1.0;
    if (i < text.size() && (text[i] == U'-' || text[i] == U'+')) {
        if (text[i] == U'-')
            sign = -1.0;
        ++i;
    }
    double value = 0.0;
    bool fraction = false;
    double scale = 0.1;
    for (; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c >= U'0' && c <= U'9') {
            if (fraction) {
                value += (c - U'0') * scale;
                scale /= 10.0;
            } else {
                value = value * 10.0 + (c - U'0');
            }
        } else if (c == U'.' && !fraction) {
            fraction = true;
        } else {
            break;
        }
    }
    return sign * value;
}

long long RoundHalfEven(double value) {
    if (!std::isfinite(value))
        return 0;
    constexpr double kLimit = 9.0e15;
    if (value > kLimit)
        return static_cast<long long>(kLimit);
    if (value < -kLimit)
        return static_cast<long long>(-kLimit);
    const double floor = std::floor(value);
    const double diff = value - floor;
    auto result = static_cast<long long>(floor);
    if (diff > 0.5 || (diff == 0.5 && result % 2 != 0))
        ++result;
    return result;
}

int ToWholeNumber(TextView text) {
    const long long n = RoundHalfEven(LeadingNumber(text));
    constexpr long long kMax = std::numeric_limits<int>::max();
    return static_cast<int>(n > kMax ? kMax : (n < -kMax ? -kMax : n));
}

Text TrimBlanks(TextView text) {
    const size_t first = text.find_first_not_of(U' ');
    if (first == TextView::npos)
        return {};
    const size_t last = text.find_last_not_of(U' ');
    return Text(text.substr(first, last - first + 1));
}

Text Repeat(TextView unit, long long n) {
    Text out;
    if (n <= 0 || unit.empty())
        return out;
    out.reserve(unit.size() * static_cast<size_t>(n));
    for (long long i = 0; i < n; ++i)
        out.append(unit);
    return out;
}

Text CrLfToLf(TextView text) {
    Text out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != U'\r' || i + 1 >= text.size() || text[i + 1] != U'\n')
            out += text[i];
    }
    return out;
}

}  // namespace velmo

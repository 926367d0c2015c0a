#include "domain/text.h"

#include <gtest/gtest.h>

#include <string>

namespace velmo {
namespace {

// Each length's bounds both ways; what UTF-8 cannot carry is U+FFFD, and so
// are overlong forms, surrogates (the first and the last) and cut sequences.
TEST(Utf8, EveryLengthBoundaryBothWaysAndMalformedBytes) {
    const std::pair<char32_t, std::string> rows[] = {
        {0x7F, "\x7F"},
        {0x80, "\xC2\x80"},
        {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"},
        {0xFFFF, "\xEF\xBF\xBF"},
        {0x10000, "\xF0\x90\x80\x80"},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"},
        {0x110000, "\xEF\xBF\xBD"},  // beyond Unicode
        {0xD800, "\xEF\xBF\xBD"},    // a surrogate
    };
    for (const auto& [cp, utf8] : rows) {
        EXPECT_EQ(ToUtf8(Text(1, cp)), utf8) << static_cast<unsigned long>(cp);
        if (utf8 != "\xEF\xBF\xBD") {
            EXPECT_EQ(FromUtf8(utf8), Text(1, cp)) << static_cast<unsigned long>(cp);
        }
    }
    for (const char* bad : {"caf\xE9", "\xC0\xAF", "\xED\xA0\x80", "\xED\xBF\xBF", "\xE2\x82"})
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
    EXPECT_EQ(FromUtf8("caf\xE9"), U"caf\uFFFD");
    EXPECT_EQ(FromUtf8("\xE2\x82"), U"\uFFFD\uFFFD");
    EXPECT_TRUE(IsValidUtf8("plain \xE2\x82\xAC"));
}

// A file name's bytes come back the same whatever they are; those that are
// not UTF-8 are lone surrogates U+DC80..U+DCFF, shown as U+FFFD.
TEST(PathBytes, EveryByteRoundTripsAndShowsAsReplacement) {
    const std::pair<std::string, Text> rows[] = {
        {"/home/r\xE9n\xE9"
         "e",
         U"/home/r\xDCE9n\xDCE9"
         U"e"},
        {"caf\xC3\xA9", U"caf\u00E9"},
        {"\xE2\x82", U"\xDCE2\xDC82"},
        {"\xED\xB2\x80", U"\xDCED\xDCB2\xDC80"},  // UTF-8 of U+DC80 itself
        {"\xC0\xAF\xFF", U"\xDCC0\xDCAF\xDCFF"},
    };
    for (const auto& [bytes, path] : rows) {
        EXPECT_EQ(FromPathBytes(bytes), path) << bytes;
        EXPECT_EQ(ToPathBytes(path), bytes) << bytes;
        EXPECT_EQ(HasForeignBytes(path), !IsValidUtf8(bytes)) << bytes;
        EXPECT_EQ(PathForDisplay(path), FromUtf8(bytes)) << bytes;
    }
    // Code points no system name holds encode as U+FFFD, never as a plain byte.
    EXPECT_EQ(ToPathBytes(U"\xDC2F\xD800"), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(Numbers, LeadingNumberIsReadAndRoundedHalfEven) {
    const std::pair<Text, double> rows[] = {
        {U"60", 60.0}, {U"  -12.5abc", -12.5}, {U"", 0.0},    {U"x1", 0.0}, {U"19.9", 19.9},
        {U"9", 9.0},   {U"0/", 0.0},           {U"+7:", 7.0},
    };
    for (const auto& [in, value] : rows)
        EXPECT_DOUBLE_EQ(LeadingNumber(in), value) << ToUtf8(in);
    const std::pair<double, int> halves[] = {{28.5, 28}, {23.5, 24}, {6.67, 7},
                                             {-2.5, -2}, {-3.5, -4}, {2.4999, 2}};
    for (const auto& [value, rounded] : halves)
        EXPECT_EQ(RoundHalfEven(value), rounded) << value;
}

TEST(Texts, CrLfToLfTakesOnlyTheCrOfEachPair) {
    const std::pair<Text, Text> rows[] = {
        {U"a\r\nb", U"a\nb"},     {U"\r\n\r\n", U"\n\n"},
        {U"a\rb\nc", U"a\rb\nc"}, {U"\r\r\n", U"\r\n"},
        {U"a\r", U"a\r"},         {U"\u00e9\r\n\U0001F600", U"\u00e9\n\U0001F600"},
    };
    for (const auto& [in, out] : rows)
        EXPECT_EQ(CrLfToLf(in), out) << ToUtf8(in);
}

}  // namespace
}  // namespace velmo

#include "domain/text.h"

#include <gtest/gtest.h>

#include <string>

namespace velmo {
namespace {

TEST(Utf8, EncodesAtEveryLengthBoundary) {
    const struct {
        char32_t cp;
        std::string utf8;
    } rows[] = {
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
    for (const auto& row : rows) {
        const auto cp = static_cast<unsigned long>(row.cp);
        EXPECT_EQ(ToUtf8(Text(1, row.cp)), row.utf8) << cp;
        if (row.utf8 != "\xEF\xBF\xBD") {
            EXPECT_EQ(FromUtf8(row.utf8), Text(1, row.cp)) << cp;
        }
    }
}

TEST(Utf8, MalformedBytesBecomeReplacementCharacters) {
    EXPECT_FALSE(IsValidUtf8("caf\xE9"));
    EXPECT_EQ(FromUtf8("caf\xE9"), U"caf\uFFFD");
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));      // overlong slash
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // surrogates, the first
    EXPECT_FALSE(IsValidUtf8("\xED\xBF\xBF"));  // and the last
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));      // cut short
    EXPECT_EQ(FromUtf8("\xE2\x82"), U"\uFFFD\uFFFD");
    EXPECT_TRUE(IsValidUtf8("plain \xE2\x82\xAC"));
}

TEST(Numbers, ValReadsTheLeadingNumber) {
    const struct {
        Text in;
        double value;
    } rows[] = {
        {U"60", 60.0}, {U"  -12.5abc", -12.5}, {U"", 0.0},    {U"x1", 0.0}, {U"19.9", 19.9},
        {U"9", 9.0},   {U"0/", 0.0},           {U"+7:", 7.0},
    };
    for (const auto& row : rows)
        EXPECT_DOUBLE_EQ(Val(row.in), row.value) << ToUtf8(row.in);
}

TEST(Numbers, RoundHalfEven) {
    EXPECT_EQ(RoundHalfEven(28.5), 28);
    EXPECT_EQ(RoundHalfEven(23.5), 24);
    EXPECT_EQ(RoundHalfEven(6.67), 7);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-3.5), -4);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(ToWholeNumber(U"4"), 4);
}

TEST(Texts, TrimRepeatAndNumbers) {
    EXPECT_EQ(TrimBlanks(U"  a b \t "), U"a b \t");
    EXPECT_EQ(TrimBlanks(U"   "), U"");
    EXPECT_EQ(Repeat(U"=-", 3), U"=-=-=-");
    EXPECT_EQ(Repeat(U"", 3), U"");
    EXPECT_EQ(Repeat(U"x", -1), U"");
    EXPECT_EQ(ToText(0), U"0");
    EXPECT_EQ(ToText(-15), U"-15");
}

TEST(Texts, CrLfToLfTakesOnlyTheCrOfEachPair) {
    const struct {
        Text in, out;
    } rows[] = {
        {U"a\r\nb", U"a\nb"},
        {U"\r\n\r\n", U"\n\n"},
        {U"a\rb\nc", U"a\rb\nc"},
        {U"\r\r\n", U"\r\n"},
        {U"a\r", U"a\r"},
        {U"", U""},
        {U"\u00e9\r\n\U0001F600", U"\u00e9\n\U0001F600"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(CrLfToLf(row.in), row.out) << ToUtf8(row.in);
}

}  // namespace
}  // namespace velmo

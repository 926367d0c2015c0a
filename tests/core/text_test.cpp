#include "domain/text.h"

#include <gtest/gtest.h>

namespace velmo {
namespace {

TEST(Utf8, RoundTripsEveryPlane) {
    const Text text = U"a é € 𝄞 Ω\r\n";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(ToUtf8(U"é"), "\xC3\xA9");
    EXPECT_EQ(ToUtf8(U"𝄞"), "\xF0\x9D\x84\x9E");
}

TEST(Utf8, MalformedBytesBecomeReplacementCharacters) {
    EXPECT_FALSE(IsValidUtf8("caf\xE9"));
    EXPECT_EQ(FromUtf8("caf\xE9"), U"caf\uFFFD");
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));      // overlong slash
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));  // surrogate
    EXPECT_FALSE(IsValidUtf8("\xE2\x82"));      // cut short
    EXPECT_EQ(FromUtf8("\xE2\x82"), U"\uFFFD\uFFFD");
    EXPECT_TRUE(IsValidUtf8("plain \xE2\x82\xAC"));
}

TEST(Windows1252, MapsTheHighHalf) {
    EXPECT_EQ(FromWindows1252("\x93quoted\x94 caf\xE9 \x80"), U"\u201Cquoted\u201D café €");
    EXPECT_EQ(FromWindows1252("\x81"), U"\u0081");
}

TEST(Numbers, ValReadsTheLeadingNumber) {
    EXPECT_EQ(Val(U"60"), 60.0);
    EXPECT_EQ(Val(U"  -12.5abc"), -12.5);
    EXPECT_EQ(Val(U""), 0.0);
    EXPECT_EQ(Val(U"x1"), 0.0);
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

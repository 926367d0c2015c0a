#include "domain/wrap.h"

#include <gtest/gtest.h>

#include <chrono>

namespace velmo {
namespace {

struct WrapCase {
    int width;
    Text input;
    Text expected;
};

TEST(WrapText, WorkedExamples) {
    const WrapCase cases[] = {
        {12, U"one two three four five six", U"one two \r\nthree four \r\nfive six\r\n"},
        {16, U"  Roses are red,\r\nviolets are blue.  ",
         U"Roses are red,\r\nviolets are \r\nblue.\r\n"},
        {12, U"alpha beta\r\ngamma delta epsilon",
         U"alpha beta\r\ngamma \r\ndelta \r\nepsilon\r\n"},
        {4, U"a  b   c", U"a  \r\nb  \r\n c\r\n"},
        {40, U"", U"\r\n"},
        {40, U"     ", U"\r\n"},
        {12, U"abcdefghijklmnopqrstuvwxyzabcd", U"abcdefghijklmnopqrstuvwxyzabcd\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WrapText(c.input, c.width), c.expected) << "width " << c.width;
    }
}

TEST(WrapText, WidthGivenAsTextIsRoundedHalfToEven) {
    EXPECT_EQ(WrapText(U"one two three four five six", U"12"),
              WrapText(U"one two three four five six", 12));
    // 12.5 rounds to 12, 13.5 to 14.
    EXPECT_EQ(WrapText(U"one two three four five six", U"12.5"),
              WrapText(U"one two three four five six", 12));
    EXPECT_EQ(WrapText(U"one two three four five six", U"13.5"),
              WrapText(U"one two three four five six", 14));
}

TEST(WrapText, ExactFillStaysOnTheLineOneMoreMovesOn) {
    // Limit 11: "efghi " ends exactly at 11.
    EXPECT_EQ(WrapText(U"abcd efghi kl", 12), U"abcd efghi \r\nkl\r\n");
    EXPECT_EQ(WrapText(U"abcd efghij kl", 12), U"abcd \r\nefghij kl\r\n");
}

TEST(WrapText, TextEndingInLineBreakGetsAnEmptyLastLine) {
    EXPECT_EQ(WrapText(U"abc\r\n", 40), U"abc\r\n\r\n");
}

TEST(WrapText, SpacesInsideAreKeptOutsideRemoved) {
    EXPECT_EQ(WrapText(U"  a   b  ", 40), U"a   b\r\n");
}

TEST(WrapText, LineBreakOutOfReachDoesNotEndTheLineEarly) {
    // The CR at position 15 is beyond the limit of 11 from an empty line, so
    // words are taken one at a time and "ghij\r\nkl" is a single word.
    EXPECT_EQ(WrapText(U"abc def ghij\r\nkl mno", 12), U"abc def \r\nghij\r\nkl mno\r\n");
}

TEST(WrapText, OverLongWordIsCutIntoFullLinesAfterTheCurrentOne) {
    EXPECT_EQ(WrapText(U"short averyveryverylongword end", 12),
              U"short \r\naveryveryve\r\nrylongword \r\nend\r\n");
}

TEST(WrapText, OverLongWordAtTheStartIsPrecededByAnEmptyLine) {
    EXPECT_EQ(WrapText(U"averyveryverylongword end", 12),
              U"\r\naveryveryve\r\nrylongword \r\nend\r\n");
}

TEST(WrapText, OverLongWordAfterALineBreakKeepsTheBreakWhole) {
    const Text out = WrapText(U"ab\r\naveryveryverylongword end", 12);
    EXPECT_EQ(out, U"ab\r\n\r\naveryveryve\r\nrylongword \r\nend\r\n");
    EXPECT_EQ(out.find(U"\r\r"), Text::npos);
}

TEST(WrapText, OverLongWordWithALineBreakInsideStopsCuttingAtTheBreak) {
    const Text out = WrapText(U"x abcdefghijklmnop\r\nqrstuvwxyz end", 8);
    EXPECT_EQ(out.find(U"\r\r"), Text::npos);
    for (size_t pos = 0, p; (p = out.find(CrLf, pos)) != Text::npos; pos = p + 2) {
        EXPECT_LE(p - pos, 7u) << "line at " << pos;
    }
}

TEST(WrapText, NarrowWidthReturnsTheTextUnwrapped) {
    EXPECT_EQ(WrapText(U" a b ", 1), U"a b\r\n");
    EXPECT_EQ(WrapText(U"a b", 0), U"a b\r\n");
    EXPECT_EQ(WrapText(U"a b", -5), U"a b\r\n");
}

TEST(WrapText, CountsCharactersNotBytes) {
    // Eleven characters fill the limit exactly, however many bytes they take.
    EXPECT_EQ(WrapText(U"Grüße aus Köln und Zürich", 12), U"Grüße aus \r\nKöln und \r\nZürich\r\n");
    EXPECT_EQ(WrapText(U"Καλημέρα σας φίλοι", 10), U"Καλημέρα \r\nσας φίλοι\r\n");
}

TEST(WrapText, LongTextsTakeLinearTime) {
    // A mebibyte of one unit repeated: prose with no line break (each word used
    // to search the rest of the text for a CR) and lines with no space (each
    // line used to search it for a space). Every unit wraps to the same line.
    struct LongCase {
        int width;
        TextView unit;
        TextView line;  // what every unit but the last wraps to
        TextView last;  // what the last one wraps to
    };
    const LongCase cases[] = {
        {32, U"The quick brown fox jumps over ", U"The quick brown fox jumps over \r\n",
         U"The quick brown fox jumps over\r\n"},
        {40, U"Regards,\r\n", U"Regards,\r\n", U"Regards,\r\n\r\n"},
    };
    const auto began = std::chrono::steady_clock::now();
    for (const auto& c : cases) {
        const auto n = static_cast<long long>((size_t{1} << 20) / c.unit.size());
        const Text out = WrapText(Repeat(c.unit, n), c.width);
        EXPECT_TRUE(out == Repeat(c.line, n - 1) + Text(c.last)) << "width " << c.width;
    }
    // Milliseconds when linear, even under sanitizers; the quadratic search took a minute.
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(10));
}

}  // namespace
}  // namespace velmo

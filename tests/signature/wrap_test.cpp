#include "domain/wrap.h"

#include <gtest/gtest.h>

#include <chrono>

namespace velmo {
namespace {

// The width is given as the combo box holds it, which also drives the
// whole-number form; lines hold at most width - 1 characters.
TEST(WrapText, WorkedExamples) {
    const struct {
        TextView width;
        TextView input;
        TextView expected;
    } rows[] = {
        {U"12", U"one two three four five six", U"one two \r\nthree four \r\nfive six\r\n"},
        {U"16", U"  Roses are red,\r\nviolets are blue.  ",
         U"Roses are red,\r\nviolets are \r\nblue.\r\n"},
        {U"12", U"alpha beta\r\ngamma delta epsilon",
         U"alpha beta\r\ngamma \r\ndelta \r\nepsilon\r\n"},
        {U"4", U"a  b   c", U"a  \r\nb  \r\n c\r\n"},
        {U"40", U"     ", U"\r\n"},
        {U"40", U"  a   b  ", U"a   b\r\n"},
        {U"40", U"abc\r\n", U"abc\r\n\r\n"},
        {U"12", U"abcdefghijklmnopqrstuvwxyzabcd", U"abcdefghijklmnopqrstuvwxyzabcd\r\n"},
        // Half to even: 12.5 is 12, 13.5 is 14.
        {U"12.5", U"abcd efghij kl", U"abcd \r\nefghij kl\r\n"},
        {U"13.5", U"abcd efghij k", U"abcd efghij k\r\n"},
        // Exactly full stays on the line (one more moves on, above).
        {U"12", U"abcd efghi kl", U"abcd efghi \r\nkl\r\n"},
        // A CR beyond reach does not end the line: "ghij\r\nkl" is one word.
        {U"12", U"abc def ghij\r\nkl mno", U"abc def \r\nghij\r\nkl mno\r\n"},
        // An over-long word is cut into full lines after the current one...
        {U"12", U"short averyveryverylongword end",
         U"short \r\naveryveryve\r\nrylongword \r\nend\r\n"},
        // ...keeps a line break before it whole...
        {U"12", U"ab\r\naveryveryverylongword end",
         U"ab\r\n\r\naveryveryve\r\nrylongword \r\nend\r\n"},
        // ...takes a lone CR before it as it is...
        {U"12", U"ab\raveryveryverylongword end", U"ab\r\r\naveryveryve\r\nrylongword \r\nend\r\n"},
        // ...and stops cutting at a break inside it.
        {U"8", U"x abcdefghijklmnop\r\nqrstuvwxyz end",
         U"x \r\nabcdefg\r\nhijklmn\r\nop\r\n\r\nqrstuvw\r\nxyz end\r\n"},
        // No room for a character: the text comes back trimmed, unwrapped.
        {U"1", U" a b ", U"a b\r\n"},
        {U"2", U"a b", U"\r\na\r\n \r\nb\r\n"},
        // Characters are counted, not bytes.
        {U"12", U"Grüße aus Köln und Zürich", U"Grüße aus \r\nKöln und \r\nZürich\r\n"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(WrapText(row.input, row.width), row.expected)
            << "width " << ToUtf8(row.width) << ": " << ToUtf8(row.input);
    }
}

TEST(WrapText, LongTextsTakeLinearTime) {
    // A mebibyte of prose with no line break (each word used to search the
    // rest for a CR) and of lines with no space (each line used to search the
    // rest for a space): milliseconds when linear, a minute when not.
    const auto began = std::chrono::steady_clock::now();
    const Text prose = U"The quick brown fox jumps over ";
    EXPECT_TRUE(WrapText(Repeat(prose, 1 << 15), 32) ==
                Repeat(prose + U"\r\n", (1 << 15) - 1) + TrimBlanks(prose) + U"\r\n");
    EXPECT_TRUE(WrapText(Repeat(U"Regards,\r\n", 1 << 17), 40) ==
                Repeat(U"Regards,\r\n", 1 << 17) + U"\r\n");
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(10));
}

}  // namespace
}  // namespace velmo

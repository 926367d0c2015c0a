#include "domain/columns.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "domain/unicode.h"

namespace velmo {
namespace {

// Unicode's own test of grapheme clusters: "÷ 0061 × 0308 ÷" lists code
// points with a break (÷) or none (×) between them. Every line must pass.
TEST(ClusterBoundaries, UnicodeConformance) {
    const std::string path = std::string(VELMO_UCD_DIR) + "/auxiliary/GraphemeBreakTest.txt";
    std::ifstream file(path);
    if (!file)
        GTEST_SKIP() << path << " is missing (Debian package unicode-data)";
    std::string header;
    std::getline(file, header);
    EXPECT_NE(header.find(unicode::kUnicodeVersion), std::string::npos) << header;

    int checked = 0;
    for (std::string line; std::getline(file, line);) {
        line = line.substr(0, line.find('#'));
        if (line.find_first_not_of(" \t") == std::string::npos)
            continue;
        Text text;
        std::vector<bool> expected{true};
        std::istringstream fields(line);
        for (std::string field; fields >> field;) {
            if (field == "\xC3\xB7" || field == "\xC3\x97")
                expected.back() = field == "\xC3\xB7";
            else {
                text.push_back(static_cast<char32_t>(std::stoul(field, nullptr, 16)));
                expected.push_back(false);
            }
        }
        EXPECT_EQ(ClusterBoundaries(text), expected) << line;
        ++checked;
    }
    EXPECT_EQ(checked, 602);
}

TEST(ClusterColumns, Table) {
    struct Row {
        const char32_t* cluster;
        int columns;
    };
    const Row rows[] = {
        {U"a", 1},
        {U"\u00E9", 1},                                      // é precomposed
        {U"e\u0301", 1},                                     // e and a combining acute
        {U"\u0301", 0},                                      // the mark alone
        {U"\u200D", 0},                                      // a joiner alone
        {U"\u00AD", 0},                                      // soft hyphen, a format character
        {U"\u6771", 2},                                      // 東
        {U"\uFF21", 2},                                      // fullwidth A
        {U"\uFF71", 1},                                      // halfwidth katakana
        {U"\u00B1", 1},                                      // ambiguous width counts as narrow
        {U"\U0001F44D", 2},                                  // thumbs up, emoji by default
        {U"\U0001F44D\U0001F3FD", 2},                        // with a skin tone
        {U"\u261D\U0001F3FD", 2},                            // a text pictograph with a skin tone
        {U"\u2764", 1},                                      // heavy heart: text by default
        {U"\u2764\uFE0F", 2},                                // and as emoji with VS16
        {U"\u2764\u200D\U0001F525", 2},                      // and joined to fire
        {U"1\uFE0F\u20E3", 2},                               // keycap one
        {U"\U0001F468\u200D\U0001F469\u200D\U0001F467", 2},  // family, a ZWJ sequence
        {U"\U0001F1EF\U0001F1F5", 2},                        // flag of Japan
        {U"\u0915\u093F", 1},        // Devanagari: a vowel sign takes no column
        {U"\u0915\u094D", 1},        // nor a virama
        {U"\u1100\u1161\u11A8", 2},  // Hangul from conjoining jamo
        {U"\u3000", 2},              // ideographic space
        {U"\x7F", 1},
    };
    for (const Row& row : rows) {
        const TextView cluster = row.cluster;
        EXPECT_EQ(NextClusterEnd(cluster, 0), cluster.size()) << ToUtf8(cluster);
        EXPECT_EQ(ClusterColumns(cluster), row.columns) << ToUtf8(cluster);
    }
}

TEST(Columns, TextsAndNarrowness) {
    struct Row {
        const char32_t* text;
        size_t columns;
        bool narrow;
    };
    const Row rows[] = {
        {U"", 0, true},
        {U"Caf\u00E9 r\u00E9sum\u00E9", 11, true},
        {U"Cafe\u0301 re\u0301sume\u0301", 11, false},
        {U"a\r\nb", 4, true},  // CR and LF count one each
        {U"\u6771\u4EAC Example Ltd.", 17, false},
        {U"\U0001F1EF\U0001F1F5\U0001F1E9\U0001F1EA\U0001F1EB", 6, false},  // JP DE and a lone F
        {U"\t", 1, true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Columns(row.text), row.columns) << ToUtf8(row.text);
        EXPECT_EQ(IsNarrow(row.text), row.narrow) << ToUtf8(row.text);
    }
}

TEST(ExpandTabs, StopsEveryEightColumns) {
    struct Row {
        const char32_t* text;
        const char32_t* expanded;
    };
    const Row rows[] = {
        {U"no tabs", U"no tabs"},
        {U"\tx", U"        x"},
        {U"abc\tx", U"abc     x"},
        {U"abcdefgh\tx", U"abcdefgh        x"},
        {U"\u6771\u4EAC\tx", U"\u6771\u4EAC    x"},  // two wide characters take four columns
        {U"e\u0301\tx", U"e\u0301       x"},
        {U"ab\r\n\tx\t", U"ab\r\n        x       "},  // each line starts at column 0
    };
    for (const Row& row : rows)
        EXPECT_EQ(ExpandTabs(row.text), Text(row.expanded)) << ToUtf8(row.text);
}

}  // namespace
}  // namespace velmo

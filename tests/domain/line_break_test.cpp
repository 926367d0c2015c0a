#include "domain/line_break.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#ifndef VELMO_UCD_DIR
#define VELMO_UCD_DIR "/usr/share/unicode"
#endif

namespace velmo {
namespace {

// The text with "|" at each place where a break is allowed, the end left out.
Text Marked(TextView text) {
    const std::vector<bool> breaks = LineBreakOpportunities(text);
    Text marked;
    for (size_t i = 0; i < text.size(); ++i) {
        if (breaks[i])
            marked += U'|';
        marked += text[i];
    }
    return marked;
}

TEST(LineBreakTest, Examples) {
    const struct {
        TextView text;
        TextView marked;
    } rows[] = {
        // Between ideographs and kana, but a full stop stays on its line.
        {U"東京は晴れ。", U"東|京|は|晴|れ。"},
        {U"don't", U"don't"},
        {U"well-known", U"well-|known"},
        // A space run: the break comes after the last space.
        {U"a  b", U"a  |b"},
        // Two regional indicators make one flag: breaks between flags only.
        {U"🇩🇪🇫🇷🇮", U"🇩🇪|🇫🇷|🇮"},
        // A skin tone stays on its emoji, and a joined family is one.
        {U"👍🏽👍", U"👍🏽|👍"},
        {U"👩\u200D👩\u200D👧!", U"👩\u200D👩\u200D👧!"},
        // Numbers with their signs, currency and parentheses stay whole.
        {U"costs $(12.50), -3 or 5%.", U"costs |$(12.50), |-3 |or |5%."},
        // A combining accent travels with its letter, even after a hyphen.
        {U"e\u0301-e\u0301 x", U"e\u0301-|e\u0301 |x"},
        // Hard breaks: after CR LF as one, after a lone CR, before nothing.
        {U"a\r\nb\rc\n\nd", U"a\r\n|b\r|c\n|\n|d"},
        // A no-break space glues, a zero-width space breaks.
        {U"1\u00A0kg a\u200Bb", U"1\u00A0kg |a\u200B|b"},
        // Leading marks and spaces.
        {U"\u0301 \u0301x", U"\u0301 |\u0301x"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Marked(row.text), row.marked) << ToUtf8(row.text);
}

TEST(LineBreakTest, Ends) {
    EXPECT_EQ(LineBreakOpportunities(U""), std::vector<bool>{false});
    EXPECT_EQ(LineBreakOpportunities(U"x"), (std::vector<bool>{false, true}));
    EXPECT_EQ(LineBreakOpportunities(U"\n"), (std::vector<bool>{false, true}));
    EXPECT_EQ(LineBreakOpportunities(U"\r\n"), (std::vector<bool>{false, false, true}));
}

TEST(LineBreakTest, CodePointsOutsideUnicodeCountAsLetters) {
    // Lone surrogates and values beyond U+10FFFF, as a bad decoder may leave them.
    const Text text{0xD800, U'a', 0x110000, U' ', 0xFFFFFFFF, 0xDFFF};
    EXPECT_EQ(LineBreakOpportunities(text),
              (std::vector<bool>{false, false, false, false, true, false, true}));
}

// Each line of LineBreakTest.txt: hex code points, with "÷" where a break is
// allowed and "×" where it is not, before the first and after the last too.
struct Case {
    int line = 0;
    Text text;
    std::vector<bool> breaks;
};

bool ParseCase(const std::string& line, Case& parsed) {
    std::istringstream words(line.substr(0, line.find('#')));
    std::string word;
    while (words >> word) {
        if (word == "\u00F7" || word == "\u00D7")
            parsed.breaks.push_back(word == "\u00F7");
        else
            parsed.text += static_cast<char32_t>(std::stoul(word, nullptr, 16));
    }
    return !parsed.breaks.empty() && parsed.breaks.size() == parsed.text.size() + 1;
}

TEST(LineBreakTest, UnicodeConformance) {
    const std::string path = VELMO_UCD_DIR "/auxiliary/LineBreakTest.txt";
    std::ifstream file(path);
    if (!file)
        GTEST_SKIP() << path << " is missing: it comes with the package unicode-data";

    std::string line;
    int number = 0;
    int checked = 0;
    int failed = 0;
    while (std::getline(file, line)) {
        ++number;
        if (line.empty() || line[0] == '#')
            continue;
        Case parsed{number, {}, {}};
        ASSERT_TRUE(ParseCase(line, parsed)) << path << ":" << number << ": " << line;
        ++checked;
        if (LineBreakOpportunities(parsed.text) != parsed.breaks) {
            ++failed;
            ADD_FAILURE() << path << ":" << number << ": " << line;
        }
    }
    std::cout << checked << " lines of " << path << " checked, " << failed << " failed\n";
    RecordProperty("lines_checked", checked);
    EXPECT_GT(checked, 7000);  // the test file of Unicode 15.0 has 7654
}

TEST(LineBreakTest, LongTextInOnePass) {
    // A megabyte of mixed text with the long runs that rules looking back over
    // spaces, marks, numbers and flags would be slow on if they rescanned.
    Text text;
    while (text.size() < (1u << 20)) {
        text += U"The quick brown fox, 12.345,67 $ (over) the lazy dog. 東京は晴れ。 ";
        text += Text(500, U' ') + U"(" + Text(500, U'\u0301') + U"1";
        text += Text(500, U'7') + U"%" + Text(500, U'\U0001F1E6') + U"x";
    }
    const auto start = std::chrono::steady_clock::now();
    const std::vector<bool> breaks = LineBreakOpportunities(text);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    std::cout << text.size() << " code points in "
              << std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() << " ms\n";
    ASSERT_EQ(breaks.size(), text.size() + 1);
    EXPECT_TRUE(breaks.back());
}

}  // namespace
}  // namespace velmo

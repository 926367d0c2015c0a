// Layouts of text that is not one column per code point: wide characters,
// emoji, combining marks, tabs and scripts without spaces.

#include <gtest/gtest.h>

#include <string>

#include "domain/columns.h"
#include "domain/layout.h"
#include "domain/wrap.h"
#include "support/text_helpers.h"

namespace velmo {
namespace {

using testing::Lines, testing::Spaces;

const char32_t* const kTexts[] = {
    U"\u543E\u8F29\u306F \u732B\u3067\u3042\u308B\u3002 \u540D\u524D\u306F "
    U"\u307E\u3060\u7121\u3044\u3002 \u3069\u3053\u3067 \u751F\u308C\u305F\u304B "
    U"\u3068\u3093\u3068 \u898B\u5F53\u304C \u3064\u304B\u306C\u3002",  // Japanese with spaces
    U"\uFF34\uFF48\uFF45 \uFF51\uFF55\uFF49\uFF43\uFF4B \uFF42\uFF52\uFF4F\uFF57\uFF4E "
    U"\uFF46\uFF4F\uFF58 \uFF4A\uFF55\uFF4D\uFF50\uFF53 \uFF4F\uFF56\uFF45\uFF52",  // fullwidth
    U"Name:\tAnn Example\r\nTown:\tSmall Town\r\n\tindented\tand on",
    U"Cafe\u0301 re\u0301sume\u0301 nai\u0308ve, a\u0301 la carte, "
    U"cre\u0300me bru\u0302le\u0301e",
    U"\U0001F468\u200D\U0001F469\u200D\U0001F467 family \U0001F468\u200D\U0001F469\u200D"
    U"\U0001F467\U0001F468\u200D\U0001F469\u200D\U0001F467\U0001F468\u200D\U0001F469\u200D"
    U"\U0001F467 and more",
    U"Thumbs \U0001F44D up \U0001F44D\U0001F3FD for \u2764\uFE0F everyone",
    U"\u0928\u092E\u0938\u094D\u0924\u0947 \u0926\u0941\u0928\u093F\u092F\u093E, "
    U"\u092F\u0939 \u090F\u0915 \u092A\u0930\u0940\u0915\u094D\u0937\u0923 \u0939\u0948\u0964",
    U"\u6211\u80FD\u541E\u4E0B\u73BB\u7483\u800C\u4E0D\u4F24\u8EAB\u4F53\u3002"
    U"\u6211\u80FD\u541E\u4E0B\u73BB\u7483\u800C\u4E0D\u4F24\u8EAB\u4F53\u3002"
    U"\u6211\u80FD\u541E\u4E0B\u73BB\u7483\u800C\u4E0D\u4F24\u8EAB\u4F53\u3002"
    U"\u6211\u80FD\u541E\u4E0B\u73BB\u7483\u800C\u4E0D\u4F24\u8EAB\u4F53\u3002",  // no spaces
    U"\U0001F1EF\U0001F1F5\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7\U0001F1FA\U0001F1F8"
    U"\U0001F1E7\U0001F1F7\U0001F1EF\U0001F1F5\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7"
    U"\U0001F1FA\U0001F1F8\U0001F1E7\U0001F1F7\U0001F1EF\U0001F1F5\U0001F1E9\U0001F1EA"
    U"\U0001F1EB\U0001F1F7\U0001F1FA\U0001F1F8\U0001F1E7\U0001F1F7 flags",
    U"\u6771\u4EAC Example Ltd.",
};

// The positions of `text` where WrapText ended a line: the wrap only adds CR
// LFs, so walking both side by side finds them.
std::vector<size_t> Cuts(TextView text, TextView wrapped) {
    std::vector<size_t> cuts;
    size_t i = 0;
    for (size_t j = 0; j < wrapped.size();) {
        if (i < text.size() && wrapped[j] == text[i]) {
            ++i, ++j;
            continue;
        }
        EXPECT_EQ(wrapped.substr(j, 2), CrLf) << "the wrap changed the text";
        if (wrapped.substr(j, 2) != CrLf)
            break;
        cuts.push_back(i);
        j += 2;
    }
    return cuts;
}

// Every row of a framed layout is exactly as wide as the border, in columns,
// and no line of the wrap starts inside a grapheme cluster.
TEST(WideText, FramedRowsKeepTheirRightBorderInItsColumn) {
    for (const TextView text : kTexts) {
        for (const int width : {40, 60, 80, 100}) {
            SignatureOptions o{.fixedPart = Check::Off,
                               .bordered = Check::On,
                               .topRepeat = U"=",
                               .borderedWidth = width,
                               .leftSide = U"|"};
            const Text sig = ComposeSignature(o, U"", text);
            const std::vector<Text> rows = [&] {
                std::vector<Text> all;
                for (size_t p = 0, e; (e = sig.find(CrLf, p)) != Text::npos; p = e + 2)
                    all.emplace_back(sig.substr(p, e - p));
                return all;
            }();
            ASSERT_GE(rows.size(), 3u);
            for (size_t r = 1; r < rows.size(); ++r)
                EXPECT_EQ(Columns(rows[r]), static_cast<size_t>(width))
                    << width << ": " << ToUtf8(rows[r]);

            const Text expanded = TrimBlanks(ExpandTabs(text));
            const std::vector<bool> boundaries = ClusterBoundaries(expanded);
            for (const size_t cut : Cuts(expanded, WrapText(expanded, width - 4)))
                EXPECT_TRUE(boundaries[cut]) << width << ": " << ToUtf8(expanded.substr(cut));

            o.bordered = Check::Off;
            o.plainWidth = width;
            const Text plain = ComposeSignature(o, U"", text);
            for (size_t p = 0, e; (e = plain.find(CrLf, p)) != Text::npos; p = e + 2)
                EXPECT_LT(Columns(plain.substr(p, e - p)), static_cast<size_t>(width));
        }
    }
}

TEST(WideText, WorkedExamples) {
    // Rows: the width, the text, the text wrapped.
    const TextView rows[][3] = {
        // Wide characters take two columns each: 5 of them fill a limit of 11.
        {U"12", U"\u6771\u4EAC\u306F\u6674\u308C \u5927\u962A\u306F\u96E8",
         U"\u6771\u4EAC\u306F\u6674\u308C \r\n\u5927\u962A\u306F\u96E8\r\n"},
        // Without spaces, a line ends between ideographs, never before "。".
        {U"8", U"\u6771\u4EAC\u306F\u6674\u308C\u3002\u5927\u962A",
         U"\u6771\u4EAC\u306F\r\n\u6674\u308C\u3002\r\n\u5927\u962A\r\n"},
        // A combining mark takes no column and stays with its letter when an
        // over-long word is cut (after an empty line, as for any such word).
        {U"6", U"abcde\u0301fgh end", U"\r\nabcde\u0301\r\nfgh \r\nend\r\n"},
        // A line may end between two flags, never inside one: two fill a limit of 5.
        {U"6", U"\U0001F1EF\U0001F1F5\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7 x",
         U"\U0001F1EF\U0001F1F5\U0001F1E9\U0001F1EA\r\n\U0001F1EB\U0001F1F7 x\r\n"},
        // The last word's columns decide whether it fits: 東 takes two.
        {U"6", U"abc \u6771", U"abc \r\n\u6771\r\n"},
        {U"6", U"ab \u6771", U"ab \u6771\r\n"},
        // Latin text keeps its words whole, whatever the ideographs around it.
        {U"12", U"\u6771\u4EACTokyo-Osaka\u5927\u962A",
         U"\u6771\u4EAC\r\nTokyo-Osaka\r\n\u5927\u962A\r\n"},
    };
    for (const auto& [width, input, expected] : rows)
        EXPECT_EQ(WrapText(input, ToWholeNumber(width)), expected) << ToUtf8(input);
}

TEST(WideText, BorderUnitsRepeatByColumns) {
    struct Row {
        const char32_t* unit;
        int width;
        Text top;
    };
    const Row rows[] = {
        {U"\U0001F31F", 40, Repeat(U"\U0001F31F", 20)},
        {U"\u3013", 60, Repeat(U"\u3013", 30)},
        {U"e\u0301", 40, Repeat(U"e\u0301", 40)},
        // A wide unit that cannot reach the width is made up with spaces...
        {U"\u3013=", 40, Repeat(U"\u3013=", 13) + U" "},
        // ...a narrow one is not, as before.
        {U"=-=", 40, Repeat(U"=-=", 13)},
    };
    for (const Row& row : rows) {
        const SignatureOptions o{
            .bordered = Check::On, .topRepeat = row.unit, .borderedWidth = row.width};
        EXPECT_EQ(LayoutBordered(o, U"", U""), Lines({U"", row.top, row.top})) << ToUtf8(row.unit);
    }
}

}  // namespace
}  // namespace velmo

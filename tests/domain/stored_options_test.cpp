#include "domain/stored_options.h"

#include <gtest/gtest.h>

#include <tuple>

#include "domain/reg_document.h"

namespace velmo {
namespace {

// Every option away from its default.
const SignatureOptions kChanged = [] {
    SignatureOptions o{.changeInterval = 7, .plainWidth = 40, .borderedWidth = 100, .indent = 4};
    o.toClipboard = o.toFile = o.fixedPart = o.startOnTray = o.blankRows = Check::On;
    o.variablePart = o.bordered = o.rightSameAsLeft = Check::Off;
    o.order = PartOrder::VariableFirst;
    o.output = OutputForm::Html;
    o.top = TopBorder::Like;
    o.bottom = BottomBorder::Same;
    o.separator = PartSeparator::BlankLine;
    o.rightLikeChosen = true;
    o.topLike = U"~~ top — ~~";
    o.topRepeat = U"\"\\";
    o.bottomLike = U"  bottom  ";
    o.bottomRepeat = U"=-";
    o.leftSide = U"<|";
    o.rightSide = U"|>";
    return o;
}();

TEST(StoredOptionsTest, DecodeOfEncodeGivesTheOptionsBack) {
    const struct {
        SignatureOptions options;
        Text packed;
    } rows[] = {
        {{}, Text(DefaultProgramValues)},
        {kChanged, U" 7 1 1 0 1 1-1 0 1-1 0 0-1-1 0-1 0 0 0 2"},
        {{.changeInterval = 0,
          .toClipboard = Check::Greyed,
          .toFile = Check::Greyed,
          .output = OutputForm::Rtf,
          .plainWidth = 100,
          .topLike = Text(kMaxLikeLength, U'='),
          .borderedWidth = 80,
          .bottom = BottomBorder::Like,
          .leftSide = Text(kMaxUnitLength, U'<'),
          .indent = 0,
          .rightSameAsLeft = Check::Greyed,
          .separator = PartSeparator::SameAsBottom},
         U" 0 2 2 1 0 0 0 1 0 0-1 0 0 0 0 0 0-1 2 3"},
        {{.changeInterval = 8,
          .plainWidth = 80,
          .borderedWidth = 40,
          .bottom = BottomBorder::Repeat,
          .separator = PartSeparator::Unchosen},
         U" 8 0 0 1 0 0 0 1 0 0 0-1 0 0 0 0 0 0 1 1"},
        {{.separator = PartSeparator::SameAsTop}, U" 5 0 0 1 0 0 0 1 0 0 0 0 0 0 0 0-1 0 1 1"},
    };
    const Text paths[] = {U"C:\\Users\\Jörg\\sig „neu“.htm", U"/home/a/q.txt", U"/opt/Fixed.fxt"};
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(i);
        auto values = EncodeOptions(rows[i].options, paths[0], paths[1], paths[2]);
        EXPECT_EQ(values[0].text, rows[i].packed);
        // Names match in any case, the exact spelling first; others are passed over.
        if (i % 2 == 0) {
            values.insert(values.begin(), {{U"PROGRAM VALUES", U"no"}, {U"Program", U"no"}});
        } else {
            for (StoredValue& value : values)
                value.name = FoldCase(value.name);
        }
        for (int k = 0; k < 16000; ++k)  // and many other names, passed over
            values.push_back({U"Other " + ToText(k), U""});
        StoredSettings stored;
        ReadStoredValues(values, stored);
        EXPECT_EQ(stored.texts[kSignaturePathText] + stored.texts[kQuoteListPathText] +
                      stored.texts[kFixedPathText],
                  paths[0] + paths[1] + paths[2]);
        // Decoded over other options, so that nothing comes from them.
        EXPECT_EQ(DecodeOptions(stored, rows[(i + 1) % std::size(rows)].options), rows[i].options);
    }
}

// Twenty numbers of two characters each, a blank, a sign or a digit then a digit, or a digit
// then a blank; what follows the 40th character is not read. A shorter text or a field that is
// no number (':' comes after '9', '/' before '0') is no stored form at all, and gives no options.
TEST(StoredOptionsTest, PackedNumbersAreTwoCharactersEach) {
    const Text digits = U"99-9+9 910-0 1 2 3 4 5 6 7 8 909 0 0 0 0";
    EXPECT_EQ(DecodeProgramValues(digits),
              (ProgramFlagArray{99, -9, 9, 9, 10, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 0, 0, 0, 0}));
    EXPECT_TRUE(DecodeOptions({digits, {}}));
    const Text good = U" 5 0 0 1 0 0 0 1 0 0 0 0 0 0-1 0 0 0 1";
    const ProgramFlagArray flags{5, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, -1, 0, 0, 0, 1, 2};
    for (const Text& read :
         {good + U" 2 ", good + U" 2\r\n 1", good + U"2 ", U"5 " + good.substr(2) + U" 2"}) {
        SCOPED_TRACE(ToUtf8(read));
        EXPECT_EQ(DecodeProgramValues(read), flags);
    }
    for (const Text& bad :
         {good, good + U" :", good + U"/1", good + U" -", good + U"  ", U" " + good + U" 1"}) {
        SCOPED_TRACE(ToUtf8(bad));
        EXPECT_EQ(DecodeProgramValues(bad), std::nullopt);
        EXPECT_FALSE(DecodeOptions({bad, {}}));
    }
}

// A stored form changed in one place (flag fields, text slots), decoded over
// the options it was made from: out of range numbers take the default or keep
// that option, widths and indents must be exactly a choice, longer texts are cut.
TEST(StoredOptionsTest, StoredNumbersAndTextsOutOfRange) {
    using Edits = std::vector<std::pair<size_t, Text>>;
    using B = BottomBorder;
    using S = PartSeparator;
    const std::tuple<const char*, Edits, Edits, void (*)(SignatureOptions&)> rows[] = {
        {"slider 9", {{0, U" 9"}}, {}, [](auto& o) { o.changeInterval = 5; }},
        {"slider -1", {{0, U"-1"}}, {}, [](auto& o) { o.changeInterval = 5; }},
        {"check box 3 and -1", {{1, U" 3"}, {4, U"-1"}}, {}, [](auto&) {}},
        {"any number sets a button", {{6, U" 1"}, {9, U" 2"}, {13, U"-9"}}, {}, [](auto&) {}},
        {"the last bottom button set",
         {{10, U"-1"}, {11, U"-1"}, {12, U" 0"}},
         {},
         [](auto& o) { o.bottom = B::Repeat; }},
        {"the last separator button set",
         {{14, U"-1"}, {15, U" 0"}, {17, U"-1"}},
         {},
         [](auto& o) { o.separator = S::SameAsBottom; }},
        {"no bottom button", {{12, U" 0"}}, {}, [](auto& o) { o.bottom = B::Unchosen; }},
        {"no separator button", {{15, U" 0"}}, {}, [](auto& o) { o.separator = S::Unchosen; }},
        {"output 0", {{19, U" 0"}}, {}, [](auto&) {}},
        {"output 4", {{19, U" 4"}}, {}, [](auto&) {}},
        {"width 55",
         {},
         {{0, U"55"}, {3, U"61"}},
         [](auto& o) { o.plainWidth = o.borderedWidth = 60; }},
        {"width with a blank or empty",
         {},
         {{0, U" 80"}, {3, U""}},
         [](auto& o) { o.plainWidth = o.borderedWidth = 60; }},
        {"width 060", {}, {{3, U"060"}}, [](auto& o) { o.borderedWidth = 60; }},
        {"indent 5", {}, {{7, U"5"}}, [](auto& o) { o.indent = 1; }},
        {"indent -1", {}, {{7, U"-1"}}, [](auto& o) { o.indent = 1; }},
        {"top Like",
         {},
         {{1, U"  " + Text(kMaxLikeLength + 1, U'~') + U"  "}},
         [](auto& o) { o.topLike = Text(kMaxLikeLength, U'~'); }},
        {"bottom Like",
         {},
         {{4, U"  " + Text(kMaxLikeLength, U'_')}},
         [](auto& o) { o.bottomLike = U"  " + Text(kMaxLikeLength - 2, U'_'); }},
        {"units",
         {},
         {{2, Text(7, U'u')}, {5, Text(8, U'u')}, {6, Text(9, U'u')}, {8, Text(7, U'u')}},
         [](auto& o) { o.topRepeat = o.bottomRepeat = o.leftSide = o.rightSide = Text(6, U'u'); }},
    };
    const std::vector<StoredValue> values = EncodeOptions(kChanged, U"", U"", U"");
    for (const auto& [what, flags, texts, expect] : rows) {
        SCOPED_TRACE(what);
        StoredSettings stored;
        ReadStoredValues(values, stored);
        for (const auto& [field, text] : flags)
            stored.programValues.replace(2 * field, 2, text);
        for (const auto& [slot, text] : texts)
            stored.texts[slot] = text;
        SignatureOptions expected = kChanged;
        expect(expected);
        EXPECT_EQ(DecodeOptions(stored, kChanged), expected);
    }
}

}  // namespace
}  // namespace velmo

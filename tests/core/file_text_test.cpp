#include "core/file_text.h"

#include <gtest/gtest.h>

namespace velmo {
namespace {

TEST(DecodeFileTextTest, Utf8) {
    EXPECT_EQ(DecodeFileText(""), U"");
    EXPECT_EQ(DecodeFileText("plain ASCII\r\n"), U"plain ASCII\r\n");
    EXPECT_EQ(DecodeFileText("Gr\xC3\xBC\xC3\x9F"
                             "e \xE2\x80\x94 \xF0\x9F\x98\x80"),
              U"Grüße — \U0001F600");
}

TEST(DecodeFileTextTest, LeadingByteOrderMarkIsSkipped) {
    EXPECT_EQ(DecodeFileText("\xEF\xBB\xBF"
                             "caf\xC3\xA9"),
              U"café");
    EXPECT_EQ(DecodeFileText("\xEF\xBB\xBF"), U"");
    // Only a leading one is a mark; later it is text.
    EXPECT_EQ(DecodeFileText("a\xEF\xBB\xBF"), U"a\uFEFF");
    EXPECT_EQ(DecodeFileText("\xEF\xBB\xBF\xEF\xBB\xBF"
                             "a"),
              U"\uFEFFa");
}

TEST(DecodeFileTextTest, NonUtf8ReadsAsWindows1252) {
    EXPECT_EQ(DecodeFileText("\x93quoted\x94 caf\xe9"), U"\u201Cquoted\u201D café");
    EXPECT_EQ(DecodeFileText("\x80 \x85 \x96 \x99 \xFF"), U"€ … – ™ ÿ");
    EXPECT_EQ(DecodeFileText("\x81\x8D"), U"\u0081\u008D");
}

TEST(DecodeFileTextTest, OneBadSequenceMakesTheWholeFileWindows1252) {
    // Valid UTF-8 up to the last byte: mixing the two readings within one file
    // would be guessing, so the whole file goes one way.
    EXPECT_EQ(DecodeFileText("caf\xC3\xA9 \xE9"), U"cafÃ© é");
    EXPECT_EQ(DecodeFileText("truncated \xC3"), U"truncated Ã");
    EXPECT_EQ(DecodeFileText("overlong \xC0\xAF"), U"overlong À¯");
    EXPECT_EQ(DecodeFileText("surrogate \xED\xA0\x80"), U"surrogate í\u00A0€");
    EXPECT_EQ(DecodeFileText("stray \xA9 continuation"), U"stray © continuation");
}

TEST(DecodeFileTextTest, ByteOrderMarkKeepsUtf8DespiteBadBytes) {
    EXPECT_EQ(DecodeFileText("\xEF\xBB\xBF"
                             "caf\xC3\xA9 \xE9"),
              U"café \uFFFD");
}

TEST(EncodeFileTextTest, WritesUtf8WithoutByteOrderMark) {
    EXPECT_EQ(EncodeFileText(U""), "");
    EXPECT_EQ(EncodeFileText(U"a\r\nb"), "a\r\nb");
    EXPECT_EQ(EncodeFileText(U"\u201Cquoted\u201D café"),
              "\xE2\x80\x9Cquoted\xE2\x80\x9D caf\xC3\xA9");
    // What UTF-8 cannot carry is replaced, not dropped.
    EXPECT_EQ(EncodeFileText(Text{U'a', char32_t{0xD800}, U'b'}),
              "a\xEF\xBF\xBD"
              "b");
}

TEST(FileTextTest, RoundTrip) {
    for (const Text& text :
         {Text{}, Text{U"\"Grüße — Ελληνικά\"\r\n"}, Text{U"€ \U0001F600 漢字"},
          Text{U"\u0081\u008D control"}, Text{U"\uFEFFstarts like a mark"}, Text{U"\uFEFF"}}) {
        SCOPED_TRACE(ToUtf8(text));
        EXPECT_EQ(DecodeFileText(EncodeFileText(text)), text);
    }
}

}  // namespace
}  // namespace velmo

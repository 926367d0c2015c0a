#include "platform/file_text.h"

#include <gtest/gtest.h>

namespace velmo {
namespace {

using namespace std::literals;

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

TEST(DecodeFileTextTest, BytesThatAreNotUtf8ReadAsWindows1252) {
    const struct {
        std::string_view bytes;
        TextView text;
    } rows[] = {
        // With no multi-byte UTF-8 in the file, every byte above ASCII is Windows-1252.
        {"truncated \xC3", U"truncated Ã"},
        {"overlong \xC0\xAF", U"overlong À¯"},
        {"surrogate \xED\xA0\x80", U"surrogate í\u00A0€"},
        {"stray \xA9 continuation", U"stray © continuation"},
        // Stray bytes in a UTF-8 file: only they are Windows-1252.
        {"caf\xC3\xA9 \xE9", U"café é"},
        {"\xE2\x82\xAC \xF0\x9F\x98\x80 \x80", U"€ \U0001F600 €"},
        // A cut sequence is one fault, however many bytes are left of it.
        {"\xC3\xA9\xC3\xA9 \xF0\x9F\x98", U"éé ð\u0178\u02DC"},
        // More faults than UTF-8 characters: a Windows-1252 file in which a
        // letter before a symbol happens to form UTF-8 ("ß“").
        {"\x84Gru\xDF\x93 caf\xE9", U"„Gruß“ café"},
        // A byte-order mark declares UTF-8 whatever the count; the lead bytes
        // C2, DF and F5, the bounds of the second byte after E0, ED, F0 and F4.
        {"\xEF\xBB\xBF\xC3\xA9 \xE9\xE9", U"é éé"},
        {"\xEF\xBB\xBF\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF|"
         "\xE0\x9F\xED\xA0\xF0\x8F\xF4\x90\xF5\x80\x80\x80",
         U"\u0080\u07FF\u0800\uD7FF\U00010000\U0010FFFF|à\u0178í\u00A0ð\u008Fô\u0090õ€€€"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(ToUtf8(row.text));
        EXPECT_EQ(DecodeFileText(row.bytes), row.text);
    }
}

TEST(DecodeFileTextTest, Utf16BehindAByteOrderMark) {
    const struct {
        std::string_view bytes;
        TextView text;
    } rows[] = {
        {"\xFF\xFE"
         "C\0a\0f\0\xE9\0=\xD8\0\xDE\r\0\n\0"sv,
         U"Café\U0001F600\r\n"},
        {"\xFE\xFF\0C\xD8=\xDE\0"sv, U"C\U0001F600"},
        {"\xFE\xFF"sv, U""},
        // Unpaired surrogates and a last odd byte.
        {"\xFF\xFE\0\xDC"
         "a\0=\xD8"
         "b\0=\xD8"sv,
         U"\uFFFDa\uFFFDb\uFFFD"},
        {"\xFF\xFE"
         "a\0b"sv,
         U"a\uFFFD"},
        // The bounds of the surrogates; low ones alone; a pair cut short.
        {"\xFE\xFF\xD8\0\xDC\0\xDB\xFF\xDF\xFF\xDF\xFF\xDC\0\xDC\0\xD8\0\xDC"sv,
         U"\U00010000\U0010FFFF\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(ToUtf8(row.text));
        EXPECT_EQ(DecodeFileText(row.bytes), row.text);
    }
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

TEST(FileTextTest, ASavedFileKeepsItsUtf8AndReadsTheSame) {
    const struct {
        std::string_view read;
        std::string_view saved;
    } rows[] = {
        {"caf\xC3\xA9 \x93ok\x94 \xE2\x80\x94",
         "caf\xC3\xA9 \xE2\x80\x9Cok\xE2\x80\x9D \xE2\x80\x94"},
        {"\xFF\xFE"
         "a\0\xE9\0"sv,
         "a\xC3\xA9"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.saved);
        const std::string saved = EncodeFileText(DecodeFileText(row.read));
        EXPECT_EQ(saved, row.saved);
        EXPECT_EQ(DecodeFileText(saved), DecodeFileText(row.read));
    }
}

}  // namespace
}  // namespace velmo

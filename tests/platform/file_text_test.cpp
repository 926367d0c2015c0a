#include "platform/file_text.h"

#include <gtest/gtest.h>

namespace velmo {
namespace {

using namespace std::literals;

// Read as UTF-8, or as a byte-order mark says; bytes that are not UTF-8 as
// Windows-1252. Whatever was read is saved so that it reads back the same:
// as UTF-8 with no byte-order mark, unless the text itself begins like one.
// (An octal escape ends a byte that a letter follows.)
TEST(FileTextTest, ReadAndSavedAgain) {
    const struct {
        std::string_view bytes;
        TextView text;
    } rows[] = {
        {"", U""},
        {"plain ASCII\r\n", U"plain ASCII\r\n"},
        {"Gr\xC3\xBC\xC3\237e \xE2\x80\x94 \xF0\x9F\x98\x80", U"Grüße — \U0001F600"},
        // Only a leading byte-order mark is one; later it is text.
        {"\xEF\xBB\277caf\xC3\xA9", U"café"},
        {"\xEF\xBB\xBF", U""},
        {"a\xEF\xBB\xBF", U"a\uFEFF"},
        {"\xEF\xBB\xBF\xEF\xBB\277a", U"\uFEFFa"},
        // No multi-byte UTF-8 in the file: all Windows-1252 (its gaps as C1 controls).
        {"\x93quoted\x94 caf\xe9", U"\u201Cquoted\u201D café"},
        {"\x80 \x85 \x96 \x99 \xFF \x81\x8D", U"€ … – ™ ÿ \u0081\u008D"},
        {"truncated \xC3", U"truncated Ã"},
        {"overlong \xC0\xAF", U"overlong À¯"},
        {"surrogate \xED\xA0\x80", U"surrogate í\u00A0€"},
        {"stray \xA9 continuation", U"stray © continuation"},
        // Stray bytes in a UTF-8 file: only they are Windows-1252; a tie is UTF-8.
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
        // UTF-16 in either order; unpaired surrogates and a last odd byte are U+FFFD.
        {"\xFF\376C\0a\0f\0\xE9\0=\xD8\0\xDE\r\0\n\0"sv, U"Café\U0001F600\r\n"},
        {"\xFE\xFF\0C\xD8=\xDE\0"sv, U"C\U0001F600"},
        {"\xFE\xFF"sv, U""},
        {"\xFF\xFE\0\334a\0=\330b\0=\xD8"sv, U"\uFFFDa\uFFFDb\uFFFD"},
        {"\xFF\376a\0b"sv, U"a\uFFFD"},
        // The bounds of the surrogates; low ones alone; a pair cut short.
        {"\xFE\xFF\xD8\0\xDC\0\xDB\xFF\xDF\xFF\xDF\xFF\xDC\0\xDC\0\xD8\0\xDC"sv,
         U"\U00010000\U0010FFFF\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(ToUtf8(row.text));
        EXPECT_EQ(DecodeFileText(row.bytes), row.text);
        EXPECT_EQ(DecodeFileText(EncodeFileText(row.text)), row.text);
        // In pieces as small as can be, no character is cut or read twice.
        for (size_t size = 1; size <= 4; ++size) {
            FileTextPieces pieces(row.bytes, size);
            Text text;
            while (pieces.Next(text)) {
            }
            EXPECT_EQ(text, row.text) << "pieces of " << size;
        }
    }
    EXPECT_EQ(EncodeFileText(U"\u201Cq\u201D caf\u00e9"), "\xE2\x80\x9Cq\xE2\x80\x9D caf\xC3\xA9");
    EXPECT_EQ(EncodeFileText(U"\uFEFF"), "\xEF\xBB\xBF\xEF\xBB\xBF");
}

}  // namespace
}  // namespace velmo

#include "domain/reg_document.h"

#include <gtest/gtest.h>

#include "support/text_helpers.h"

namespace velmo {
namespace {

using testing::Lines;

// An export as a Windows registry editor writes it, with other programs' keys
// and values of other types around ours.
const Text kMixedExport = Lines({
    U"REGEDIT4",
    U"",
    U"[HKEY_CURRENT_USER\\Software\\Other]",
    U"@=\"default text\"",
    U"\"Count\"=dword:0000002a",
    U"",
    U"[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User]",
    U"",
    U"[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware]",
    U"\"Program Values\"=\" 5 0 0 1 0 0 0 1 0 0 0 0 0 0-1 0 0 0 1 1\"",
    U"\"Blob\"=hex:01,02,03,\\",
    U"  04,05",
    U"\"Path\"=\"C:\\\\Users\\\\Jörg \\\"J\\\"\\\\sig.txt\"",
    U"\"Fixed width\"=\"60\"",
    U"\"n\\\"0\\\\\"=\"two\\r\\nlines \\\"q\\\" a=b äöü 😀 ends in \\\\\"",
    U"\"\"=\"\"",
});

// The texts unescaped; values of other types keep their raw form.
TEST(RegDocumentTest, ParsesKeysAndValuesInFileOrder) {
    const std::optional<RegDocument> doc = ParseRegDocument(kMixedExport);
    ASSERT_TRUE(doc);
    ASSERT_EQ(doc->keys.size(), 3u);
    const std::vector<RegValue>& other = doc->keys[0].values;
    EXPECT_TRUE(other[0].isDefault && other[0].text == U"default text");
    const std::vector<RegValue>& ours = doc->keys[2].values;
    ASSERT_EQ(ours.size(), 6u);
    EXPECT_EQ(ours[2].text, U"C:\\Users\\Jörg \"J\"\\sig.txt");
    EXPECT_EQ(ours[4].name, U"n\"0\\");
    EXPECT_EQ(ours[4].text, U"two\r\nlines \"q\" a=b äöü 😀 ends in \\");
    EXPECT_TRUE(!ours[5].isDefault && ours[5].text == U"");
    EXPECT_TRUE(ParseRegDocument(U"REGEDIT4\r\n[a]\r\n"));  // the shortest key
}

// Read and formatted again, each file is the expected one, byte for byte.
TEST(RegDocumentTest, FilesFormatBackWithCrLf) {
    const Text head = U"REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmo]\r\n";
    const Text blob = head + U"\"Blob\"=hex:01,\\\r\n";
    const std::pair<Text, Text> rows[] = {
        {kMixedExport, kMixedExport},
        {CrLfToLf(kMixedExport), kMixedExport},
        {U"REGEDIT4", U"REGEDIT4\r\n"},
        {U"REGEDIT4\n\n", U"REGEDIT4\r\n"},
        {U"\uFEFFREGEDIT4\r\n; by hand\r\n\r\n  [HKEY_CURRENT_USER\\SOFTWARE\\Velmo] \r\n"
         U";\"Indent\"=\"4\"\r\n\t\"Indent\"=\"2\"\t\n",
         head + U"\"Indent\"=\"2\"\r\n"},
        // A backslash at the end of the file continues nothing; an empty line
        // after it is continued.
        {head + U"\"Blob\"=hex:01,\\", blob},
        {head + U"\"Blob\"=hex:01,\\\n", blob},
        {blob + U"\r\n", blob + U"\r\n"},
    };
    for (const auto& [text, expected] : rows) {
        SCOPED_TRACE(ToUtf8(text));
        const std::optional<RegDocument> doc = ParseRegDocument(text);
        ASSERT_TRUE(doc);
        EXPECT_EQ(FormatRegDocument(*doc), expected);
    }
}

// A file name byte that is not UTF-8 is kept as \xNN, so that the file stays
// UTF-8 and the path reads back as the same bytes; other escapes read as ever.
TEST(RegDocumentTest, PathBytesThatAreNotUtf8RoundTrip) {
    const Text head = U"REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmo]\r\n";
    const struct {
        Text value, written;  // written: as the value stands in the file
        bool formatsBack;
    } rows[] = {
        {FromPathBytes("/home/r\xE9n\xE9"
                       "e/s.txt"),
         U"\"/home/r\\xE9n\\xE9e/s.txt\"", true},
        {FromPathBytes("\xC3\xA9\xFF"), U"\"\u00E9\\xFF\"", true},
        {U"C:\\x41\\xff", U"\"C:\\\\x41\\\\xff\"", true},
        {FromPathBytes("x41\xE9xZ9x8"), U"\"\\x41\\xe9\\xZ9\\x8\"", false},
        // Hex digits of either case, up to f.
        {FromPathBytes("\xAF\xFA\xfa"), U"\"\\xaf\\xFA\\xfA\"", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(ToUtf8(row.written));
        const Text file = head + U"\"P\"=" + row.written + U"\r\n";
        const std::optional<RegDocument> doc = ParseRegDocument(file);
        ASSERT_TRUE(doc);
        EXPECT_EQ(doc->keys[0].values.at(0).text, row.value);
        if (row.formatsBack) {
            EXPECT_EQ(FormatRegDocument(*doc), file);
        }
    }
}

TEST(RegDocumentTest, TextsThatAreNotRegistryFilesAreRefused) {
    const Text key = U"[HKEY_CURRENT_USER\\SOFTWARE\\Velmo]\r\n";
    const std::pair<const char*, Text> bad[] = {
        {"empty file", U""},
        {"no header", key + U"\"a\"=\"b\"\r\n"},
        {"other header", U"Windows Registry Editor Version 5.00\r\n" + key},
        {"header not first", U"\r\nREGEDIT4\r\n" + key},
        {"lower-case header", U"regedit4\r\n" + key},
        {"value before any key", U"REGEDIT4\r\n\"a\"=\"b\"\r\n" + key},
        {"unterminated text", U"REGEDIT4\r\n" + key + U"\"a\"=\"b\r\n"},
        {"unterminated name", U"REGEDIT4\r\n" + key + U"\"abc=1\r\n"},
        {"escape at line end", U"REGEDIT4\r\n" + key + U"\"a\"=\"b\\\r\n"},
        {"garbage line", U"REGEDIT4\r\n" + key + U"hello world\r\n"},
        {"name quoted late", U"REGEDIT4\r\n" + key + U"Xn\"=\"b\"\r\n"},
        {"missing equals", U"REGEDIT4\r\n" + key + U"\"a\" \"b\"\r\n"},
        {"nothing after equals", U"REGEDIT4\r\n" + key + U"\"a\"=\r\n"},
        {"junk after text", U"REGEDIT4\r\n" + key + U"\"a\"=\"b\" x\r\n"},
        {"unclosed key", U"REGEDIT4\r\n[HKEY_CURRENT_USER\\SOFTWARE\r\n"},
        {"empty key", U"REGEDIT4\r\n[]\r\n"},
        {"binary", Text(U"\0\1\2REGEDIT4", 11)},
    };
    for (const auto& [what, text] : bad)
        EXPECT_FALSE(ParseRegDocument(text)) << what;
}

TEST(RegDocumentTest, FoldCaseLowersLatinLettersOnly) {
    EXPECT_EQ(FoldCase(U"AbCZ\\ÀÄÖÜ×Þ-ß1"), U"abcz\\àäöü×þ-ß1");
}

}  // namespace
}  // namespace velmo

#include "domain/text_fields.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmo {
namespace {

using Fields = std::vector<Text>;

Fields ReadAll(FieldReader& reader, size_t most) {
    Fields fields;
    while (!reader.AtEnd() && fields.size() <= most)  // a reader may stop advancing
        fields.push_back(reader.Next());
    return fields;
}

Fields ReadAll(TextView content) {
    FieldReader reader{Text(content)};
    return ReadAll(reader, content.size());
}

TEST(FieldReaderTest, Table) {
    const struct {
        TextView content;
        Fields fields;
    } rows[] = {
        {U"", {}},
        {U"\"one\"\r\n\"a, b\"\r\n\"  kept  \"", {U"one", U"a, b", U"  kept  "}},
        {U"\"\"\r\n\"x\"\r\n\"\",\"\"", {U"", U"x", U"", U""}},
        // Quoted fields span lines; every break inside becomes CR LF.
        {U"\"line 1\r\nline 2\"\r\n\"next\"\r\n", {U"line 1\r\nline 2", U"next"}},
        {U"\"a\nb\rc\r\nd\n\re\r\r\nf\"\n", {U"a\r\nb\r\nc\r\nd\r\n\r\ne\r\n\r\nf"}},
        // Plain fields keep their blanks and quotes; commas split them.
        {U"  indented \r\nsay \"hi\" now\r\nab\"c\r\n",
         {U"  indented ", U"say \"hi\" now", U"ab\"c"}},
        {U"Smith, John\r\na,,b", {U"Smith", U" John", U"a", U"", U"b"}},
        {U",\r\n", {U"", U""}},
        // The last line end starts no field; a blank line is an empty one.
        {U"\r\n\r\n\r\n", {U"", U"", U""}},
        {U"\"a\"\r\n\r\n\"b\"\r\n", {U"a", U"", U"b"}},
        {U"a\nb\n\rc\r", {U"a", U"b", U"", U"c"}},
        {U"\"a\"\r\"b\"\r", {U"a", U"b"}},
        // After a closing quote everything up to the delimiter is skipped.
        {U"\"a\"xyz\r\n\"b\" junk, \"c\"\r\n", {U"a", U"b", U"c"}},
        {U"\"a\" \"b\"\r\nc", {U"a", U"c"}},
        // Blanks before a quote go; without a quote they are the field.
        {U"   \"quoted\"\r\n\t\"tabbed\"\r\n", {U"quoted", U"tabbed"}},
        {U"a, \"b, c\"\r\n", {U"a", U"b, c"}},
        {U"   \r\n \t", {U"   ", U" \t"}},
        // Doubled quotes are one; an unclosed quote takes the rest.
        {U"\"\"\"\"\"\"\r\n\"x\"\r\n", {U"\"\"", U"x"}},
        {U"x\r\n\"open, with comma\r\n", {U"x", U"open, with comma\r\n"}},
        {U"\"", {U""}},
        {U" \"", {U""}},
        {U"\"ends in a doubled quote\"\"", {U"ends in a doubled quote\""}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ReadAll(row.content), row.fields) << ToUtf8(row.content);
        // Given in pieces of one to three characters (and empty ones), the
        // text reads the same: no piece ends a field or a line end early.
        for (size_t size = 1; size <= 3; ++size) {
            size_t pos = 0;
            bool empty = false;
            FieldReader pieces([&](Text& text) {
                if (pos >= row.content.size())
                    return false;
                empty = !empty;
                if (!empty) {
                    text += row.content.substr(pos, size);
                    pos += size;
                }
                return true;
            });
            EXPECT_EQ(ReadAll(pieces, row.content.size()), row.fields) << size;
        }
    }

    FieldReader reader(U"only\r\n");
    EXPECT_EQ(reader.Next(), U"only");
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(reader.Next(), U"");
    // Records read back as written: the fuzz_text_fields corpus checks it.
    EXPECT_EQ(QuotedRecord(U"say \"hi\"\r\n"), U"\"say \"\"hi\"\"\r\n\"\r\n");
}

}  // namespace
}  // namespace velmo

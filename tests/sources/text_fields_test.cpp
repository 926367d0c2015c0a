#include "domain/text_fields.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmo {
namespace {

using Fields = std::vector<Text>;

Fields ReadAll(TextView content) {
    FieldReader reader{Text(content)};
    Fields fields;
    while (!reader.AtEnd()) {
        fields.push_back(reader.Next());
        if (fields.size() > content.size() + 1)
            break;  // a reader that stops advancing
    }
    return fields;
}

TEST(FieldReaderTest, Table) {
    const struct {
        TextView content;
        Fields fields;
    } rows[] = {
        {U"", {}},
        {U"\"one\"\r\n\"two\"\r\n\"three\"\r\n", {U"one", U"two", U"three"}},
        {U"\"a, b\"\r\n\"  kept  \"", {U"a, b", U"  kept  "}},
        {U"\"\"\r\n\"x\"\r\n\"\"\r\n", {U"", U"x", U""}},
        {U"\"\",\"\"", {U"", U""}},
        // Quoted fields span lines; every break inside becomes CR LF.
        {U"\"line 1\r\nline 2\"\r\n\"next\"\r\n", {U"line 1\r\nline 2", U"next"}},
        {U"\"a\nb\rc\r\nd\"\n", {U"a\r\nb\r\nc\r\nd"}},
        {U"\"a\n\rb\"", {U"a\r\n\r\nb"}},
        {U"\"a\r\r\nb\"", {U"a\r\n\r\nb"}},
        // Plain fields keep their blanks and quotes; commas split them.
        {U"  indented \r\nsay \"hi\" now\r\nab\"c\r\n",
         {U"  indented ", U"say \"hi\" now", U"ab\"c"}},
        {U"Smith, John\r\n", {U"Smith", U" John"}},
        {U",\r\n", {U"", U""}},
        {U"a,,b", {U"a", U"", U"b"}},
        // The last line end starts no field; a blank line is an empty one.
        {U"abc", {U"abc"}},
        {U"abc\r\n\r\n", {U"abc", U""}},
        {U"\r\n\r\n\r\n", {U"", U"", U""}},
        {U"\"a\"\r\n\r\n\"b\"\r\n", {U"a", U"", U"b"}},
        {U"a\nb\n", {U"a", U"b"}},
        {U"a\rb\r", {U"a", U"b"}},
        {U"a\n\rb", {U"a", U"", U"b"}},
        {U"\"a\"\r\"b\"\r", {U"a", U"b"}},
        // After a closing quote everything up to the delimiter is skipped.
        {U"\"a\"xyz\r\nnext\r\n", {U"a", U"next"}},
        {U"\"a\" junk, \"b\"\r\n", {U"a", U"b"}},
        {U"\"a\" \"b\"\r\nc", {U"a", U"c"}},
        // Blanks before a quote go; without a quote they are the field.
        {U"   \"quoted\"\r\n\t\"tabbed\"\r\n", {U"quoted", U"tabbed"}},
        {U"a, \"b, c\"\r\n", {U"a", U"b, c"}},
        {U"   \r\n", {U"   "}},
        {U" \t", {U" \t"}},
        // Doubled quotes are one; an unclosed quote takes the rest.
        {U"\"\"\"\"\"\"\r\n\"x\"\r\n", {U"\"\"", U"x"}},
        {U"x\r\n\"open, with comma\r\n", {U"x", U"open, with comma\r\n"}},
        {U"\"", {U""}},
        {U" \"", {U""}},
        {U"\"ends in a doubled quote\"\"", {U"ends in a doubled quote\""}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ReadAll(row.content), row.fields) << ToUtf8(row.content);

    FieldReader reader(U"only\r\n");
    EXPECT_EQ(reader.Next(), U"only");
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(reader.Next(), U"");
}

TEST(QuotedRecordTest, WorkedExampleAndRoundTrip) {
    EXPECT_EQ(QuotedRecord(U"say \"hi\"\r\n"), U"\"say \"\"hi\"\"\r\n\"\r\n");
    const Fields fields = {
        U"",
        U"plain",
        U"\"",
        U"\"\"\"",
        U"a\"\"b",
        U"\"\r\n\"",
        U"\r\n",
        U"a,b",
        U"\", \"",
        U"  leading",
        U"   ",
        U"\ttab",
        U"  \"quote\"",
        U"Grüße \U0001F600 漢字",
        U"",
    };
    Text file;
    for (const Text& field : fields) {
        file += QuotedRecord(field);
        EXPECT_EQ(ReadAll(QuotedRecord(field)), Fields{field}) << ToUtf8(field);
    }
    EXPECT_EQ(ReadAll(file), fields);
}

}  // namespace
}  // namespace velmo

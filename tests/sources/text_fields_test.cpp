#include "domain/text_fields.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmo {
namespace {

std::vector<Text> ReadAll(TextView content) {
    FieldReader reader{Text(content)};
    std::vector<Text> fields;
    while (!reader.AtEnd()) {
        fields.push_back(reader.Next());
        if (fields.size() > content.size() + 1)
            break;  // a reader that stops advancing
    }
    return fields;
}

using Fields = std::vector<Text>;

TEST(FieldReaderTest, QuotedRecordsLoseTheirQuotes) {
    EXPECT_EQ(ReadAll(U"\"one\"\r\n\"two\"\r\n\"three\"\r\n"), (Fields{U"one", U"two", U"three"}));
    EXPECT_EQ(ReadAll(U"\"a, b\"\r\n"), (Fields{U"a, b"}));
    EXPECT_EQ(ReadAll(U"\"  kept  \"\r\n"), (Fields{U"  kept  "}));
}

TEST(FieldReaderTest, EmptyQuotedRecordIsAnEmptyField) {
    EXPECT_EQ(ReadAll(U"\"\"\r\n"), (Fields{U""}));
    EXPECT_EQ(ReadAll(U"\"\"\r\n\"x\"\r\n\"\"\r\n"), (Fields{U"", U"x", U""}));
    EXPECT_EQ(ReadAll(U"\"\"\n\"\"\n"), (Fields{U"", U""}));
    EXPECT_EQ(ReadAll(U"\"\",\"\""), (Fields{U"", U""}));
    EXPECT_EQ(ReadAll(U"\"\""), (Fields{U""}));
}

TEST(FieldReaderTest, QuotedRecordsSpanLines) {
    EXPECT_EQ(ReadAll(U"\"line 1\r\nline 2\"\r\n\"next\"\r\n"),
              (Fields{U"line 1\r\nline 2", U"next"}));
    EXPECT_EQ(ReadAll(U"\"\r\n\r\n\"\r\n"), (Fields{U"\r\n\r\n"}));
}

TEST(FieldReaderTest, LineBreaksInsideQuotesBecomeCrLf) {
    EXPECT_EQ(ReadAll(U"\"a\nb\rc\r\nd\"\n"), (Fields{U"a\r\nb\r\nc\r\nd"}));
    // LF CR is two breaks, not one.
    EXPECT_EQ(ReadAll(U"\"a\n\rb\""), (Fields{U"a\r\n\r\nb"}));
    EXPECT_EQ(ReadAll(U"\"a\r\r\nb\""), (Fields{U"a\r\n\r\nb"}));
}

TEST(FieldReaderTest, PlainLinesAreOneFieldEach) {
    EXPECT_EQ(ReadAll(U"one\r\ntwo\r\nthree\r\nfour\r\nfive\r\n"),
              (Fields{U"one", U"two", U"three", U"four", U"five"}));
    // Blanks belong to a plain field, and quotes inside it are ordinary text.
    EXPECT_EQ(ReadAll(U"  indented \r\nsay \"hi\" now\r\nab\"c\r\n"),
              (Fields{U"  indented ", U"say \"hi\" now", U"ab\"c"}));
}

TEST(FieldReaderTest, CommasSplitPlainLines) {
    EXPECT_EQ(ReadAll(U"a,b\r\nc\r\n"), (Fields{U"a", U"b", U"c"}));
    EXPECT_EQ(ReadAll(U"Smith, John\r\n"), (Fields{U"Smith", U" John"}));
    EXPECT_EQ(ReadAll(U",\r\n"), (Fields{U"", U""}));
    EXPECT_EQ(ReadAll(U"a,\r\n"), (Fields{U"a", U""}));
    EXPECT_EQ(ReadAll(U"a,,b"), (Fields{U"a", U"", U"b"}));
}

TEST(FieldReaderTest, FinalLineEndStartsNoField) {
    EXPECT_EQ(ReadAll(U""), Fields{});
    EXPECT_EQ(ReadAll(U"abc"), (Fields{U"abc"}));
    EXPECT_EQ(ReadAll(U"abc\r\n"), (Fields{U"abc"}));
    EXPECT_EQ(ReadAll(U"abc\r\n\r\n"), (Fields{U"abc", U""}));
    EXPECT_EQ(ReadAll(U"\r\n"), (Fields{U""}));
    EXPECT_EQ(ReadAll(U"\"abc\"\r\n"), (Fields{U"abc"}));
}

TEST(FieldReaderTest, BlankLinesAreEmptyFields) {
    EXPECT_EQ(ReadAll(U"a\r\n\r\nb\r\n"), (Fields{U"a", U"", U"b"}));
    EXPECT_EQ(ReadAll(U"\r\n\r\n\r\n"), (Fields{U"", U"", U""}));
    EXPECT_EQ(ReadAll(U"\"a\"\r\n\r\n\"b\"\r\n"), (Fields{U"a", U"", U"b"}));
}

TEST(FieldReaderTest, LfAndCrOnlyFiles) {
    EXPECT_EQ(ReadAll(U"a\nb\n"), (Fields{U"a", U"b"}));
    EXPECT_EQ(ReadAll(U"a\rb\r"), (Fields{U"a", U"b"}));
    EXPECT_EQ(ReadAll(U"a\n\nb"), (Fields{U"a", U"", U"b"}));
    EXPECT_EQ(ReadAll(U"a\n\rb"), (Fields{U"a", U"", U"b"}));
    EXPECT_EQ(ReadAll(U"\"a\"\n\"b\"\n"), (Fields{U"a", U"b"}));
    EXPECT_EQ(ReadAll(U"\"a\"\r\"b\"\r"), (Fields{U"a", U"b"}));
}

TEST(FieldReaderTest, TextAfterClosingQuoteIsSkipped) {
    EXPECT_EQ(ReadAll(U"\"a\"xyz\r\nnext\r\n"), (Fields{U"a", U"next"}));
    EXPECT_EQ(ReadAll(U"\"a\"   \r\n"), (Fields{U"a"}));
    EXPECT_EQ(ReadAll(U"\"a\" junk, \"b\"\r\n"), (Fields{U"a", U"b"}));
    EXPECT_EQ(ReadAll(U"\"a\" \"b\"\r\nc"), (Fields{U"a", U"c"}));
    EXPECT_EQ(ReadAll(U"\"a\"tail"), (Fields{U"a"}));
}

TEST(FieldReaderTest, BlanksBeforeAQuoteAreSkipped) {
    EXPECT_EQ(ReadAll(U"   \"quoted\"\r\n\t\"tabbed\"\r\n"), (Fields{U"quoted", U"tabbed"}));
    EXPECT_EQ(ReadAll(U"a, \"b, c\"\r\n"), (Fields{U"a", U"b, c"}));
    // Without a quote after them the blanks are the field.
    EXPECT_EQ(ReadAll(U"   \r\n"), (Fields{U"   "}));
}

TEST(FieldReaderTest, DoubledQuotesInsideQuotesAreOneQuote) {
    EXPECT_EQ(ReadAll(U"\"say \"\"hi\"\"\"\r\n"), (Fields{U"say \"hi\""}));
    EXPECT_EQ(ReadAll(U"\"\"\"\"\r\n"), (Fields{U"\""}));
    EXPECT_EQ(ReadAll(U"\"\"\"\"\"\"\r\n\"x\"\r\n"), (Fields{U"\"\"", U"x"}));
}

TEST(FieldReaderTest, UnterminatedQuoteTakesTheRest) {
    EXPECT_EQ(ReadAll(U"\"abc\r\ndef"), (Fields{U"abc\r\ndef"}));
    EXPECT_EQ(ReadAll(U"x\r\n\"open, with comma\r\n"), (Fields{U"x", U"open, with comma\r\n"}));
    EXPECT_EQ(ReadAll(U"\""), (Fields{U""}));
    EXPECT_EQ(ReadAll(U"\"ends in a doubled quote\"\""), (Fields{U"ends in a doubled quote\""}));
}

TEST(FieldReaderTest, NextAtTheEndGivesNothing) {
    FieldReader reader(U"only\r\n");
    EXPECT_EQ(reader.Next(), U"only");
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(reader.Next(), U"");
    EXPECT_TRUE(reader.AtEnd());

    FieldReader empty(U"");
    EXPECT_TRUE(empty.AtEnd());
    EXPECT_EQ(empty.Next(), U"");
}

TEST(QuotedRecordTest, WritesQuotesAndLineEnd) {
    EXPECT_EQ(QuotedRecord(U""), U"\"\"\r\n");
    EXPECT_EQ(QuotedRecord(U"abc"), U"\"abc\"\r\n");
    EXPECT_EQ(QuotedRecord(U"a\r\nb"), U"\"a\r\nb\"\r\n");
    EXPECT_EQ(QuotedRecord(U"say \"hi\""), U"\"say \"\"hi\"\"\"\r\n");
}

TEST(QuotedRecordTest, RoundTripsThroughTheReader) {
    const Fields fields = {
        U"",
        U"plain",
        U"\"",
        U"\"\"",
        U"\"\"\"",
        U"\"quoted\"",
        U"a\"\"b",
        U"\"\r\n\"",
        U"line 1\r\nline 2\r\nline 3",
        U"\r\n",
        U"ends with a break\r\n",
        U"\r\nstarts with a break",
        U"a,b",
        U",",
        U"\", \"",
        U"  leading blanks",
        U"trailing blanks  ",
        U"   ",
        U"\ttab",
        U"  \"blanks then quote\"",
        U"Grüße — Ελληνικά",
        U"emoji \U0001F600 and CJK 漢字",
        U"",
    };
    Text file;
    for (const Text& field : fields)
        file += QuotedRecord(field);
    EXPECT_EQ(ReadAll(file), fields);

    // Each on its own too, so one bad field cannot hide behind its neighbours.
    for (const Text& field : fields) {
        EXPECT_EQ(ReadAll(QuotedRecord(field)), Fields{field});
    }
}

}  // namespace
}  // namespace velmo

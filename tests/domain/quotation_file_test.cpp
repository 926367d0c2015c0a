#include "domain/quotation_file.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmo {
namespace {

using Quotations = std::vector<Text>;

// The text in pieces of `size` characters, as a file is decoded.
FieldReader::MoreText Pieces(TextView text, size_t size) {
    return [text, size, pos = size_t{0}](Text& out) mutable {
        if (pos >= text.size())
            return false;
        out += text.substr(pos, size);
        pos += size;
        return true;
    };
}

Quotations ReadAll(TextView text, size_t size) {
    QuotationReader reader(QuotationFormOf(Pieces(text, size)), Pieces(text, size));
    Quotations out;
    while (std::optional<Text> q = reader.Next())
        out.push_back(std::move(*q));
    return out;
}

TEST(QuotationFileTest, Table) {
    const struct {
        TextView content;
        QuotationForm form;
        Quotations quotations;
    } rows[] = {
        // Fortune files as they come: several lines, the last % or none.
        {U"One line.\n%\nTwo\n  lines, indented.\n%\n",
         QuotationForm::Fortune,
         {U"One line.", U"Two\r\n  lines, indented."}},
        {U"A\n%\nB", QuotationForm::Fortune, {U"A", U"B"}},
        {U"A\n%\nB\n", QuotationForm::Fortune, {U"A", U"B"}},
        {U"A\n%", QuotationForm::Fortune, {U"A"}},
        {U"A\r\n%\r\nB\r\nC\r\n%\r\n", QuotationForm::Fortune, {U"A", U"B\r\nC"}},
        // Empty quotations between two % lines go; blank lines inside stay.
        {U"%\n%\nA\n%\n\n%\n  \n%\nB\n", QuotationForm::Fortune, {U"A", U"B"}},
        {U"\nA\n\n\nB\n\n%\n", QuotationForm::Fortune, {U"A\r\n\r\n\r\nB"}},
        // A % with anything else on its line is text.
        {U"100% sure\n %\n% \n%%\n%\nB\n",
         QuotationForm::Fortune,
         {U"100% sure\r\n %\r\n% \r\n%%", U"B"}},
        // A fortune that starts with a quote mark, commas and all.
        {U"\"Yes, no,\" he said.\n%\n", QuotationForm::Fortune, {U"\"Yes, no,\" he said."}},
        {U"%", QuotationForm::Fortune, {}},
        // Velmo's own list: quoted records, commas inside kept.
        {U"\"a, b\"\r\n\"two\r\nlines\"\r\n\"\"\r\n",
         QuotationForm::QuoteList,
         {U"a, b", U"two\r\nlines"}},
        {U"  \r\n \"x\",y\r\n", QuotationForm::QuoteList, {U"x", U"y"}},
        // Anything else: one quotation a line, blank lines skipped.
        {U"Hello, world.\nSecond \"one\"\r\n\r\n  \nlast",
         QuotationForm::Lines,
         {U"Hello, world.", U"Second \"one\"", U"last"}},
        {U"a\rb\r\r\nc", QuotationForm::Lines, {U"a", U"b", U"c"}},
        {U"", QuotationForm::Lines, {}},
    };
    for (const auto& row : rows) {
        // Pieces of one and two characters split CR LF and "%\n" anywhere.
        for (const size_t size : {size_t{1}, size_t{2}, size_t{1000}}) {
            SCOPED_TRACE(ToUtf8(row.content) + " in pieces of " + std::to_string(size));
            EXPECT_EQ(QuotationFormOf(Pieces(row.content, size)), row.form);
            EXPECT_EQ(ReadAll(row.content, size), row.quotations);
        }
        if (row.form != QuotationForm::Fortune)
            continue;
        // Found in the bytes, each range reads as the same one quotation.
        const std::string bytes = ToUtf8(row.content);
        Quotations found;
        ForEachFortuneRange(bytes, [&](size_t begin, size_t end) {
            const Text range = FromUtf8(bytes.substr(begin, end - begin));
            QuotationReader reader(QuotationForm::Fortune, Pieces(range, 1000));
            found.push_back(reader.Next().value_or(U"nothing"));
            EXPECT_FALSE(reader.Next());
        });
        EXPECT_EQ(found, row.quotations) << ToUtf8(row.content);
    }
}

// A file of 10,000 fortunes reads as 10,000 quotations in order, and the
// form is told at the first % line without taking the rest of the text.
TEST(QuotationFileTest, TenThousandFortunes) {
    Text file;
    for (int i = 1; i <= 10000; ++i)
        file += U"Fortune " + ToText(i) + U",\n  by someone.\n%\n";
    int taken = 0;
    FieldReader::MoreText pieces = Pieces(file, 64);
    EXPECT_EQ(QuotationFormOf([&](Text& out) { return ++taken, pieces(out); }),
              QuotationForm::Fortune);
    EXPECT_EQ(taken, 1);
    const Quotations all = ReadAll(file, 4096);
    ASSERT_EQ(all.size(), 10000u);
    EXPECT_EQ(all.front(), U"Fortune 1,\r\n  by someone.");
    EXPECT_EQ(all.back(), U"Fortune 10000,\r\n  by someone.");
}

}  // namespace
}  // namespace velmo

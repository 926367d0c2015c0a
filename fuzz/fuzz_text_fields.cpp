// The field format of the quote list and the fixed text (the input): any file
// reads without a hang or a crash, and what is read survives being written.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "domain/output_forms.h"
#include "domain/quote_list.h"
#include "domain/text_fields.h"
#include "fuzz_checks.h"
#include "platform/file_text.h"

namespace velmo::fuzz {
namespace {

constexpr int kMaxFixedLines = 15;  // the longest fixed text the program keeps

std::vector<Text> ReadFields(const Text& content) {
    FieldReader reader(content);
    std::vector<Text> fields;
    while (!reader.AtEnd()) {
        // Every field but the first takes at least its delimiter.
        Require(fields.size() <= content.size(), "the field reader stops advancing");
        fields.push_back(reader.Next());
    }
    return fields;
}

}  // namespace
}  // namespace velmo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmo;
    using namespace velmo::fuzz;
    const Text content =
        DecodeFileText(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::vector<Text> fields = ReadFields(content);
    // Fields are no longer than the file with its breaks made CR LF, hold no
    // break but CR LF, and read back as written when quoted.
    Text records;
    for (const Text& field : fields) {
        Require(field.size() <= content.size() * 2, "a field is longer than the file");
        for (const Text& line : SplitSignatureLines(field))
            Require(line.find_first_of(U"\r\n") == Text::npos, "a field holds a bare CR or LF");
        records += QuotedRecord(field);
    }
    Require(ReadFields(records) == fields, "quoted records do not read back as written");

    // The list holds every field, the first 200 as entries and the rest given
    // aside in order, and a reload into the list already read (as the program
    // does) of its written text keeps nothing of the first reading.
    const auto readList = [](const Text& text, QuoteList& list, Text& kept) {
        FieldReader reader(text);
        kept.clear();
        ReadQuoteList(reader, list, [&kept](const Text& field) { kept += QuotedRecord(field); });
    };
    QuoteList list;
    Text kept;
    readList(content, list, kept);
    Require(list.EntryCount >= 0 && list.EntryCount <= QuoteList::kMaxEntries &&
                static_cast<size_t>(list.EntryCount) + ReadFields(kept).size() == fields.size(),
            "the quote list lost or invented entries");
    QuoteList again = list;
    Text keptAgain;
    readList(QuoteListText(list) + kept, again, keptAgain);
    Require(
        again.EntryCount == list.EntryCount && again.Entries == list.Entries && keptAgain == kept,
        "the written quote list reads back changed");

    // The fixed text is the fields joined by CR LF, refused past 15 of them, and
    // one of at most 15 lines survives being saved and read again.
    const std::optional<Text> text = ReadFixedLines(content, kMaxFixedLines);
    Text joined;
    for (size_t i = 0; i < fields.size(); ++i)
        joined += (i > 0 ? Text(CrLf) : Text()) + fields[i];
    Require(fields.size() > kMaxFixedLines ? !text : text == joined,
            "the fixed text is not its records joined by line breaks");
    // Its only breaks are CR LF pairs (above), so LFs count the lines.
    if (!text || std::ranges::count(*text, U'\n') >= kMaxFixedLines)
        return 0;
    const FixedLines lines = FixedLinesText(*text, kMaxFixedLines);
    const std::optional<Text> saved = ReadFixedLines(lines.text, kMaxFixedLines);
    Require(!lines.dropped && saved == text, "the saved fixed text reads back changed");
    return 0;
}

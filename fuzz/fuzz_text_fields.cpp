// The field format of the quote list and the fixed text: any file must read
// without a hang or a crash, and what is read must survive being written
// back. The input is the file's bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "domain/text_fields.h"
#include "domain/variable_entries.h"
#include "fuzz_checks.h"
#include "platform/file_text.h"

namespace velmo::fuzz {
namespace {

// The longest fixed text the program keeps.
constexpr int kMaxFixedLines = 15;

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

// Fields are no longer than the file with its breaks made CR LF, hold no
// break but CR LF, and read back as written when quoted.
void CheckFields(const std::vector<Text>& fields, const Text& content) {
    Text records;
    for (const Text& field : fields) {
        Require(field.size() <= content.size() * 2, "a field is longer than the file");
        for (size_t i = 0; i < field.size(); ++i) {
            const bool inPair =
                field.substr(i, 2) == CrLf || (i > 0 && field.substr(i - 1, 2) == CrLf);
            Require(inPair || (field[i] != U'\r' && field[i] != U'\n'),
                    "a field holds a bare CR or LF");
        }
        records += QuotedRecord(field);
    }
    Require(ReadFields(records) == fields, "quoted records do not read back as written");
}

// The list holds every field, and a reload into the list already read (as
// the program does) of its written text keeps nothing of the first reading.
void CheckQuoteList(const Text& content, size_t fieldCount) {
    VariableEntries list;
    ReadQuoteList(content, list);
    Require(list.EntryCount >= 0 && list.EntryCount <= VariableEntries::kMaxEntries &&
                static_cast<size_t>(list.EntryCount) + list.KeptAside.size() == fieldCount,
            "the quote list lost or invented entries");
    VariableEntries again = list;
    ReadQuoteList(QuoteListText(list), again);
    Require(again.EntryCount == list.EntryCount && again.KeptAside == list.KeptAside,
            "the written quote list reads back with another count");
    for (int i = 1; i <= list.EntryCount; ++i)
        Require(again.At(i) == list.At(i), "the written quote list reads back changed");
}

// The fixed text is the fields joined by CR LF, refused past 15 of them, and
// one of at most 15 lines survives being saved and read again.
void CheckFixedText(const Text& content, const std::vector<Text>& fields) {
    const std::optional<Text> text = ReadFixedLines(content, kMaxFixedLines);
    Text joined;
    for (size_t i = 0; i < fields.size(); ++i)
        joined += (i > 0 ? Text(CrLf) : Text()) + fields[i];
    Require(fields.size() > kMaxFixedLines ? !text : text == joined,
            "the fixed text is not its records joined by line breaks");
    size_t lines = 1;
    for (size_t p = 0; text && (p = text->find(CrLf, p)) != Text::npos; p += 2)
        ++lines;
    if (!text || lines > kMaxFixedLines)
        return;
    bool dropped = true;
    const std::optional<Text> again =
        ReadFixedLines(FixedLinesText(*text, kMaxFixedLines, dropped), kMaxFixedLines);
    Require(!dropped && again == text, "the saved fixed text reads back changed");
}

}  // namespace
}  // namespace velmo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmo;
    using namespace velmo::fuzz;
    const Text content =
        DecodeFileText(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::vector<Text> fields = ReadFields(content);
    CheckFields(fields, content);
    CheckQuoteList(content, fields.size());
    CheckFixedText(content, fields);
    return 0;
}

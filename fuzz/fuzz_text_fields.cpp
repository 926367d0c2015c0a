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

// Line breaks come out of the reader as CR LF, never alone.
bool BreaksAreCrLf(TextView text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'\r' && (i + 1 >= text.size() || text[i + 1] != U'\n'))
            return false;
        if (text[i] == U'\n' && (i == 0 || text[i - 1] != U'\r'))
            return false;
    }
    return true;
}

void CheckFields(const std::vector<Text>& fields, const Text& content) {
    Text records;
    for (const Text& field : fields) {
        Require(field.size() <= content.size() * 2, "a field is longer than the file");
        Require(BreaksAreCrLf(field), "a field holds a bare CR or LF");
        records += QuotedRecord(field);
    }
    Require(ReadFields(records) == fields, "quoted records do not read back as written");
}

void CheckQuoteList(const Text& content, size_t fieldCount) {
    VariableEntries list;
    ReadQuoteList(content, list);
    Require(list.EntryCount >= 0 && list.EntryCount <= VariableEntries::kMaxEntries,
            "the entry count is outside 0 to 200");
    Require(static_cast<size_t>(list.EntryCount) + list.KeptAside.size() == fieldCount,
            "the quote list lost or invented entries");

    // Read into the list already read, as a reload does: nothing of the
    // first reading may stay.
    VariableEntries again = list;
    ReadQuoteList(QuoteListText(list), again);
    Require(again.EntryCount == list.EntryCount && again.KeptAside == list.KeptAside,
            "the written quote list reads back with another count");
    for (int i = 1; i <= list.EntryCount; ++i)
        Require(again.At(i) == list.At(i), "the written quote list reads back changed");
}

void CheckFixedText(const Text& content, const std::vector<Text>& fields) {
    const std::optional<Text> text = ReadFixedLines(content, kMaxFixedLines);
    if (fields.size() > static_cast<size_t>(kMaxFixedLines)) {
        Require(!text, "an over-long fixed text was read");
        return;
    }
    Require(text.has_value(), "a fixed text of few enough lines was refused");
    Text joined;
    for (size_t i = 0; i < fields.size(); ++i)
        joined += (i > 0 ? Text(CrLf) : Text()) + fields[i];
    Require(*text == joined, "the fixed text is not its records joined by line breaks");

    // A text of at most 15 lines survives being saved and read again.
    size_t lines = 1;
    for (size_t p = 0; (p = text->find(CrLf, p)) != Text::npos; p += 2)
        ++lines;
    if (lines > static_cast<size_t>(kMaxFixedLines))
        return;
    bool dropped = true;
    const std::optional<Text> again =
        ReadFixedLines(FixedLinesText(*text, kMaxFixedLines, dropped), kMaxFixedLines);
    Require(!dropped, "a fixed text of few enough lines lost a line when saved");
    Require(again == text, "the saved fixed text reads back changed");
}

}  // namespace
}  // namespace velmo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmo;
    using namespace velmo::fuzz;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Text content = DecodeFileText(bytes);
    const std::vector<Text> fields = ReadFields(content);
    CheckFields(fields, content);
    CheckQuoteList(content, fields.size());
    CheckFixedText(content, fields);
    return 0;
}

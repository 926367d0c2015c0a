// The field format of the quote list and the fixed text: any file must read
// without a hang or a crash, and what is read must survive being written
// back. The input is the file's bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "domain/text_fields.h"
#include "fuzz_checks.h"
#include "platform/file_text.h"
#include "support/fakes.h"
#include "ui/fixed_text.h"
#include "ui/variable_file.h"

namespace velmo::fuzz {
namespace {

const Text kFolder = U"/opt/velmo/";

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

void CheckQuoteList(std::string_view bytes, size_t fieldCount) {
    testing::TestApp t;
    App& app = t.app;
    app.AppPath = kFolder;
    t.files.files[kFolder + Text(VariableFileName)] = std::string(bytes);

    LoadVariableFile(app);
    const VariableEntries& vars = app.vars;
    Require(t.messages.shown.empty(), "a readable quote list raised a message");
    Require(vars.EntryCount >= 0 && vars.EntryCount <= VariableEntries::kMaxEntries,
            "the entry count is outside 0 to 200");
    Require(static_cast<size_t>(vars.EntryCount) + vars.KeptAside.size() == fieldCount,
            "the quote list lost or invented entries");

    const VariableEntries loaded = vars;
    Require(SaveVariableFile(app), "the quote list could not be written back");
    LoadVariableFile(app);
    Require(vars.EntryCount == loaded.EntryCount && vars.KeptAside == loaded.KeptAside,
            "the written quote list reads back with another count");
    for (int i = 1; i <= vars.EntryCount; ++i)
        Require(vars.At(i) == loaded.At(i), "the written quote list reads back changed");
}

void CheckFixedText(std::string_view bytes, const std::vector<Text>& fields) {
    testing::TestApp t;
    App& app = t.app;
    app.AppPath = kFolder;
    const Text path = kFolder + Text(FixedTextFileName);
    t.files.files[path] = std::string(bytes);
    // With the part on, a refused file leads to the offer to find another
    // (answered No by the fake).
    app.form.chkFixed.Value = 1;

    LoadFixedText(app, Text());
    if (fields.size() > static_cast<size_t>(kMaxFixedLines)) {
        Require(t.messages.shown.size() == 1, "an over-long fixed text was not refused once");
        return;
    }
    Require(t.messages.shown.empty(), "a readable fixed text raised a message");
    Text joined;
    for (size_t i = 0; i < fields.size(); ++i)
        joined += (i > 0 ? Text(CrLf) : Text()) + fields[i];
    const Text text = app.form.txtFixed.Text;
    Require(text == joined, "the fixed text is not its records joined by line breaks");

    // A text of at most 15 lines survives being saved and read again.
    size_t lines = 1;
    for (size_t p = 0; (p = text.find(CrLf, p)) != Text::npos; p += 2)
        ++lines;
    if (lines > static_cast<size_t>(kMaxFixedLines))
        return;
    Require(SaveFixedText(app), "the fixed text could not be written");
    testing::TestApp again;
    again.app.AppPath = kFolder;
    again.files.files[path] = t.files.files[path];
    LoadFixedText(again.app, Text());
    Require(again.app.form.txtFixed.Text.get() == text, "the saved fixed text reads back changed");
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
    CheckQuoteList(bytes, fields.size());
    CheckFixedText(bytes, fields);
    return 0;
}

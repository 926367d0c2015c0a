// The settings file: any bytes must parse or be refused without a crash, a
// parsed document must format into a file that parses to the same document,
// a file that does not parse must be kept aside, and a whole program must
// start from a file that does and save its options back into it.
// The input is the file's bytes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "domain/reg_document.h"
#include "fuzz_checks.h"
#include "platform/file_text.h"
#include "platform/reg_file_store.h"
#include "support/fakes.h"
#include "ui/options.h"
#include "ui/settings.h"

namespace velmo::fuzz {
namespace {

bool SameDocument(const RegDocument& a, const RegDocument& b) {
    if (a.keys.size() != b.keys.size())
        return false;
    for (size_t k = 0; k < a.keys.size(); ++k) {
        const RegKey& x = a.keys[k];
        const RegKey& y = b.keys[k];
        if (x.path != y.path || x.values.size() != y.values.size())
            return false;
        for (size_t v = 0; v < x.values.size(); ++v) {
            const RegValue& p = x.values[v];
            const RegValue& q = y.values[v];
            if (p.name != q.name || p.isDefault != q.isDefault || p.text != q.text ||
                p.raw != q.raw)
                return false;
        }
    }
    return true;
}

void CheckRoundTrip(const Text& content) {
    const std::optional<RegDocument> doc = ParseRegDocument(content);
    if (!doc)
        return;
    const Text formatted = FormatRegDocument(*doc);
    const std::optional<RegDocument> again = ParseRegDocument(formatted);
    Require(again.has_value(), "a formatted document does not parse");
    Require(SameDocument(*doc, *again), "a formatted document parses to another document");
    Require(FormatRegDocument(*again) == formatted, "formatting is not stable");
}

void CheckProgram(std::string_view bytes) {
    testing::TestApp t;
    App& app = t.app;
    t.files.files[testing::kTestSettingsFile] = std::string(bytes);

    // As start-up does: read, then apply what was found.
    ReadSettings(app);
    if (!ParseRegDocument(DecodeFileText(bytes))) {
        // Not a registry file: the user is told once, and the file is kept.
        Require(t.messages.shown.size() == 1, "a corrupt settings file was not reported once");
        const auto kept = t.files.files.find(testing::kTestSettingsFile + U".bad");
        Require(kept != t.files.files.end() && kept->second == bytes,
                "a corrupt settings file was not kept aside");
        return;
    }
    if (!app.ProgramValues.empty())
        ApplyOptions(app);

    // Whatever was read, the options save into a file that reads back.
    const size_t messages = t.messages.shown.size();
    SaveSettings(app);
    Require(t.messages.shown.size() == messages, "saving the options raised a message");
    const auto saved = t.files.files.find(testing::kTestSettingsFile);
    Require(saved != t.files.files.end(), "saving the options wrote no file");
    const std::optional<RegDocument> doc = ParseRegDocument(DecodeFileText(saved->second));
    Require(doc.has_value(), "the saved settings file does not parse");
    // Looked up by the exact name: a hand-made value named in other letter
    // case takes the write and the name.
    const RegKey* key = doc->Find(FullKeyPath(SettingsKey));
    Require(key != nullptr, "the saved settings file has no settings key");
    const Text flags = EncodeProgramValues(ProgramFlags(ReadOptions(app.form)));
    for (const RegValue& value : key->values) {
        if (!value.isDefault && value.name == StoredValueNames[0]) {
            Require(value.text == flags, "the saved flags are not those of the options");
            break;  // the first of a name is the one read by name
        }
    }
}

}  // namespace
}  // namespace velmo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmo;
    using namespace velmo::fuzz;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckRoundTrip(DecodeFileText(bytes));
    CheckRoundTrip(FromUtf8(bytes));
    CheckProgram(bytes);
    return 0;
}

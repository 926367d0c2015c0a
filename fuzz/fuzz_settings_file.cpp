// The settings file: any bytes must parse or be refused without a crash, a
// parsed document must format into a file that parses to the same document,
// and the options read from the settings key of one that parses must save
// into a settings file that reads back to the same options.
// The input is the file's bytes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "domain/reg_document.h"
#include "domain/stored_options.h"
#include "fuzz_checks.h"
#include "platform/file_text.h"

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

// As start-up reads them: the string values of the settings key, matched by
// name, then decoded.
void CheckOptions(const Text& content) {
    const std::optional<RegDocument> doc = ParseRegDocument(content);
    if (!doc)
        return;
    const RegKey* key = doc->Find(U"HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware");
    if (key == nullptr)
        return;
    std::vector<StoredValue> values;
    for (const RegValue& value : key->values) {
        if (!value.isDefault && value.text)
            values.push_back({value.name, *value.text});
    }
    StoredSettings settings;
    ReadStoredValues(values, settings);
    if (const std::optional<SignatureOptions> options = DecodeOptions(settings))
        CheckStoredRoundTrip(*options);
}

}  // namespace
}  // namespace velmo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmo;
    using namespace velmo::fuzz;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Text content = DecodeFileText(bytes);
    CheckRoundTrip(content);
    CheckRoundTrip(FromUtf8(bytes));
    CheckOptions(content);
    return 0;
}

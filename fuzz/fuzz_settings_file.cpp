// The settings file: any bytes must parse or be refused without a crash, and
// a parsed document must format into a file that parses to the same one
// (saved options read back are fuzz_program_values' part). The input is the
// file's bytes.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <tuple>

#include "domain/reg_document.h"
#include "fuzz_checks.h"
#include "platform/file_text.h"

namespace velmo::fuzz {
namespace {

bool SameDocument(const RegDocument& a, const RegDocument& b) {
    const auto sameValue = [](const RegValue& p, const RegValue& q) {
        return std::tie(p.name, p.isDefault, p.text, p.raw) ==
               std::tie(q.name, q.isDefault, q.text, q.raw);
    };
    const auto sameKey = [&](const RegKey& x, const RegKey& y) {
        return x.path == y.path && std::ranges::equal(x.values, y.values, sameValue);
    };
    return std::ranges::equal(a.keys, b.keys, sameKey);
}

void CheckRoundTrip(const Text& content) {
    const std::optional<RegDocument> doc = ParseRegDocument(content);
    if (!doc)
        return;
    // Formatting the same document again gives the same file, so this is stable too.
    const std::optional<RegDocument> again = ParseRegDocument(FormatRegDocument(*doc));
    Require(again && SameDocument(*doc, *again), "a formatted document parses to another one");
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
    return 0;
}

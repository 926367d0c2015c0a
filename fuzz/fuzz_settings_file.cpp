// The settings file (the input): any bytes parse or are refused without a
// crash, and a parsed document formats into a file that parses to it again.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "domain/reg_document.h"
#include "fuzz_checks.h"
#include "platform/file_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmo;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const Text& content : {DecodeFileText(bytes), FromUtf8(bytes)}) {
        const std::optional<RegDocument> doc = ParseRegDocument(content);
        // Formatting the same document again gives the same file, so this is stable too.
        fuzz::Require(!doc || ParseRegDocument(FormatRegDocument(*doc)) == doc,
                      "a formatted document parses to another one");
    }
    return 0;
}

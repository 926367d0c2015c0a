// Stored options as a damaged store may give them decode without a crash into options that save
// and read back unchanged and still build a signature. Input: the packed flags up to the first
// LF, then the stored texts separated by 0x1F, all UTF-8.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "domain/layout.h"
#include "domain/stored_options.h"
#include "fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmo;
    using fuzz::Require;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const size_t lineEnd = bytes.find('\n');
    const Text packed = FromUtf8(bytes.substr(0, lineEnd));
    const std::optional<ProgramFlagArray> flags = DecodeProgramValues(packed);
    if (flags) {
        Require(packed.size() >= 40, "a packed string shorter than 40 characters decoded");
        // One digit per field: larger numbers keep their sign and become 9.
        ProgramFlagArray digits = *flags;
        for (auto& flag : digits)
            flag = std::clamp<std::int16_t>(flag, -9, 9);
        Require(DecodeProgramValues(EncodeProgramValues(*flags)) == digits,
                "a flag changed through encoding");
    }

    std::vector<StoredValue> values = {{Text(StoredValueNames[0]), packed}};
    if (lineEnd != std::string_view::npos) {
        const auto stored = fuzz::SplitBytes(bytes.substr(lineEnd + 1), '\x1f');
        for (size_t i = 0; i + 1 < StoredValueNames.size() && i < stored.size(); ++i)
            values.push_back({Text(StoredValueNames[i + 1]), FromUtf8(stored[i])});
    }
    StoredSettings settings;
    ReadStoredValues(values, settings);
    const std::optional<SignatureOptions> options = DecodeOptions(settings);
    Require(options.has_value() == flags.has_value(), "options decode exactly when their flags do");
    if (!options)
        return 0;
    // Saved as the program saves them and read back, they decode to the same.
    StoredSettings saved;
    ReadStoredValues(EncodeOptions(*options, U"/s.txt", U"/q.txt", U"/f.fxt"), saved);
    Require(DecodeOptions(saved) == options && saved.texts[kSignaturePathText] == U"/s.txt" &&
                saved.texts[kQuoteListPathText] == U"/q.txt" &&
                saved.texts[kFixedPathText] == U"/f.fxt",
            "saved options read back changed");
    // The options as decoded, whatever they are, still make a signature.
    ComposeSignature(*options, U"A. Writer\r\nSmall Town", U"The quick brown fox jumps over.");
    return 0;
}

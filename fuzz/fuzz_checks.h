#pragma once

// What the fuzz targets share: failing loudly, splitting their input into
// texts, and the round trip of options through a settings file.

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

#include "domain/reg_document.h"
#include "domain/signature_options.h"
#include "domain/stored_options.h"
#include "domain/text.h"

namespace velmo::fuzz {

// libFuzzer keeps any input that aborts, so a broken invariant is a finding
// like a sanitizer report.
inline void Require(bool ok, const char* what) {
    if (ok)
        return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

// The input cut at every `separator` byte.
inline std::vector<std::string_view> SplitBytes(std::string_view data, char separator) {
    std::vector<std::string_view> pieces;
    for (size_t p; (p = data.find(separator)) != std::string_view::npos; data.remove_prefix(p + 1))
        pieces.push_back(data.substr(0, p));
    pieces.push_back(data);
    return pieces;
}

// Options saved as the program saves them, written into a settings file and
// read back from it, decode to the same options. Holds for any options whose
// numbers are among the choices, whose texts are no longer than their options
// take and whose top "Like" text has no outer blanks (stored texts of it lose
// them).
inline void CheckStoredRoundTrip(const SignatureOptions& options) {
    const Text key = U"HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware";
    RegDocument document;
    RegKey& written = document.Ensure(key, U"HKEY_CURRENT_USER");
    for (StoredValue& value : EncodeOptions(options, U"/s.txt", U"/q.txt", U"/f.fxt"))
        written.values.push_back({std::move(value.name), false, std::move(value.text), {}});

    const std::optional<RegDocument> read = ParseRegDocument(FormatRegDocument(document));
    const RegKey* found = read ? read->Find(key) : nullptr;
    Require(found != nullptr, "a settings file of saved options does not parse");
    std::vector<StoredValue> values;
    for (const RegValue& value : found->values) {
        if (value.text)
            values.push_back({value.name, *value.text});
    }
    StoredSettings settings;
    ReadStoredValues(values, settings);
    Require(DecodeOptions(settings) == options, "saved options decode to other options");
    Require(settings.texts[kSignaturePathText] == U"/s.txt" &&
                settings.texts[kQuotePathText] == U"/q.txt" &&
                settings.texts[kFixedPathText] == U"/f.fxt",
            "saved paths read back changed");
}

}  // namespace velmo::fuzz

#pragma once

// A registry export in the REGEDIT4 syntax, held in memory: keys in file
// order, each with its values in the order they were first written. Values
// that are not strings (dword:, hex:) are kept as they stand.

#include <optional>
#include <vector>

#include "domain/text.h"

namespace velmo {

struct RegValue {
    Text name;  // empty with isDefault for the key's default value "@"
    bool isDefault = false;
    std::optional<Text> text;  // a string value
    Text raw;                  // the right-hand side of any other value, as written
    bool operator==(const RegValue&) const = default;
};

struct RegKey {
    Text path;  // full path, e.g. HKEY_CURRENT_USER\SOFTWARE\Velmo\User
    std::vector<RegValue> values;

    bool operator==(const RegKey&) const = default;
};

struct RegDocument {
    std::vector<RegKey> keys;

    // Keys match without regard to case, as in the registry.
    RegKey* Find(TextView path);
    // True when the key is listed or lies above a listed key.
    bool Contains(TextView path) const;
    // The key, appended (after any missing ancestors below `root`) when new.
    RegKey& Ensure(TextView path, TextView root);
    bool operator==(const RegDocument&) const = default;
};

// Nothing when the text is not a REGEDIT4 file; line ends may be LF or CR LF.
std::optional<RegDocument> ParseRegDocument(TextView content);

// The document as a REGEDIT4 file with CR LF line ends.
Text FormatRegDocument(const RegDocument& document);

// Lower-case for matching key and value names.
Text FoldCase(TextView text);

}  // namespace velmo

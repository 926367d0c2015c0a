#pragma once

// The stored form of the options: the packed "Program Values" flag string and
// thirteen named texts, three of them paths.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "domain/signature_options.h"
#include "domain/text.h"

namespace velmo {

struct StoredValue {
    Text name;
    Text text;
};

// What the settings key holds, as read, each value under its stored name.
struct StoredSettings {
    Text programValues;  // "Program Values": the options packed in 40 characters
    Text plainWidth;     // "Fixed width"
    Text topLike;        // "Top text like", read with its outer blanks trimmed
    Text topRepeat;      // "Top text repeat"
    Text borderedWidth;  // "Signature width"
    Text bottomLike;     // "Bottom text like"
    Text bottomRepeat;   // "Bottom text repeat"
    Text leftSide;       // "Left text like"
    Text indent;         // "Indent"
    Text rightSide;      // "Right text like"
    Text signaturePath;  // "Signature File"
    Text quoteListPath;  // "Variable File"
    Text fixedTextPath;  // "Fixed text File"
    // "No Repeats": "1" when on. Settings from before it have none: off.
    Text noRepeats;
};

struct StoredField {
    TextView name;
    Text StoredSettings::*value;
};

// Every stored value with its name, in the order they are written.
extern const std::array<StoredField, 14> StoredFields;

// The stored name of a value.
TextView StoredName(Text StoredSettings::*value);

// Takes the known values of a settings key; names match without regard to
// letter case, as in the registry, an exact spelling winning over another.
void ReadStoredValues(const std::vector<StoredValue>& values, StoredSettings& settings);

// The options of a stored form, or nothing when its "Program Values" cannot
// be decoded. A stored number no option can take leaves that option as it
// is in `base`; a width or indent that is not one of the choices takes its
// default.
std::optional<SignatureOptions> DecodeOptions(const StoredSettings& settings,
                                              const SignatureOptions& base = {});

// The stored form of the options and the three paths, in the order of
// StoredFields.
std::vector<StoredValue> EncodeOptions(const SignatureOptions& options, const Text& signaturePath,
                                       const Text& quoteListPath, const Text& fixedPath);

using ProgramFlagArray = std::array<std::int16_t, 20>;

// The twenty numbers of the packed string.
ProgramFlagArray ProgramFlags(const SignatureOptions& options);

// 40 characters, two per field: a blank or a minus sign, then one digit.
Text EncodeProgramValues(const ProgramFlagArray& flags);

// The first 40 characters as 2-character numbers (a sign or blank before
// the digit, or a blank after it); nothing when a field is not a number or
// the text is shorter.
std::optional<ProgramFlagArray> DecodeProgramValues(TextView packed);

// The first-run defaults encoded, with the Text output type selected.
inline constexpr TextView DefaultProgramValues = U" 5 0 0 1 0 0 0 1 0 0 0 0 0 0-1 0 0 0 1 1";

}  // namespace velmo

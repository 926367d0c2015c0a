#pragma once

// The options: SignatureOptions are the option controls of MainForm
// themselves, read live by every procedure. This file holds the first-run
// defaults, putting stored options back, and the packed flag string.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/text.h"

namespace velmo {

struct App;

using ProgramFlagArray = std::array<std::int16_t, 20>;

// The names of the option controls, in the order SetDefaults and the stored
// forms know them.
extern const std::array<std::string_view, 33> SignatureOptionNames;

// Puts the first-run default into every option that has one.
void SetDefaults(App& app);

// Puts ProgramValues and SettingValues back into the options and the paths.
// A ProgramValues that cannot be decoded is treated as absent: defaults.
void ApplyOptions(App& app);

// The twenty numbers of the packed string, collected from the option controls.
ProgramFlagArray CollectProgramFlags(const App& app);

// 40 characters, two per field: a blank or a minus sign, then one digit.
Text EncodeProgramValues(const ProgramFlagArray& flags);

// Nothing unless the text is exactly 40 characters of 2-character numbers.
std::optional<ProgramFlagArray> DecodeProgramValues(TextView packed);

// The first-run defaults encoded, with the Text output type selected.
inline constexpr TextView DefaultProgramValues = U" 5 0 0 1 0 0 0 1 0 0 0 0 0 0-1 0 0 0 1 1";

// The 41-asterisk default of both "Like" border texts.
inline constexpr TextView DefaultLikeBorder = U"*****************************************";

}  // namespace velmo

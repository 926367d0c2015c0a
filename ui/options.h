#pragma once

// The one mapping between the option controls of the window and the options
// value, in both directions, with the first-run defaults and putting stored
// options back.

#include "domain/signature_options.h"
#include "domain/stored_options.h"

namespace velmo {

struct App;
class MainForm;

// The options the window shows.
SignatureOptions ReadOptions(const MainForm& form);

// Shows a whole options value in the window. Every option control ends with
// the value the options give, whatever their change handlers do meanwhile.
void ShowOptions(MainForm& form, const SignatureOptions& options);

// Puts the first-run default into every option and forgets the signature file.
void SetDefaults(App& app);

// Puts ProgramValues and SettingValues back into the options and the paths.
// A ProgramValues that cannot be decoded is treated as absent: defaults.
void ApplyOptions(App& app);

}  // namespace velmo

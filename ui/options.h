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

// Shows the stored options and takes the stored paths. A "Program Values"
// that cannot be decoded is told, and the defaults are shown.
void ApplyOptions(App& app, const StoredSettings& stored);

}  // namespace velmo

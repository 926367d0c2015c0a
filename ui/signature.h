#pragma once

#include "domain/text.h"

namespace velmo {

struct App;

// Assembles the signature from the fixed part and the entry in use, stores it
// in SignatureText, copies it to the clipboard when asked, writes the
// signature file and shows it in the four previews.
void BuildSignature(App& app);

}  // namespace velmo

#pragma once

#include "domain/text.h"

namespace velmo {

struct App;

// Composes the signature from the options and the fixed text shown and the
// entry in use, copies it to the clipboard when asked, writes the signature
// file and shows it in the four previews, with its size.
void BuildSignature(App& app);
// The same with the entry the editor shows as the one in use.
void BuildSignatureWithShownEntry(App& app);

}  // namespace velmo

#pragma once

#include "core/text.h"

namespace velmo {

struct App;

// Assembles the signature from the fixed part and the entry in use, stores it
// in SignatureText, copies it to the clipboard when asked, writes the
// signature file and shows it in the four previews.
void BuildSignature(App& app);

// The unbordered layout: both parts wrapped at the plain width; empty when
// both parts are empty.
Text LayoutPlain(const App& app, TextView first, TextView second);

// The bordered layout: appends to SignatureText and returns the whole of it.
Text LayoutBordered(App& app, TextView first, TextView second);

inline constexpr TextView NoQuoteSelected = U"No Quote Selected";

}  // namespace velmo

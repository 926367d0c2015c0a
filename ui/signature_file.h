#pragma once

#include "domain/text.h"

namespace velmo {

struct App;

// Builds the chosen form of the signature and, when file output is on and a
// file is chosen, replaces the signature file with it.
void WriteSignatureFile(App& app);

// Offers to choose a signature file when the current one cannot be read.
void CheckSignatureFile(App& app);

}  // namespace velmo

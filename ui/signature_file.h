#pragma once

#include "domain/text.h"

namespace velmo {

struct App;

// Replaces the signature file with the last signature in the chosen form,
// when file output is on and a file is chosen; a failing file is told once.
void PublishSignatureFile(App& app);
// The same with the options the window shows.
void WriteSignatureFile(App& app);

// Offers to choose a signature file when the current one cannot be read.
void CheckSignatureFile(App& app);

}  // namespace velmo

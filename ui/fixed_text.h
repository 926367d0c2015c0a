#pragma once

#include "domain/text.h"
#include "service/text_files.h"

namespace velmo {

struct App;

// Reads the fixed text into txtFixed; an empty path means "Fixed.fxt" in the
// program folder. A file that cannot be read leads to the offer to find it
// while the fixed part is on.
void LoadFixedText(App& app, const Text& path);

// Writes txtFixed, at most 15 lines, to "Fixed.fxt" in the program folder;
// false (after telling the user) when it did not. An existing file whose
// lines were not read in this run is never replaced.
bool SaveFixedText(App& app);

// Looks whether another program changed "Fixed.fxt" since it was read or
// written here, as CheckVariableFile does for the quote file, with txtFixed's
// edits in place of the list's.
FileCheck CheckFixedText(App& app, bool beforeWrite);

void chkFixed_Click(App& app);
void txtFixed_Change(App& app);
void txtFixed_LostFocus(App& app);

void ConnectFixedTextHandlers(App& app);

}  // namespace velmo

#pragma once

#include "domain/text.h"
#include "service/text_files.h"

namespace velmo {

struct App;

// Reads the fixed text into txtFixedText; an empty path means "Fixed.fxt" in the
// program folder. A file that cannot be read leads to the offer to find it
// while the fixed part is on.
void LoadFixedText(App& app, const Text& path);

// Writes txtFixedText, at most 15 lines, to "Fixed.fxt" in the program folder;
// false (after telling the user) when it did not. An existing file whose
// lines were not read in this run is never replaced.
bool SaveFixedText(App& app);

// Looks whether another program changed "Fixed.fxt" since it was read or
// written here, as CheckQuoteList does for the quote list file, with txtFixedText's
// edits in place of the list's.
FileCheck CheckFixedText(App& app, bool beforeWrite);

// The fixed part's box: switched on by typing, off when emptied, saved when
// it loses the focus.
void ConnectFixedTextHandlers(App& app);

}  // namespace velmo

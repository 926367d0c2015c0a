#pragma once

#include "domain/text.h"
#include "service/text_files.h"

namespace velmo {

struct App;

// Applies the path rule and reads the quote list; a file that cannot be read
// leads to the offer to find it, retried until the user declines.
void LoadQuoteList(App& app);

// Writes the list back; false (after telling the user) when it did not, or
// when the user kept another program's change to the file.
bool SaveQuoteList(App& app);

// Looks whether another program changed the quote list file since it was read or
// written here. A changed file is read again when the list holds no edits of
// its own; else, `beforeWrite`, the user chooses to read it again, to replace
// it, or neither (Cancel); else the list is kept as it is. A file that cannot
// be read before a write is reported and gives Cancel.
FileCheck CheckQuoteList(App& app, bool beforeWrite);

// The quote list file button.
void ConnectQuoteListHandlers(App& app);

}  // namespace velmo

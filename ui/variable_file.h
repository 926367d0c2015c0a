#pragma once

#include "domain/text.h"

namespace velmo {

struct App;

// Applies the path rule and reads the quote list; a file that cannot be read
// leads to the offer to find it, retried until the user declines.
void LoadVariableFile(App& app);

// Writes the list back; false (after telling the user) when it did not.
bool SaveVariableFile(App& app);

// Lets the user pick the quote file; a cancel keeps the path.
void FindVariableFile(App& app);

void cmdVarFile_Click(App& app);

// Only a rooted path is honoured; any other means "Variable.txt" in the
// program folder.
void ApplyVariablePathRule(App& app);

void ConnectVariableFileHandlers(App& app);

}  // namespace velmo

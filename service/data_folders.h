#pragma once

// Where the program keeps the user's text files (the quote list, the fixed
// text), where earlier versions kept them, and the user's documents folder.

#include "domain/text.h"
#include "platform/ports.h"

namespace velmo {

inline constexpr TextView QuoteListFileName = U"Variable.txt";
inline constexpr TextView FixedTextFileName = U"Fixed.fxt";

// The folder the program keeps its text files in, ending in a separator.
Text ProgramDataFolder(ProgramPort& program);

// The program's folder, with its separator, when the text files were kept
// there before and no longer are; empty otherwise (the user's text files are
// still kept there, or the user cannot write in it, so none of theirs are),
// and for a named profile, which earlier versions did not know.
Text FormerDataFolder(ProgramPort& program, const Text& dataFolder);

// The user's documents folder with its separator; empty when the platform
// knows none.
Text DocumentsFolder(ProgramPort& program);

// Only a rooted quote list path is honoured; any other means "Variable.txt"
// in the data folder, and so does the one in the former folder (the default
// of earlier versions).
Text ResolvedQuoteListPath(const Text& stored, const Text& dataFolder, const Text& former = Text());

}  // namespace velmo

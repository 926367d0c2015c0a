#pragma once

#include <string>

#include "domain/fingerprint.h"
#include "domain/text.h"
#include "service/text_files.h"

namespace velmo {

struct App;

// One of the user's text files as Velmo last read or wrote it, and the words
// that name Velmo's copy of it in the question about a change.
struct KeptFile {
    const Text& path;
    Fingerprint& known;    // what the file held then
    bool edited;           // the copy has changes of its own since
    TextView changesHere;  // "the entries here have changes of their own"
    TextView replaceWith;  // "the entries here"
    TextView title;
};

// What became of the copy, the changed file's `bytes` for the caller to take
// when Reloaded, and the reason a file could not be read before a write, for
// the caller to report.
struct LookedAgain {
    FileCheck check = FileCheck::Current;
    std::string bytes;
    FileResult unreadable;
};

// Reads the file again and compares it with `known`. A changed file gives
// Reloaded when the copy holds no edits; with edits, before a write, the user
// chooses Reloaded, Overwrite (`known` then is the file's, so that the write
// goes ahead) or Cancel, and otherwise the copy stays Current. A file that
// cannot be read before a write gives Cancel.
LookedAgain LookAgainAtFile(App& app, const KeptFile& file, bool beforeWrite);

}  // namespace velmo

#pragma once

// The text files an earlier version kept in the program's folder, copied to
// the data folder. A failure comes back as a result; telling the user is the
// caller's part.

#include <vector>

#include "domain/text.h"
#include "platform/ports.h"

namespace velmo {

// The text files found in the former folder and copied to the data folder.
struct CopiedTextFiles {
    std::vector<Text> copied;  // file names
    Text failed;               // the full path of the one that could not be, if any
    FileResult result;         // why
};

// Copies the quote list and the fixed text from the former folder to the data
// folder, each only when it is there and the data folder has none yet. The
// files in the former folder are never moved, changed or removed.
CopiedTextFiles CopyFormerTextFiles(FileStorePort& files, const Text& former,
                                    const Text& dataFolder);

}  // namespace velmo

#pragma once

// The file the signature is written to: which paths may take it, and its
// bytes in each form.

#include <string>

#include "domain/signature_options.h"
#include "domain/text.h"
#include "platform/ports.h"

namespace velmo {

// A relative signature path taken as one in `folder`, never in the current
// folder of the process; a full or empty path stays as it is.
Text ResolveSignaturePath(const Text& path, const Text& folder);

// Why a path cannot take the signature.
enum class SignaturePathFault {
    None,
    NotFullPath,  // it would land in whatever folder the program was started from
    OwnFile,      // one of Velmo's own files, which the signature would replace
};

// The program's own text files, besides those the platform names.
struct OwnTextFiles {
    Text dataFolder;
    Text quoteListPath;  // as stored; honoured only when it is a full path
};

// Whether the signature may be written to `path`: a full path that is none of
// Velmo's own files (the quote lists, the fixed text, the settings, the
// program), compared as the file system names files, links followed.
SignaturePathFault CheckSignaturePath(FileStorePort& files, ProgramPort& program, const Text& path,
                                      const OwnTextFiles& own);

// The bytes of a signature file of the chosen form.
std::string SignatureFileBytes(OutputForm form, TextView signature);

// Replaces the signature file with the signature in the chosen form.
FileResult WriteSignatureFile(FileStorePort& files, const Text& path, OutputForm form,
                              TextView signature);

}  // namespace velmo

#pragma once

// The user's files: where each one is, and reading and writing each one. A
// failure comes back as a result; telling the user is the caller's part.

#include <optional>
#include <string>
#include <vector>

#include "domain/signature_options.h"
#include "domain/stored_options.h"
#include "domain/text.h"
#include "domain/variable_entries.h"
#include "platform/path_style.h"
#include "platform/ports.h"

namespace velmo {

inline constexpr TextView VariableFileName = U"Variable.txt";
inline constexpr TextView FixedTextFileName = U"Fixed.fxt";
inline constexpr int kMaxFixedLines = 15;

inline constexpr TextView UserKey = U"SOFTWARE\\Velmo\\User\\";
inline constexpr TextView SettingsKey = U"SOFTWARE\\Velmo\\User\\Freeware";

// The folder the program keeps its text files in, ending in a separator.
Text ProgramDataFolder(ProgramPort& program);

// The program's folder, with its separator, when the text files were kept
// there before and no longer are; empty otherwise (the user's text files are
// still kept there, or the user cannot write in it, so none of theirs are).
Text FormerDataFolder(ProgramPort& program, const Text& dataFolder);

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

// The user's documents folder with its separator; empty when the platform
// knows none.
Text DocumentsFolder(ProgramPort& program);

// Only a rooted quote list path is honoured; any other means "Variable.txt"
// in the data folder, and so does the one in the former folder (the default
// of earlier versions).
Text QuoteFilePath(const Text& stored, const Text& dataFolder, const Text& former = Text());

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
    Text quoteFile;  // as stored; honoured only when it is a full path
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

// Whether a quote list's entries past the 200th are read and kept, to be
// written back with the list, or left unread.
enum class LaterEntries { Kept, Unread };

// Reads the quote list into `list`, which is left as it was on a failure.
FileResult ReadQuoteFile(FileStorePort& files, const Text& path, VariableEntries& list,
                         LaterEntries later = LaterEntries::Kept);
// Takes `bytes`, read from the quote file at `path`, as the list.
void TakeQuoteFile(const Text& path, std::string_view bytes, VariableEntries& list,
                   LaterEntries later = LaterEntries::Kept);
// On success the list is what the file holds.
FileResult WriteQuoteFile(FileStorePort& files, const Text& path, VariableEntries& list);
// True when the list was changed since it was read from its file or written.
bool QuoteListEdited(const VariableEntries& list);

// How a file stands next to what was read from it or written to it last.
enum class FileSince { Same, Changed, Missing, Unreadable };

// Reads the file again to compare it with `known`: `bytes` gets what it holds
// when it Changed, `result` the reason when it is Unreadable.
FileSince CompareFile(FileStorePort& files, const Text& path, const Fingerprint& known,
                      std::string& bytes, FileResult& result);

// What became of the program's copy of a file (the quote list, the fixed
// text) after a look at the file.
enum class FileCheck {
    Current,    // the file holds what was read or written last, or is gone
    Reloaded,   // another program changed it, and the copy was read again
    Overwrite,  // changed, and the user chose to replace it with the copy
    Cancel,     // changed or unreadable: neither read nor to be written
};

enum class FixedRead { Ok, Unreadable, TooManyLines };

// Reads the lines of a fixed text file, joined by CR LF, into `text`;
// `result` says why a file could not be read. `read` gets what the file held.
FixedRead ReadFixedFile(FileStorePort& files, const Text& path, Text& text, FileResult& result,
                        Fingerprint* read = nullptr);
// The same for bytes already read.
FixedRead FixedTextOf(std::string_view bytes, Text& text);

// Writes at most kMaxFixedLines lines; `dropped` tells whether a line with
// text was left out, `written` gets what the file holds on success.
FileResult WriteFixedFile(FileStorePort& files, const Text& path, TextView text, bool& dropped,
                          Fingerprint& written);

// What the settings key holds; nothing when there is no settings key. Throws
// StoreFailure as the store does.
std::optional<StoredSettings> ReadSettingsKey(SettingsStorePort& store);

// The index of a random entry of a list of `count`, every one equally
// likely; 1 for an empty list.
int PickEntry(RandomPort& random, int count);

}  // namespace velmo

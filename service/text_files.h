#pragma once

// Reading and writing the quote list and the fixed text, and looking whether
// another program changed them. A failure comes back as a result; telling the
// user is the caller's part.

#include <string>
#include <string_view>

#include "domain/fingerprint.h"
#include "domain/quote_list.h"
#include "domain/text.h"
#include "platform/ports.h"

namespace velmo {

inline constexpr int kMaxFixedLines = 15;

// Whether a quote list's entries past the 200th are read and kept, to be
// written back with the list, or left unread.
enum class LaterEntries { Kept, Unread };

// Reads the quote list into `list`, which is left as it was on a failure.
FileResult ReadQuoteListFile(FileStorePort& files, const Text& path, QuoteList& list,
                             LaterEntries later = LaterEntries::Kept);
// Takes `bytes`, read from the quote list file at `path`, as the list.
void TakeQuoteListFile(const Text& path, std::string_view bytes, QuoteList& list,
                       LaterEntries later = LaterEntries::Kept);
// On success the list is what the file holds.
FileResult WriteQuoteListFile(FileStorePort& files, const Text& path, QuoteList& list);
// True when the list was changed since it was read from its file or written.
bool QuoteListEdited(const QuoteList& list);

// How a file stands next to what was read from it or written to it last.
enum class FileSince { Same, Changed, Missing, Unreadable };

// A second look at a file: how it stands, what it holds when it Changed, the
// reason when it is Unreadable.
struct FileLook {
    FileSince since = FileSince::Same;
    std::string bytes;
    FileResult file;
};
// Reads the file again to compare it with `known`.
FileLook CompareFile(FileStorePort& files, const Text& path, const Fingerprint& known);

// What became of the program's copy of a file (the quote list, the fixed
// text) after a look at the file.
enum class FileCheck {
    Current,    // the file holds what was read or written last, or is gone
    Reloaded,   // another program changed it, and the copy was read again
    Overwrite,  // changed, and the user chose to replace it with the copy
    Cancel,     // changed or unreadable: neither read nor to be written
};

enum class FixedRead { Ok, Unreadable, TooManyLines };

// A fixed text file as read: its lines joined by CR LF when Ok, the reason
// when Unreadable, and what the file held.
struct FixedFile {
    FixedRead outcome = FixedRead::Ok;
    Text text;
    FileResult file;
    Fingerprint read;
};
FixedFile ReadFixedFile(FileStorePort& files, const Text& path);
// The same for bytes already read.
FixedRead FixedTextOf(std::string_view bytes, Text& text);

// Writing a fixed text file: the outcome, whether a line with text was left
// out, and what the file holds on success.
struct FixedWrite {
    FileResult file;
    bool dropped = false;
    Fingerprint written;
};
// Writes at most kMaxFixedLines lines.
FixedWrite WriteFixedFile(FileStorePort& files, const Text& path, TextView text);

}  // namespace velmo

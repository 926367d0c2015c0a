#pragma once

#include <optional>

#include "domain/text.h"
#include "service/data_folders.h"
#include "service/signature_file.h"

namespace velmo {

struct App;

// The lists of types the file dialogs offer.
namespace filters {
inline const FileFilter AllFilesEntry{U"All Files (*.*)", {U"*"}};
inline const FileFilters TextFiles{
    {U"Text Files (*.txt)", {U"*.txt"}}, {U"Pegasus Mail (*.pms)", {U"*.pms"}}, AllFilesEntry};
inline const FileFilters HtmlFiles{{U"HTML Files (*.htm)", {U"*.htm", U"*.html"}}};
inline const FileFilters RichTextFiles{{U"Rich Text (*.rtf)", {U"*.rtf"}}};
inline const FileFilters AllFiles{AllFilesEntry};
inline const FileFilters HtmlTypeFiles{{U"HTML Files (*.htm)", {U"*.htm", U"*.html"}},
                                       AllFilesEntry};
inline const FileFilters RichTextTypeFiles{{U"Rich Text Files (*.rtf)", {U"*.rtf"}}, AllFilesEntry};
inline const FileFilters TextTypeFiles{{U"Text Files (*.txt)", {U"*.txt"}},
                                       {U"Pegasus Files (Inetsig*.pms)", {U"Inetsig*.pms"}},
                                       AllFilesEntry};
}  // namespace filters

// The same, where a cancelled dialog leaves `initial` as the answer.
Text OpenFileDialog(App& app, const Text& initial, const FileFilters& filters, const Text& title);

// Whether the signature may be written to `path`: a full path that is none of
// Velmo's own files (the quote lists, the fixed text, the settings, the
// program), compared as the file system names files, links followed.
SignaturePathFault CheckSignaturePath(App& app, const Text& path);

// Tells the user why the signature cannot go to `path`.
void ReportSignaturePath(App& app, SignaturePathFault fault, const Text& path);

// The user's documents folder with its separator; empty when the platform
// knows none.
Text DocumentsFolder(App& app);

// Where the signature file dialogs start: the current signature file's
// folder, or else the user's documents folder.
Text SignatureFolder(App& app);

// The signature file dialog, starting at `initial` (a full path or a folder).
// A relative answer is taken in the folder of `initial`; one of Velmo's own
// files is refused with a message. Nothing when cancelled or refused.
std::optional<Text> ChooseSignatureFile(App& app, const Text& initial, const FileFilters& filters);

// The signature file button and the three output types.
void ConnectOutputHandlers(App& app);

}  // namespace velmo

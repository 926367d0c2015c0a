#pragma once

#include <optional>

#include "domain/text.h"
#include "service/data_folders.h"
#include "service/signature_file.h"

namespace velmo {

struct App;

namespace filters {
inline constexpr TextView TextFiles =
    U"Text Files (*.txt)|*.txt|Pegasus Mail (*.pms)|*.pms|All Files (*.*)|*.*|";
inline constexpr TextView HtmlFiles = U"HTML Files (*.htm)|*.htm;*.html|";
inline constexpr TextView RichTextFiles = U"Rich Text (*.rtf)|*.rtf|";
inline constexpr TextView AllFiles = U"All Files (*.*)|*.*|";
inline constexpr TextView HtmlTypeFiles = U"HTML Files (*.htm)|*.htm;*.html|All Files (*.*)|*.*|";
inline constexpr TextView RichTextTypeFiles = U"Rich Text Files (*.rtf)|*.rtf|All Files (*.*)|*.*|";
inline constexpr TextView TextTypeFiles =
    U"Text Files (*.txt)|*.txt|Pegasus Files (Inetsig*.pms)|Inetsig*.pms|All Files (*.*)|*.*|";
}  // namespace filters

// The open-file dialog: the chosen path, or nothing when the user cancels or
// the dialog gives no name.
std::optional<Text> ChooseFile(App& app, const Text& initial, TextView filter, const Text& title);

// The same with the classic contract: a cancelled dialog returns `initial`.
Text OpenFileDialog(App& app, const Text& initial, TextView filter, const Text& title);

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
std::optional<Text> ChooseSignatureFile(App& app, const Text& initial, TextView filter);

void cmdSigFile_Click(App& app);
void optText_Click(App& app);
void optHTML_Click(App& app);
void optRTF_Click(App& app);

void ConnectOutputHandlers(App& app);

}  // namespace velmo

#pragma once

#include <optional>

#include "core/platform.h"
#include "core/text.h"

namespace velmo {

struct App;

namespace filters {
inline constexpr TextView Text =
    U"Text Files (*.txt)|*.txt|Pegasus Mail (*.pms)|*.pms|All Files (*.*)|*.*|";
inline constexpr TextView Html = U"HTML Files (*.htm)|*.htm|";
inline constexpr TextView RichText = U"Rich Text (*.rtf)|*.rtf|";
inline constexpr TextView All = U"All Files (*.*)|*.*|";
inline constexpr TextView HtmlType = U"HTML Files (*.htm)|*.htm|All Files (*.*)|*.*|";
inline constexpr TextView RichTextType = U"Rich Text Files (*.rtf)|*.rtf|All Files (*.*)|*.*|";
inline constexpr TextView TextType =
    U"Text Files (*.txt)|*.txt|Pegasus Files (Inetsig*.pms)|Inetsig*.pms|All Files (*.*)|*.*|";
}  // namespace filters

// The open-file dialog: the chosen path, or nothing when the user cancels or
// the dialog gives no name.
std::optional<Text> ChooseFile(App& app, const Text& initial, TextView filter, const Text& title);

// The same with the classic contract: a cancelled dialog returns `initial`.
Text OpenFileDialog(App& app, const Text& initial, TextView filter, const Text& title);

// The display form of a path: the root, "..." and the deepest folders with
// the file name, when the first dot lies beyond `limit` (0 means 55).
Text ShortenPath(TextView path, int limit, PathStyle style = NativePathStyle());

void cmdSigFile_Click(App& app);
void optText_Click(App& app);
void optHTML_Click(App& app);
void optRTF_Click(App& app);

void ConnectOutputHandlers(App& app);

}  // namespace velmo

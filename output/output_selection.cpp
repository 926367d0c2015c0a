#include "output/output_selection.h"

#include <algorithm>
#include <vector>

#include "core/app.h"
#include "output/signature_file.h"
#include "sources/fixed_text.h"
#include "sources/variable_file.h"

namespace velmo {

namespace {

TextView LastThree(TextView path) {
    return path.size() >= 3 ? path.substr(path.size() - 3) : path;
}

void ShowChosenFile(App& app, const Text& path) {
    app.SignatureFilePath = path;
    app.form.chkFile.Value = 1;
    // A new name is made a file at once; only a file that still cannot be
    // opened then leads to the recovery dialog.
    if (!app.ports.files.Exists(path))
        WriteSignatureFile(app);
    CheckSignatureFile(app);
    app.form.txtSigFile.Text = ShortenPath(app.SignatureFilePath, 55);
}

// A path that names its folder: rooted, or on Windows one from the root of
// the current drive or a network path ("\\server\share\...").
bool IsFullPath(TextView path) {
    const PathStyle style = NativePathStyle();
    return IsRootedPath(path, style) || (style == PathStyle::Windows && !path.empty() &&
                                         (path.front() == U'\\' || path.front() == U'/'));
}

// The folder part of a path with its separator; empty when there is none.
// Windows takes "/" as a separator too.
Text FolderPart(TextView path) {
    const size_t p =
        NativePathStyle() == PathStyle::Windows ? path.find_last_of(U"\\/") : path.rfind(U'/');
    return p == TextView::npos ? Text() : Text(path.substr(0, p + 1));
}

bool IsOwnFile(App& app, const Text& path) {
    std::vector<Text> own = app.ports.program.OwnFiles();
    own.push_back(app.AppPath + Text(FixedTextFileName));
    own.push_back(app.AppPath + Text(VariableFileName));
    if (IsFullPath(app.VariableFilePath))
        own.push_back(app.VariableFilePath);
    return std::any_of(own.begin(), own.end(), [&app, &path](const Text& file) {
        return !file.empty() && app.ports.files.SameFile(path, file);
    });
}

// A change of output type asks for a file of the new kind unless the current
// one already is one.
void ChangeOutputType(App& app, TextView extension, TextView filter) {
    if (LastThree(app.SignatureFilePath) == extension)
        return;
    const Text previous = app.SignatureFilePath;
    const Text folder = SignatureFolder(app);
    app.SignatureFilePath.clear();
    const std::optional<Text> chosen = ChooseSignatureFile(app, folder, filter);
    if (!chosen) {
        // Cancelled: the file in use stays in use.
        app.SignatureFilePath = previous;
        return;
    }
    ShowChosenFile(app, *chosen);
}

}  // namespace

SignaturePathFault CheckSignaturePath(App& app, const Text& path) {
    if (!IsFullPath(path))
        return SignaturePathFault::NotFullPath;
    if (IsOwnFile(app, path))
        return SignaturePathFault::OwnFile;
    return SignaturePathFault::None;
}

void ReportSignaturePath(App& app, SignaturePathFault fault, const Text& path) {
    if (fault == SignaturePathFault::None)
        return;
    const Text why =
        fault == SignaturePathFault::OwnFile
            ? Text(
                  U"is one of Velmo's own files (its quotations, fixed text, settings or "
                  U"program), which the signature would replace.")
            : Text(U"is not a full path: the folder the signature would go to is not known.");
    app.ports.messages.Show(path + Text(CrLf) + why + Text(CrLf) +
                                U"No signature is written to it. Choose another signature file.",
                            msgbox::OkExclamation, U"Signature File");
}

Text DocumentsFolder(App& app) {
    Text folder = app.ports.program.DocumentsFolder();
    if (!IsFullPath(folder))
        return Text();
    const char32_t separator = Separator(NativePathStyle());
    if (folder.back() != separator)
        folder += separator;
    return folder;
}

Text SignatureFolder(App& app) {
    if (CheckSignaturePath(app, app.SignatureFilePath) == SignaturePathFault::None) {
        Text folder = FolderPart(app.SignatureFilePath);
        if (!folder.empty())
            return folder;
    }
    return DocumentsFolder(app);
}

Text ResolveSignaturePath(const Text& path, const Text& folder) {
    if (path.empty() || IsFullPath(path) || folder.empty())
        return path;
    return folder + path;
}

std::optional<Text> ChooseSignatureFile(App& app, const Text& initial, TextView filter) {
    std::optional<Text> chosen =
        ChooseFile(app, initial, filter, app.form.CommonDialog1.DialogTitle);
    if (!chosen)
        return std::nullopt;
    const Text folder = IsFullPath(initial) ? FolderPart(initial) : Text();
    Text path = ResolveSignaturePath(*chosen, folder.empty() ? DocumentsFolder(app) : folder);
    if (const SignaturePathFault fault = CheckSignaturePath(app, path);
        fault != SignaturePathFault::None) {
        // Refused: the caller keeps the file in use.
        ReportSignaturePath(app, fault, path);
        return std::nullopt;
    }
    return path;
}

std::optional<Text> ChooseFile(App& app, const Text& initial, TextView filter, const Text& title) {
    std::optional<Text> chosen = app.ports.fileDialog.OpenFile(initial, Text(filter), title);
    if (chosen && chosen->empty())
        return std::nullopt;
    return chosen;
}

Text OpenFileDialog(App& app, const Text& initial, TextView filter, const Text& title) {
    return ChooseFile(app, initial, filter, title).value_or(initial);
}

Text ShortenPath(TextView path, int limit, PathStyle style) {
    if (limit == 0)
        limit = 55;
    const size_t firstDot = path.find(U'.');
    const long long dot = firstDot == TextView::npos ? 0 : static_cast<long long>(firstDot) + 1;
    if (dot <= limit)
        return Text(path);

    const size_t headLength = style == PathStyle::Windows ? 3 : 1;
    const Text head(path.substr(0, headLength));
    const char32_t separator = Separator(style);
    // Positions count from 1; p is the separator found from `start` on. The
    // walk starts at the head's last character: a tail taken from a separator
    // inside the head (the "\\" of a network path) would show the head twice.
    size_t start = headLength;
    while (true) {
        const size_t found = path.find(separator, start - 1);
        if (found == TextView::npos)
            return head + U"...";
        const size_t p = found + 1;
        start = p + 1;
        if (dot - static_cast<long long>(start) < limit) {
            return head + U"..." + Text(path.substr(p - 1, static_cast<size_t>(dot) + 3));
        }
    }
}

void cmdSigFile_Click(App& app) {
    const MainForm& form = app.form;
    // The current file when it may take the signature, else the folder to look in.
    const Text initial = CheckSignaturePath(app, app.SignatureFilePath) == SignaturePathFault::None
                             ? app.SignatureFilePath
                             : SignatureFolder(app);
    TextView filter;
    if (!app.SignatureFilePath.empty()) {
        const TextView ext = LastThree(app.SignatureFilePath);
        filter = ext == U"txt"   ? filters::Text
                 : ext == U"htm" ? filters::Html
                 : ext == U"rtf" ? filters::RichText
                                 : filters::All;
    } else {
        filter = form.optText.Value   ? filters::Text
                 : form.optHTML.Value ? filters::Html
                 : form.optRTF.Value  ? filters::RichText
                                      : filters::All;
    }
    const std::optional<Text> chosen = ChooseSignatureFile(app, initial, filter);
    // Cancelled or refused: nothing changes, and no folder is taken for the file.
    if (!chosen)
        return;
    ShowChosenFile(app, *chosen);
}

void optText_Click(App& app) {
    ChangeOutputType(app, U"txt", filters::TextType);
}
void optHTML_Click(App& app) {
    ChangeOutputType(app, U"htm", filters::HtmlType);
}
void optRTF_Click(App& app) {
    ChangeOutputType(app, U"rtf", filters::RichTextType);
}

void ConnectOutputHandlers(App& app) {
    MainForm& f = app.form;
    f.cmdSigFile.Click += [&app] { cmdSigFile_Click(app); };
    f.optText.Click += [&app] { optText_Click(app); };
    f.optHTML.Click += [&app] { optHTML_Click(app); };
    f.optRTF.Click += [&app] { optRTF_Click(app); };
}

}  // namespace velmo

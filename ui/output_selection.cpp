#include "ui/output_selection.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/path_style.h"
#include "service/data_folders.h"
#include "service/signature_file.h"
#include "ui/app.h"
#include "ui/fixed_text.h"
#include "ui/quote_list_file.h"
#include "ui/signature_file.h"

namespace velmo {

namespace {
std::optional<Text> ChooseFile(App& app, const Text& initial, const FileFilters& filters,
                               const Text& title, FileChoice choice = FileChoice::Existing);

TextView LastThree(TextView path) {
    return path.size() >= 3 ? path.substr(path.size() - 3) : path;
}

// The extension test looks at the last three letters, case and all; a name
// ending in "html" is an HTML file as much as one ending in "htm".
bool HasExtension(TextView path, TextView extension) {
    if (extension == U"htm" && path.size() >= 4 && path.substr(path.size() - 4) == U"html")
        return true;
    return LastThree(path) == extension;
}

void ShowChosenFile(App& app, const Text& path) {
    app.session.signaturePath = path;
    app.form.chkSignatureFile.Value = Check::On;
    // A new name is made a file at once; only a file that still cannot be
    // opened then leads to the recovery dialog.
    if (!app.ports.files.Exists(path))
        WriteSignatureFile(app);
    CheckSignatureFile(app);
    app.form.txtSignatureFilePath.Text =
        ShortenPath(app.session.signaturePath, 55, NativePathStyle());
}

// A change of output type asks for a file of the new kind unless the current
// one already is one.
void ChangeOutputType(App& app, OptionButton& type, TextView extension,
                      const FileFilters& filters) {
    OptionButton* const previousType = std::exchange(app.outputType, &type);
    if (previousType == &type || HasExtension(app.session.signaturePath, extension))
        return;
    const Text previous = app.session.signaturePath;
    const Text folder = SignatureFolder(app);
    app.session.signaturePath.clear();
    const std::optional<Text> chosen = ChooseSignatureFile(app, folder, filters);
    if (!chosen) {
        // Cancelled or refused: the file in use stays in use, and so does the
        // type the user had, or the next change would write the new form
        // into it. Stored options keep the pair they were saved with.
        app.session.signaturePath = previous;
        if (app.started && previousType != nullptr) {
            app.outputType = previousType;
            previousType->Value = true;
        }
        return;
    }
    ShowChosenFile(app, *chosen);
}

}  // namespace

SignaturePathFault CheckSignaturePath(App& app, const Text& path) {
    return CheckSignaturePath(app.ports.files, app.ports.program, path,
                              {app.session.dataFolder, app.session.quoteListPath});
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
                            message::Warning, U"Signature File");
}

Text DocumentsFolder(App& app) {
    return DocumentsFolder(app.ports.program);
}

Text SignatureFolder(App& app) {
    if (CheckSignaturePath(app, app.session.signaturePath) == SignaturePathFault::None) {
        Text folder = ContainingFolder(app.session.signaturePath, NativePathStyle());
        if (!folder.empty())
            return folder;
    }
    return DocumentsFolder(app);
}

std::optional<Text> ChooseSignatureFile(App& app, const Text& initial, const FileFilters& filters) {
    // The signature file may be one Velmo is to make.
    std::optional<Text> chosen = ChooseFile(
        app, initial, filters, app.form.dlgSignatureFile.DialogTitle, FileChoice::ExistingOrNew);
    if (!chosen)
        return std::nullopt;
    const PathStyle style = NativePathStyle();
    const Text folder = IsFullPath(initial, style) ? ContainingFolder(initial, style) : Text();
    Text path = ResolveSignaturePath(*chosen, folder.empty() ? DocumentsFolder(app) : folder);
    if (const SignaturePathFault fault = CheckSignaturePath(app, path);
        fault != SignaturePathFault::None) {
        // Refused: the caller keeps the file in use.
        ReportSignaturePath(app, fault, path);
        return std::nullopt;
    }
    return path;
}

namespace {

// The open-file dialog: the chosen path, or nothing when the user cancels or
// the dialog gives no name.
std::optional<Text> ChooseFile(App& app, const Text& initial, const FileFilters& filters,
                               const Text& title, FileChoice choice) {
    std::optional<Text> chosen = app.ports.fileDialog.OpenFile(initial, filters, title, choice);
    if (chosen && chosen->empty())
        return std::nullopt;
    return chosen;
}

}  // namespace

Text OpenFileDialog(App& app, const Text& initial, const FileFilters& filters, const Text& title) {
    return ChooseFile(app, initial, filters, title).value_or(initial);
}

namespace {

void cmdChooseSignatureFile_Click(App& app) {
    const MainForm& form = app.form;
    // The current file when it may take the signature, else the folder to look in.
    const Text initial =
        CheckSignaturePath(app, app.session.signaturePath) == SignaturePathFault::None
            ? app.session.signaturePath
            : SignatureFolder(app);
    const FileFilters* filter = nullptr;
    if (!app.session.signaturePath.empty()) {
        const Text& path = app.session.signaturePath;
        filter = HasExtension(path, U"txt")   ? &filters::TextFiles
                 : HasExtension(path, U"htm") ? &filters::HtmlFiles
                 : HasExtension(path, U"rtf") ? &filters::RichTextFiles
                                              : &filters::AllFiles;
    } else {
        filter = form.optText.Value   ? &filters::TextFiles
                 : form.optHTML.Value ? &filters::HtmlFiles
                 : form.optRTF.Value  ? &filters::RichTextFiles
                                      : &filters::AllFiles;
    }
    const std::optional<Text> chosen = ChooseSignatureFile(app, initial, *filter);
    // Cancelled or refused: nothing changes, and no folder is taken for the file.
    if (!chosen)
        return;
    ShowChosenFile(app, *chosen);
}

void optText_Click(App& app) {
    ChangeOutputType(app, app.form.optText, U"txt", filters::TextTypeFiles);
}

void optHTML_Click(App& app) {
    ChangeOutputType(app, app.form.optHTML, U"htm", filters::HtmlTypeFiles);
}

void optRTF_Click(App& app) {
    ChangeOutputType(app, app.form.optRTF, U"rtf", filters::RichTextTypeFiles);
}

}  // namespace

void ConnectOutputHandlers(App& app) {
    MainForm& f = app.form;
    for (OptionButton* type : {&f.optText, &f.optHTML, &f.optRTF}) {
        if (type->Value)
            app.outputType = type;
    }
    f.cmdChooseSignatureFile.Click += [&app] { cmdChooseSignatureFile_Click(app); };
    f.optText.Click += [&app] { optText_Click(app); };
    f.optHTML.Click += [&app] { optHTML_Click(app); };
    f.optRTF.Click += [&app] { optRTF_Click(app); };
}

}  // namespace velmo

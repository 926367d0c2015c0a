#include "ui/signature_file.h"

#include "ui/app.h"
#include "ui/options.h"
#include "ui/output_selection.h"

namespace velmo {

void WriteSignatureFile(App& app) {
    const SignatureOptions options = ReadOptions(app.form);
    if (!Included(options.toFile) || app.SignatureFilePath.empty())
        return;
    // A path that would land in an unknown folder or replace one of Velmo's
    // own files (a stored one, say) is never written; said once, as below.
    if (const SignaturePathFault fault = CheckSignaturePath(app, app.SignatureFilePath);
        fault != SignaturePathFault::None) {
        if (app.signatureWriteFailure != app.SignatureFilePath) {
            app.signatureWriteFailure = app.SignatureFilePath;
            ReportSignaturePath(app, fault, app.SignatureFilePath);
        }
        return;
    }

    const FileResult result = WriteSignatureFile(app.ports.files, app.SignatureFilePath,
                                                 options.output, app.SignatureText);
    if (result) {
        app.signatureWriteFailure.reset();
        return;
    }
    // One message for a failing file, not one for every scheduled change.
    if (app.signatureWriteFailure == app.SignatureFilePath)
        return;
    app.signatureWriteFailure = app.SignatureFilePath;
    app.ports.messages.Show(U"Unable to write the signature file" + Text(CrLf) +
                                app.SignatureFilePath + Text(CrLf) + FromUtf8(result.Message()),
                            message::Warning, U"Signature File");
}

void CheckSignatureFile(App& app) {
    FileResult result;
    if (!app.SignatureFilePath.empty() && app.ports.files.Read(app.SignatureFilePath, result)) {
        return;
    }
    if (!SwitchedOn(app.form.chkSignatureFile.Value))
        return;
    const std::optional<Text> chosen =
        ChooseSignatureFile(app, SignatureFolder(app) + U"AnySignatureFile.txt",
                            {filters::AllFilesEntry,
                             {U"Text (*.txt)", {U"*.txt"}},
                             {U"Pegasus (*.pms)", {U"*.pms"}},
                             {U"HTML (*.htm)", {U"*.htm", U"*.html"}},
                             {U"Rich Text (*.rtf)", {U"*.rtf"}}});
    // Cancelled or refused: keep what was there rather than a file in the current folder.
    if (!chosen)
        return;
    app.SignatureFilePath = *chosen;
    WriteSignatureFile(app);
}

}  // namespace velmo

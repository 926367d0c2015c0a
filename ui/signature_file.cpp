#include "ui/signature_file.h"

#include "ui/app.h"
#include "ui/options.h"
#include "ui/output_selection.h"

namespace velmo {

void PublishSignatureFile(App& app) {
    const SignatureWrite write = app.session.WriteSignatureFile();
    // One message for a failing file, not one for every scheduled change.
    if (write.toldBefore)
        return;
    const Text& path = app.session.signaturePath;
    switch (write.outcome) {
        case SignatureWrite::Outcome::Off:
        case SignatureWrite::Outcome::Written:
            break;
        case SignatureWrite::Outcome::Refused:
            ReportSignaturePath(app, write.fault, path);
            break;
        case SignatureWrite::Outcome::Unwritable:
            app.ports.messages.Show(U"Unable to write the signature file" + Text(CrLf) + path +
                                        Text(CrLf) + FromUtf8(write.file.Message()),
                                    message::Warning, U"Signature File");
            break;
    }
}

void WriteSignatureFile(App& app) {
    app.session.options = ReadOptions(app.form);
    PublishSignatureFile(app);
}

void CheckSignatureFile(App& app) {
    if (!app.session.signaturePath.empty() &&
        app.ports.files.Read(app.session.signaturePath).has_value()) {
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
    app.session.signaturePath = *chosen;
    WriteSignatureFile(app);
}

}  // namespace velmo

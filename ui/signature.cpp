#include "ui/signature.h"

#include "ui/app.h"
#include "ui/options.h"
#include "ui/signature_file.h"
#include "ui/signature_size.h"

namespace velmo {

void BuildSignature(App& app) {
    MainForm& form = app.form;
    SignatureSession& session = app.session;
    session.options = ReadOptions(form);
    session.fixedText = form.txtFixedText.Text;
    const Text& signature = session.Compose();

    if (SwitchedOn(form.chkClipboard.Value))
        app.ports.clipboard.SetText(signature);

    PublishSignatureFile(app);

    form.txtEntry.Text = session.quoteList.At(session.quoteList.CurrentEntry);
    form.txtPreviewVariable.Text = signature;
    form.txtPreviewFixed.Text = signature;
    form.txtPreviewBorders.Text = signature;
    form.txtPreviewSideBorders.Text = signature;
    ShowSignatureSize(app, signature);
    form.Refresh();
}

void BuildSignatureWithShownEntry(App& app) {
    app.session.Pick(app.session.quoteList.CurrentEntry);
    BuildSignature(app);
}

}  // namespace velmo

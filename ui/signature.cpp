#include "ui/signature.h"

#include "ui/app.h"
#include "ui/options.h"
#include "ui/signature_file.h"

namespace velmo {

void BuildSignature(App& app) {
    MainForm& form = app.form;
    SignatureSession& session = app.session;
    session.options = ReadOptions(form);
    session.fixedText = form.txtFixed.Text;
    const Text& signature = session.Compose();

    if (SwitchedOn(form.chkClip.Value))
        app.ports.clipboard.SetText(signature);

    PublishSignatureFile(app);

    form.txtVar.Text = session.quotes.At(session.quotes.CurrentEntry);
    form.txtSignature.Text = signature;
    form.txtSignature1.Text = signature;
    form.txtSignature2.Text = signature;
    form.txtSignature3.Text = signature;
    form.Refresh();
}

void BuildSignatureWithShownEntry(App& app) {
    app.session.Pick(app.session.quotes.CurrentEntry);
    BuildSignature(app);
}

}  // namespace velmo

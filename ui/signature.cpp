#include "ui/signature.h"

#include "domain/layout.h"
#include "ui/app.h"
#include "ui/options.h"
#include "ui/signature_file.h"

namespace velmo {

void BuildSignature(App& app) {
    MainForm& form = app.form;
    VariableEntries& vars = app.vars;

    if (app.UseShownEntry) {
        app.UseShownEntry = false;
        app.PickedEntry = vars.CurrentEntry;
        app.PickedText = vars.At(vars.CurrentEntry);
    }

    app.SignatureText =
        ComposeSignature(ReadOptions(form), form.txtFixed.Text.get(), app.PickedText);

    if (SwitchedOn(form.chkClip.Value))
        app.ports.clipboard.SetText(app.SignatureText);

    WriteSignatureFile(app);

    form.txtVar.Text = vars.At(vars.CurrentEntry);
    form.txtSignature.Text = app.SignatureText;
    form.txtSignature1.Text = app.SignatureText;
    form.txtSignature2.Text = app.SignatureText;
    form.txtSignature3.Text = app.SignatureText;
    form.Refresh();
}

}  // namespace velmo

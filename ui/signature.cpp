#include "ui/signature.h"

#include "domain/layout.h"
#include "ui/app.h"
#include "ui/options.h"
#include "ui/signature_file.h"

namespace velmo {

void BuildSignature(App& app) {
    MainForm& form = app.form;
    QuoteList& quoteList = app.quoteList;

    if (app.UseShownEntry) {
        app.UseShownEntry = false;
        app.PickedEntry = quoteList.CurrentEntry;
        app.PickedText = quoteList.At(quoteList.CurrentEntry);
    }

    app.SignatureText =
        ComposeSignature(ReadOptions(form), form.txtFixedText.Text.get(), app.PickedText);

    if (SwitchedOn(form.chkClipboard.Value))
        app.ports.clipboard.SetText(app.SignatureText);

    WriteSignatureFile(app);

    form.txtEntry.Text = quoteList.At(quoteList.CurrentEntry);
    form.txtPreviewVariable.Text = app.SignatureText;
    form.txtPreviewFixed.Text = app.SignatureText;
    form.txtPreviewBorders.Text = app.SignatureText;
    form.txtPreviewSideBorders.Text = app.SignatureText;
    form.Refresh();
}

}  // namespace velmo

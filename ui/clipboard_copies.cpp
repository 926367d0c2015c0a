#include "ui/clipboard_copies.h"

#include "ui/app.h"

namespace velmo {

namespace {

// The tray menu's copies: the variable part above the fixed part, either
// alone, each followed by a line break; no layout applied.
void mnuCopySignature_Click(App& app) {
    app.ports.clipboard.SetText(app.session.PickedQuote() + Text(CrLf) +
                                app.form.txtFixedText.Text.get() + Text(CrLf));
}

void mnuCopyVariablePart_Click(App& app) {
    app.ports.clipboard.SetText(app.session.PickedQuote() + Text(CrLf));
}

void mnuCopyFixedPart_Click(App& app) {
    app.ports.clipboard.SetText(app.form.txtFixedText.Text.get() + Text(CrLf));
}

}  // namespace

void ConnectClipboardHandlers(App& app) {
    MainForm& f = app.form;
    f.mnuCopySignature.Click += [&app] { mnuCopySignature_Click(app); };
    f.mnuCopyVariablePart.Click += [&app] { mnuCopyVariablePart_Click(app); };
    f.mnuCopyFixedPart.Click += [&app] { mnuCopyFixedPart_Click(app); };
}

}  // namespace velmo

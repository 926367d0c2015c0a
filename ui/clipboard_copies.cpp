#include "ui/clipboard_copies.h"

#include "ui/app.h"

namespace velmo {

void mnuClipSig_Click(App& app) {
    app.ports.clipboard.SetText(app.session.PickedQuote() + Text(CrLf) +
                                app.form.txtFixed.Text.get() + Text(CrLf));
}

void mnuClipVar_Click(App& app) {
    app.ports.clipboard.SetText(app.session.PickedQuote() + Text(CrLf));
}

void mnuClipFixed_Click(App& app) {
    app.ports.clipboard.SetText(app.form.txtFixed.Text.get() + Text(CrLf));
}

void ConnectClipboardHandlers(App& app) {
    MainForm& f = app.form;
    f.mnuClipSig.Click += [&app] { mnuClipSig_Click(app); };
    f.mnuClipVar.Click += [&app] { mnuClipVar_Click(app); };
    f.mnuClipFixed.Click += [&app] { mnuClipFixed_Click(app); };
}

}  // namespace velmo

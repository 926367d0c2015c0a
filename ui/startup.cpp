#include "ui/startup.h"

#include "domain/paths.h"
#include "domain/sample_quotes.h"
#include "domain/text_fields.h"
#include "platform/file_text.h"
#include "ui/app.h"
#include "ui/fixed_text.h"
#include "ui/options.h"
#include "ui/output_selection.h"
#include "ui/schedule.h"
#include "ui/settings.h"
#include "ui/variable_file.h"
#include "ui/window.h"

namespace velmo {

void WriteSampleVariableFile(App& app) {
    const Text path = app.AppPath + Text(VariableFileName);
    if (app.ports.files.Exists(path))
        return;
    Text content;
    for (TextView quote : SampleQuotes)
        content += QuotedRecord(quote);
    // A sample that cannot be written is no loss: the missing file is offered later.
    app.ports.files.Replace(path, EncodeFileText(NativeLineEnds(content)));
}

bool Main(App& app) {
    MainForm& form = app.form;
    if (app.ports.instance.AnotherInstanceRunning()) {
        app.ports.messages.Show(U"Program already in use", msgbox::OkCancelExclamation, Text());
        app.ports.program.Exit();
        return false;
    }

    app.AppPath = ProgramDataFolder(app.ports.program);

    Form_Load(app);
    ReadSettings(app);
    // A newcomer's first signature has a quotation at once.
    if (app.firstStart)
        WriteSampleVariableFile(app);
    if (!app.ProgramValues.empty()) {
        ApplyOptions(app);
    } else {
        SetDefaults(app);
    }
    // Not an option: whether the desktop's entry is in place.
    ShowAutostart(app);

    // A relative stored path is taken in the documents folder, never in the
    // folder the program happens to be started from.
    app.SignatureFilePath =
        ResolveSignaturePath(app.SignatureFilePath, DocumentsFolder(app.ports.program));
    if (form.chkFile.Value == 1)
        form.txtSigFile.Text = ShortenPath(app.SignatureFilePath, 55, NativePathStyle());
    if (form.chkFixed.Value == 1)
        LoadFixedText(app, Text());
    if (form.chkVar.Value == 1) {
        LoadVariableFile(app);
        form.txtVarFile.Text = app.VariableFilePath;
    }
    app.started = true;

    // Without a notification area a tray start would leave no way to the window.
    if (form.chkTray.Value == 0 || !app.ports.icon.Available()) {
        form.Show();
        form.mnuopen.Visible = false;
        form.mnuPut.Visible = true;
    } else {
        form.Hide();
        form.mnuopen.Visible = true;
        form.mnuPut.Visible = false;
    }

    PickRandomEntry(app);
    WaitForChange(app);
    return true;
}

void Form_QueryUnload(App& app) {
    app.ports.icon.Remove();
    app.ports.program.Exit();
}

void btnClose_Click(App& app) {
    app.ports.icon.Remove();
    app.ports.program.Exit();
}

void mnuExit_Click(App& app) {
    btnClose_Click(app);
}

void ConnectShutdownHandlers(App& app) {
    app.form.btnClose.Click += [&app] { btnClose_Click(app); };
    app.form.mnuExit.Click += [&app] { mnuExit_Click(app); };
}

}  // namespace velmo

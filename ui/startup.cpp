#include "ui/startup.h"

#include "domain/paths.h"
#include "domain/sample_quotes.h"
#include "domain/text_fields.h"
#include "platform/file_text.h"
#include "platform/path_style.h"
#include "service/data_folders.h"
#include "service/former_files.h"
#include "ui/app.h"
#include "ui/fixed_text.h"
#include "ui/options.h"
#include "ui/output_selection.h"
#include "ui/quote_list_file.h"
#include "ui/schedule.h"
#include "ui/settings.h"
#include "ui/window.h"

namespace velmo {

namespace {

// Writes the sample quote list when the folder has no "Variable.txt" yet.
void WriteSampleQuoteList(App& app) {
    const Text path = app.session.dataFolder + Text(QuoteListFileName);
    if (app.ports.files.Exists(path))
        return;
    Text content;
    for (TextView quote : SampleQuotes)
        content += QuotedRecord(quote);
    // A sample that cannot be written is no loss: the missing file is offered later.
    app.ports.files.Replace(path, EncodeFileText(NativeLineEnds(content)));
}

// Said once: at the start that copied the files, which later starts find in
// the data folder.
void TellCopiedTextFiles(App& app, const Text& former, const CopiedTextFiles& copied) {
    Text text;
    if (!copied.copied.empty()) {
        text = U"Velmo now keeps your quotation list and fixed text in" + Text(CrLf) +
               app.session.dataFolder + Text(CrLf);
        text += U"Copied there from " + former + U":";
        for (const Text& name : copied.copied)
            text += U" " + name;
        text += Text(CrLf) +
                U"The files beside the program are left as they are; Velmo no longer uses "
                U"them.";
    }
    if (!copied.failed.empty()) {
        if (!text.empty())
            text += Text(CrLf) + Text(CrLf);
        text += U"Unable to copy" + Text(CrLf) + copied.failed + Text(CrLf) + U"to" + Text(CrLf) +
                app.session.dataFolder + Text(CrLf) + FromUtf8(copied.result.Message()) +
                Text(CrLf) + U"It is left as it is; copy it there yourself to go on using it.";
    }
    if (!text.empty())
        app.ports.messages.Show(text, copied.failed.empty() ? message::Notice : message::Warning,
                                Text());
}

}  // namespace

bool Main(App& app) {
    MainForm& form = app.form;
    if (app.ports.instance.AnotherInstanceRunning()) {
        app.ports.messages.Show(U"Program already in use", message::WarningOkCancel, Text());
        app.ports.loop.Quit();
        return false;
    }

    app.session.dataFolder = ProgramDataFolder(app.ports.program);
    // Where the sample list and the fixed text are written; a folder that
    // cannot be made shows as a failed write of either.
    app.ports.files.MakeFolders(app.session.dataFolder);
    const Text former = FormerDataFolder(app.ports.program, app.session.dataFolder);
    const CopiedTextFiles copied =
        CopyFormerTextFiles(app.ports.files, former, app.session.dataFolder);

    Form_Load(app);
    const std::optional<StoredSettings> stored = ReadSettings(app);
    // A newcomer's first signature has a quotation at once.
    if (app.firstStart)
        WriteSampleQuoteList(app);
    if (stored && !stored->programValues.empty()) {
        ApplyOptions(app, *stored);
    } else {
        SetDefaults(app);
    }
    // A stored path to the list an earlier version kept beside the program
    // names the copy from now on, also for copies of Velmo started elsewhere;
    // while there is no copy, the list beside the program is still used.
    if (!former.empty() && app.session.quoteListPath == former + Text(QuoteListFileName) &&
        app.ports.files.Exists(app.session.dataFolder + Text(QuoteListFileName))) {
        app.session.quoteListPath =
            ResolvedQuoteListPath(app.session.quoteListPath, app.session.dataFolder, former);
        SetStringValues(
            app, Text(SettingsKey),
            {{Text(StoredName(&StoredSettings::quoteListPath)), app.session.quoteListPath}});
    }
    // Not an option: whether the desktop's entry is in place.
    ShowAutostart(app);

    // A relative stored path is taken in the documents folder, never in the
    // folder the program happens to be started from.
    app.session.signaturePath =
        ResolveSignaturePath(app.session.signaturePath, DocumentsFolder(app.ports.program));
    if (SwitchedOn(form.chkSignatureFile.Value))
        form.txtSignatureFilePath.Text =
            ShortenPath(app.session.signaturePath, 55, NativePathStyle());
    if (SwitchedOn(form.chkFixedPart.Value))
        LoadFixedText(app, Text());
    if (SwitchedOn(form.chkVariablePart.Value)) {
        LoadQuoteList(app);
        form.txtQuoteListPath.Text = app.session.quoteListPath;
    }
    app.started = true;

    // Without a notification area a tray start would leave no way to the window.
    if (!Included(form.chkStartOnTray.Value) || !app.ports.icon.Available()) {
        form.Show();
        form.mnuOpenWindow.Visible = false;
        form.mnuPutOnTray.Visible = true;
    } else {
        form.Hide();
        form.mnuOpenWindow.Visible = true;
        form.mnuPutOnTray.Visible = false;
    }

    PickRandomEntry(app);
    TellCopiedTextFiles(app, former, copied);
    WaitForChange(app);
    return true;
}

namespace {

// The icon goes first: the program's end, when the clipboard is handed to a
// clipboard manager, may take a moment. The timer is stopped so that no pick
// rewrites the signature file while the event loop is being left.
void Leave(App& app) {
    app.ports.icon.Remove();
    app.ports.timer.Stop();
    app.ports.loop.Quit();
}

}  // namespace

void Form_QueryUnload(App& app) {
    Leave(app);
}

namespace {

void cmdExit_Click(App& app) {
    Leave(app);
}

void mnuQuit_Click(App& app) {
    cmdExit_Click(app);
}

}  // namespace

void ConnectShutdownHandlers(App& app) {
    app.form.cmdExit.Click += [&app] { cmdExit_Click(app); };
    app.form.mnuQuit.Click += [&app] { mnuQuit_Click(app); };
}

}  // namespace velmo

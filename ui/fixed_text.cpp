#include "ui/fixed_text.h"

#include "service/data_folders.h"
#include "service/text_files.h"
#include "ui/app.h"
#include "ui/changed_file.h"
#include "ui/output_selection.h"

namespace velmo {

namespace {

// What went wrong with a fixed text file, and what YES offers.
Text LoadProblem(FixedRead outcome, const FileResult& result, const Text& path) {
    const Text chooseAnother =
        U"\r\nThe file is left as it is.\r\nPress YES if you would like to choose another "
        U"file.\r\n";
    if (outcome == FixedRead::TooManyLines) {
        return U"Your Fixed Text file has more lines than the fixed text can hold (" +
               ToText(kMaxFixedLines) + U"):\r\n" + path + chooseAnother;
    }
    if (result.Missing()) {
        return U"I have not been able to find your Fixed Text.\r\n"
               U"Press YES if you would like to help me find it.\r\n";
    }
    // There is a file, but not one to read: a folder, a pipe, a locked one.
    return U"I have not been able to read your Fixed Text:\r\n" + path + U"\r\n" +
           FromUtf8(result.Message()) + chooseAnother;
}

Text DefaultFixedTextPath(const App& app) {
    return app.session.dataFolder + Text(FixedTextFileName);
}

// An empty fixed text switches the fixed part off, which greys the box; not
// while the user is typing into the box, as that would send the focus, and
// the next keys, to another control.
void SwitchOffEmptyFixedText(App& app) {
    MainForm& f = app.form;
    if (f.txtFixedText.Text.get().empty() && f.ActiveControl() != &f.txtFixedText)
        f.chkFixedPart.Value = Check::Off;
}

void ReportSaveFailure(App& app, const Text& path, const FileResult& result) {
    app.ports.messages.Show(U"Unable to save the fixed text file" + Text(CrLf) + path + Text(CrLf) +
                                FromUtf8(result.Message()) + Text(CrLf) +
                                U"Your fixed text is kept until you close Velmo.",
                            message::Warning, U"Fixed Text");
}

// txtFixedText takes the text of the file, which holds `file`.
void TakeFixedText(App& app, Text text, const Fingerprint& file) {
    app.form.txtFixedText.Text = std::move(text);
    app.session.fixedTextFile.Read = true;
    app.session.fixedTextFile.File = file;
    app.session.fixedTextFile.Box = FingerprintOf(app.form.txtFixedText.Text.get());
}

}  // namespace

void LoadFixedText(App& app, const Text& requested) {
    const Text path = requested.empty() ? DefaultFixedTextPath(app) : requested;
    app.session.fixedTextFile.LoadTried = true;
    FixedFile read = ReadFixedFile(app.ports.files, path);
    if (read.outcome == FixedRead::Ok) {
        if (path == DefaultFixedTextPath(app)) {
            TakeFixedText(app, std::move(read.text), read.read);
        } else {
            app.form.txtFixedText.Text = std::move(read.text);
        }
        return;
    }
    if (!SwitchedOn(app.form.chkFixedPart.Value))
        return;
    const Text problem = LoadProblem(read.outcome, read.file, path);
    const Answer answer =
        app.ports.messages.Show(problem + U"Press NO if you would like to start without it.",
                                message::ErrorYesNo, path + U" Error");
    if (answer == Answer::Yes) {
        LoadFixedText(app, OpenFileDialog(app, path, {{U"Fixed Text Files (*.fxt)", {U"*.fxt"}}},
                                          U"Fixed Text"));
    }
}

bool SaveFixedText(App& app) {
    const Text path = DefaultFixedTextPath(app);
    // A file whose lines were never read would lose them; one that does not
    // exist has nothing to lose and is created.
    if (!app.session.MayReplace(path, app.session.fixedTextFile.Read)) {
        // Said once for each text: the box loses the focus often.
        if (app.session.fixedTextFile.Refused != app.form.txtFixedText.Text.get()) {
            app.session.fixedTextFile.Refused = app.form.txtFixedText.Text.get();
            app.ports.messages.Show(
                U"The lines of " + path +
                    U" have not been read, so the file was not replaced: they would be lost."
                    U"\r\nRename or remove that file to save this fixed text in its place.",
                message::Warning, U"Fixed Text");
        }
        return false;
    }
    switch (CheckFixedText(app, true)) {
        case FileCheck::Reloaded:
            return true;  // txtFixedText is the file's again: nothing of its own to write
        case FileCheck::Cancel:
            return false;
        case FileCheck::Current:
        case FileCheck::Overwrite:
            break;
    }
    const FixedWrite written =
        WriteFixedFile(app.ports.files, path, app.form.txtFixedText.Text.get());
    if (!written.file) {
        ReportSaveFailure(app, path, written.file);
        return false;
    }
    app.session.fixedTextFile.Read = true;
    app.session.fixedTextFile.File = written.written;
    app.session.fixedTextFile.Box = FingerprintOf(app.form.txtFixedText.Text.get());
    if (written.dropped) {
        app.ports.messages.Show(U"The fixed text may have at most 15 lines." + Text(CrLf) +
                                    U"Lines after the 15th were not saved.",
                                message::Warning, U"Fixed Text");
    }
    return true;
}

FileCheck CheckFixedText(App& app, bool beforeWrite) {
    SignatureSession::FixedTextFile& state = app.session.fixedTextFile;
    if (!state.Read)
        return FileCheck::Current;
    const Text path = DefaultFixedTextPath(app);
    const LookedAgain look = LookAgainAtFile(
        app,
        {path, state.File, FingerprintOf(app.form.txtFixedText.Text.get()) != state.Box,
         U"the fixed text here has changes of its own", U"the fixed text here", U"Fixed Text"},
        beforeWrite);
    if (!look.unreadable)
        ReportSaveFailure(app, path, look.unreadable);
    if (look.check != FileCheck::Reloaded)
        return look.check;
    Text text;
    if (FixedTextOf(look.bytes, text) != FixedRead::Ok) {
        // Written back, its lines past the 15th would be lost.
        if (beforeWrite) {
            app.ports.messages.Show(
                path +
                    U"\r\nhas been changed by another program and now has more lines than the "
                    U"fixed text can hold (" +
                    ToText(kMaxFixedLines) + U"), so it was neither loaded nor replaced.",
                message::Warning, U"Fixed Text");
        }
        return beforeWrite ? FileCheck::Cancel : FileCheck::Current;
    }
    TakeFixedText(app, std::move(text), FingerprintOf(look.bytes));
    return FileCheck::Reloaded;
}

namespace {

void chkFixedPart_Click(App& app) {
    MainForm& f = app.form;
    f.txtFixedText.Enabled = Included(f.chkFixedPart.Value);
    // A fixed text never read in this run is read when the part is switched
    // on, so that a later save writes the file's own lines back. Start-up
    // reads it itself. A missing file is no fault here: this is how a fixed
    // text is begun.
    if (Included(f.chkFixedPart.Value) && app.started && !app.session.fixedTextFile.LoadTried) {
        if (app.ports.files.Exists(DefaultFixedTextPath(app)))
            LoadFixedText(app, Text());
        app.session.fixedTextFile.LoadTried = true;
    }
}

void txtFixedText_Change(App& app) {
    if (app.form.txtFixedText.Text.get().empty()) {
        SwitchOffEmptyFixedText(app);
    } else {
        app.form.chkFixedPart.Value = Check::On;
    }
}

void txtFixedText_LostFocus(App& app) {
    SwitchOffEmptyFixedText(app);
    SaveFixedText(app);
}

}  // namespace

void ConnectFixedTextHandlers(App& app) {
    MainForm& f = app.form;
    f.chkFixedPart.Click += [&app] { chkFixedPart_Click(app); };
    f.txtFixedText.Change += [&app] { txtFixedText_Change(app); };
    f.txtFixedText.LostFocus += [&app] { txtFixedText_LostFocus(app); };
}

}  // namespace velmo

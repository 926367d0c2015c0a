#include "ui/quote_list_file.h"

#include <algorithm>

#include "service/data_folders.h"
#include "service/text_files.h"
#include "ui/app.h"
#include "ui/changed_file.h"
#include "ui/entry_editor.h"
#include "ui/output_selection.h"
#include "ui/signature.h"

namespace velmo {

namespace {
void FindQuoteList(App& app);

// Only a rooted path is honoured; any other means "Variable.txt" in the
// program folder.
void ApplyQuoteListPathRule(App& app) {
    app.session.quoteListPath =
        ResolvedQuoteListPath(app.session.quoteListPath, app.session.dataFolder);
}

}  // namespace

void LoadQuoteList(App& app) {
    ApplyQuoteListPathRule(app);
    QuoteList& quoteList = app.session.quoteList;
    quoteList.LoadTried = true;

    const FileResult result =
        ReadQuoteListFile(app.ports.files, app.session.quoteListPath, quoteList);
    if (!result) {
        // A file that is there but cannot be read is not called missing.
        const Text problem = result.Missing()
                                 ? Text(
                                       U"I have not been able to find your Variable Text file.\r\n"
                                       U"Press YES if you would like to help me find it. \r\n")
                                 : U"I have not been able to read your Variable Text file:\r\n" +
                                       app.session.quoteListPath + U"\r\n" +
                                       FromUtf8(result.Message()) +
                                       U"\r\nThe file is left as it is.\r\n"
                                       U"Press YES if you would like to choose another file.\r\n";
        const Answer answer =
            app.ports.messages.Show(problem + U"Press NO if you would like to start without one",
                                    message::ErrorYesNo, U"Variable.txt Error");
        if (answer == Answer::Yes) {
            FindQuoteList(app);
            LoadQuoteList(app);
        }
        return;
    }
}

namespace {

void ReportSaveFailure(App& app, const FileResult& result) {
    app.ports.messages.Show(U"Unable to save the variable text file" + Text(CrLf) +
                                app.session.quoteListPath + Text(CrLf) +
                                FromUtf8(result.Message()) + Text(CrLf) +
                                U"Your entries are kept until you close Velmo.",
                            message::Warning, U"Variable Text");
}

void TakeChangedFile(App& app, std::string_view bytes) {
    QuoteList& quoteList = app.session.quoteList;
    TakeQuoteListFile(app.session.quoteListPath, bytes, quoteList);
    quoteList.CurrentEntry =
        std::clamp(quoteList.CurrentEntry, std::min(1, quoteList.EntryCount), quoteList.EntryCount);
    ShowEntry(app);
}

}  // namespace

FileCheck CheckQuoteList(App& app, bool beforeWrite) {
    QuoteList& quoteList = app.session.quoteList;
    if (quoteList.LoadedPath.empty() || quoteList.LoadedPath != app.session.quoteListPath)
        return FileCheck::Current;
    const LookedAgain look = LookAgainAtFile(
        app,
        {app.session.quoteListPath, quoteList.LoadedFile, QuoteListEdited(quoteList),
         U"the entries here have changes of their own", U"the entries here", U"Variable Text"},
        beforeWrite);
    if (!look.unreadable)
        ReportSaveFailure(app, look.unreadable);
    if (look.check != FileCheck::Reloaded)
        return look.check;
    TakeChangedFile(app, look.bytes);
    return FileCheck::Reloaded;
}

bool SaveQuoteList(App& app) {
    ApplyQuoteListPathRule(app);
    QuoteList& quoteList = app.session.quoteList;
    const Text& path = app.session.quoteListPath;

    if (!app.session.MayReplace(path, quoteList.LoadedPath == path)) {
        app.ports.messages.Show(
            U"The entries of " + path +
                U" have not been read, so the file was not replaced: its entries would be lost."
                U"\r\nChoose it with the file button on the Variable tab to load it first.",
            message::Warning, U"Variable Text");
        return false;
    }
    switch (CheckQuoteList(app, true)) {
        case FileCheck::Reloaded:
            return true;  // the list is the file's again: nothing of its own to write
        case FileCheck::Cancel:
            return false;
        case FileCheck::Current:
        case FileCheck::Overwrite:
            break;
    }

    const FileResult result = WriteQuoteListFile(app.ports.files, path, quoteList);
    if (!result) {
        ReportSaveFailure(app, result);
        return false;
    }
    return true;
}

namespace {

// Lets the user pick the quote list file; a cancel keeps the path.
void FindQuoteList(App& app) {
    std::optional<Text> chosen = app.ports.fileDialog.OpenFile(
        Text(), {{U"Text (*.txt)", {U"*.txt"}}}, U"Variable Text", FileChoice::Existing);
    if (!chosen)
        return;
    if (chosen->empty()) {
        app.ports.messages.Show(U"Unable to load selected file.", message::Warning, U"File Error");
        return;
    }
    app.session.quoteListPath = std::move(*chosen);
}

void cmdChooseQuoteList_Click(App& app) {
    const Text start = app.session.quoteListPath.empty()
                           ? app.session.dataFolder + Text(QuoteListFileName)
                           : app.session.quoteListPath;
    app.session.quoteListPath =
        OpenFileDialog(app, start, {{U"Text Files (*.txt)", {U"*.txt"}}, filters::AllFilesEntry},
                       U"Variable Text");
    // The load below is the one; switching the part on must not start another.
    app.session.quoteList.LoadTried = true;
    app.form.chkVariablePart.Value = Check::On;
    LoadQuoteList(app);
    app.form.txtQuoteListPath.Text = app.session.quoteListPath;
    BuildSignatureWithShownEntry(app);
}

}  // namespace

void ConnectQuoteListHandlers(App& app) {
    MainForm& f = app.form;
    f.cmdChooseQuoteList.Click += [&app] { cmdChooseQuoteList_Click(app); };
}

}  // namespace velmo

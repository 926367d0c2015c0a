#include "ui/entry_editor.h"

#include "service/quotation_file.h"
#include "ui/app.h"
#include "ui/output_selection.h"
#include "ui/quote_list_file.h"
#include "ui/schedule.h"
#include "ui/settings.h"
#include "ui/signature.h"

namespace velmo {

namespace {

Text CountLabel(TextView prefix, int count) {
    return Text(prefix) + ToText(count) + U"/" + ToText(count);
}

}  // namespace

void ShowEntry(App& app) {
    MainForm& f = app.form;
    const QuoteList& quoteList = app.session.quoteList;
    f.txtEntry.Text = quoteList.At(quoteList.CurrentEntry);
    f.lblEntryNumber.Caption =
        quoteList.EntryCount != 0
            ? U"Entry: " + ToText(quoteList.CurrentEntry) + U"/" + ToText(quoteList.EntryCount)
            : Text(U"Entry : No Data");
}

namespace {

void cmdFirstEntry_Click(App& app) {
    app.session.quoteList.CurrentEntry = 1;
    ShowEntry(app);
}

void cmdPreviousEntry_Click(App& app) {
    QuoteList& quoteList = app.session.quoteList;
    if (quoteList.EntryCount == 0)
        return;
    quoteList.CurrentEntry =
        quoteList.CurrentEntry == 1 ? quoteList.EntryCount : quoteList.CurrentEntry - 1;
    ShowEntry(app);
}

void cmdNextEntry_Click(App& app) {
    QuoteList& quoteList = app.session.quoteList;
    if (quoteList.EntryCount == 0)
        return;
    if (quoteList.CurrentEntry == quoteList.EntryCount) {
        quoteList.CurrentEntry = 1;
    } else if (quoteList.CurrentEntry < quoteList.EntryCount) {
        ++quoteList.CurrentEntry;
    }
    ShowEntry(app);
}

void cmdLastEntry_Click(App& app) {
    QuoteList& quoteList = app.session.quoteList;
    if (quoteList.EntryCount == 0)
        return;
    if (quoteList.CurrentEntry < quoteList.EntryCount)
        quoteList.CurrentEntry = quoteList.EntryCount;
    ShowEntry(app);
}

void cmdNewEntry_Click(App& app) {
    MainForm& f = app.form;
    QuoteList& quoteList = app.session.quoteList;
    if (quoteList.EntryCount >= QuoteList::kMaxEntries) {
        f.lblEntryNumber.Caption = CountLabel(U"<<Entries Full>> ", quoteList.EntryCount);
        return;
    }
    quoteList.CurrentEntry = quoteList.EntryCount + 1;
    ++quoteList.EntryCount;
    f.lblEntryNumber.Caption = CountLabel(U"<<New Entry>> ", quoteList.EntryCount);
    // The slot may hold text of an earlier, longer file, and an editor that
    // is already empty reports no change.
    quoteList.Entries[static_cast<size_t>(quoteList.CurrentEntry)].clear();
    f.txtEntry.Text = Text();
    f.txtEntry.SetFocus();
}

void cmdDeleteEntry_Click(App& app) {
    QuoteList& quoteList = app.session.quoteList;
    if (quoteList.EntryCount == 0)
        return;
    if (quoteList.CurrentEntry < 1 || quoteList.CurrentEntry > quoteList.EntryCount) {
        // The editor shows no entry of the list (a slot left from a longer
        // file): deleting would take the last entry instead, unseen.
        ShowEntry(app);
        return;
    }
    // The file may hold entries another program added since it was read:
    // the delete goes into the file as it is now, never into a stale copy.
    const Text shown = quoteList.At(quoteList.CurrentEntry);
    switch (CheckQuoteList(app, true)) {
        case FileCheck::Cancel:
            return;
        case FileCheck::Reloaded:
            if (quoteList.At(quoteList.CurrentEntry) != shown || quoteList.CurrentEntry < 1) {
                app.ports.messages.Show(
                    app.session.quoteListPath +
                        U"\r\nhas been changed by another program and was loaded again.\r\n"
                        U"The entry you chose to delete is not at its place there any more, so "
                        U"nothing was deleted.",
                    message::Warning, U"Variable Text");
                return;
            }
            break;
        case FileCheck::Current:
        case FileCheck::Overwrite:
            break;
    }
    for (int i = quoteList.CurrentEntry; i <= quoteList.EntryCount; ++i) {
        quoteList.Entries[static_cast<size_t>(i)] = quoteList.Entries[static_cast<size_t>(i + 1)];
    }
    --quoteList.EntryCount;
    if (quoteList.CurrentEntry > quoteList.EntryCount)
        quoteList.CurrentEntry = quoteList.EntryCount;
    quoteList.Entries[static_cast<size_t>(quoteList.EntryCount + 1)].clear();
    ShowEntry(app);
    SaveQuoteList(app);
}

void cmdUseEntry_Click(App& app) {
    app.form.Tabs.Tab = 0;
    app.form.txtEntry.Text = app.session.quoteList.At(app.session.quoteList.CurrentEntry);
    BuildSignatureWithShownEntry(app);
}

void txtEntry_Change(App& app) {
    QuoteList& quoteList = app.session.quoteList;
    const Text& text = app.form.txtEntry.Text;
    if (quoteList.EntryCount == 0 && !text.empty() &&
        text != quoteList.At(quoteList.CurrentEntry)) {
        // Typed into an empty list: the text becomes the first entry rather
        // than landing in a slot that is never saved.
        quoteList.Entries[static_cast<size_t>(std::max(quoteList.CurrentEntry, 0))].clear();
        quoteList.EntryCount = 1;
        quoteList.CurrentEntry = 1;
        quoteList.Entries[1] = text;
        app.form.lblEntryNumber.Caption = U"Entry: 1/1";
        return;
    }
    if (quoteList.CurrentEntry >= 0 && quoteList.CurrentEntry < QuoteList::kSlots) {
        quoteList.Entries[static_cast<size_t>(quoteList.CurrentEntry)] = text;
    }
}

// The question every change of the list ends in; a Yes writes the list.
void AskToSaveQuoteList(App& app) {
    const Answer answer =
        app.ports.messages.Show(U"Do you want to Save Variable Text you just entered ?",
                                message::ErrorYesNoDefaultNo, U"Variable Text Changed");
    if (answer != Answer::Yes)
        return;
    cmdSaveSettings_Click(app);
    SaveQuoteList(app);
}

void txtEntry_LostFocus(App& app) {
    AskToSaveQuoteList(app);
}

// Adds the quotations of a file the user picks after the entries, as many as
// the list has room for, and tells how many did not fit. The file is only
// read; the list is written only when the user says so.
void cmdImportQuotations_Click(App& app) {
    QuoteList& quoteList = app.session.quoteList;
    // Added to a list never read, a save would replace the user's file.
    if (!quoteList.LoadTried) {
        LoadQuoteList(app);
        app.form.txtQuoteListPath.Text = app.session.quoteListPath;
    }
    const std::optional<Text> path = app.ports.fileDialog.OpenFile(
        Text(), {filters::AllFilesEntry, {U"Text Files (*.txt)", {U"*.txt"}}}, U"Import Quotations",
        FileChoice::Existing);
    if (!path || path->empty())
        return;
    const int before = quoteList.EntryCount;
    int rest = 0;
    const FileResult read = ReadQuotationFile(app.ports.files, *path, [&](Text&& quotation) {
        if (quoteList.EntryCount < QuoteList::kMaxEntries) {
            quoteList.Entries[static_cast<size_t>(++quoteList.EntryCount)] = std::move(quotation);
        } else {
            ++rest;  // read on only to count them
        }
        return true;
    });
    if (!read) {
        app.ports.messages.Show(U"Unable to read the quotations of" + Text(CrLf) + *path +
                                    Text(CrLf) + FromUtf8(read.Message()),
                                message::Warning, U"Import Quotations");
        return;
    }
    const int added = quoteList.EntryCount - before;
    const Text limit = ToText(QuoteList::kMaxEntries);
    if (added == 0) {
        app.ports.messages.Show(rest == 0 ? *path + U"\r\nholds no quotations."
                                          : U"The list is full (" + limit +
                                                U" entries): none of the " + ToText(rest) +
                                                U" quotations of\r\n" + *path + U"\r\nwas added.",
                                message::Warning, U"Import Quotations");
        return;
    }
    quoteList.CurrentEntry = before + 1;
    ShowEntry(app);
    Text report = ToText(added) + (added == 1 ? U" quotation" : U" quotations") + U" of\r\n" +
                  *path + U"\r\nadded after your entries.";
    if (rest > 0) {
        report += U"\r\nThe list holds at most " + limit + U" entries: the other " + ToText(rest) +
                  (rest == 1 ? U" quotation was" : U" quotations were") + U" not added.";
    }
    app.ports.messages.Show(report, message::Notice, U"Import Quotations");
    AskToSaveQuoteList(app);
}

void chkVariablePart_Click(App& app) {
    MainForm& f = app.form;
    if (!Included(f.chkVariablePart.Value)) {
        f.txtEntry.Enabled = false;
        f.sldChangeInterval.Enabled = false;
        f.lblChangeInterval.Caption = U"<< Disabled >>";
        return;
    }
    f.sldChangeInterval.Visible = true;
    f.txtEntry.Enabled = true;
    f.sldChangeInterval.Enabled = true;
    sldChangeInterval_Change(app);
    // A list never read in this run is read now, so that a later save cannot
    // replace the user's file with an empty one. Start-up reads it itself.
    if (app.started && !app.session.quoteList.LoadTried) {
        LoadQuoteList(app);
        f.txtQuoteListPath.Text = app.session.quoteListPath;
    }
}

}  // namespace

void ConnectEntryEditorHandlers(App& app) {
    MainForm& f = app.form;
    f.cmdFirstEntry.Click += [&app] { cmdFirstEntry_Click(app); };
    f.cmdPreviousEntry.Click += [&app] { cmdPreviousEntry_Click(app); };
    f.cmdNextEntry.Click += [&app] { cmdNextEntry_Click(app); };
    f.cmdLastEntry.Click += [&app] { cmdLastEntry_Click(app); };
    f.cmdNewEntry.Click += [&app] { cmdNewEntry_Click(app); };
    f.cmdDeleteEntry.Click += [&app] { cmdDeleteEntry_Click(app); };
    f.cmdUseEntry.Click += [&app] { cmdUseEntry_Click(app); };
    f.txtEntry.Change += [&app] { txtEntry_Change(app); };
    f.txtEntry.LostFocus += [&app] { txtEntry_LostFocus(app); };
    f.cmdImportQuotations.Click += [&app] { cmdImportQuotations_Click(app); };
    f.chkVariablePart.Click += [&app] { chkVariablePart_Click(app); };
}

}  // namespace velmo

#include "ui/entry_editor.h"

#include "ui/app.h"
#include "ui/schedule.h"
#include "ui/settings.h"
#include "ui/signature.h"
#include "ui/variable_file.h"

namespace velmo {

namespace {

Text CountLabel(TextView prefix, int count) {
    return Text(prefix) + ToText(count) + U"/" + ToText(count);
}

}  // namespace

void ShowEntry(App& app) {
    MainForm& f = app.form;
    const VariableEntries& vars = app.session.quotes;
    f.txtVar.Text = vars.At(vars.CurrentEntry);
    f.IndNumber.Caption = vars.EntryCount != 0 ? U"Entry: " + ToText(vars.CurrentEntry) + U"/" +
                                                     ToText(vars.EntryCount)
                                               : Text(U"Entry : No Data");
}

void btnAllBack_Click(App& app) {
    app.session.quotes.CurrentEntry = 1;
    ShowEntry(app);
}

void btnBackOne_Click(App& app) {
    VariableEntries& vars = app.session.quotes;
    if (vars.EntryCount == 0)
        return;
    vars.CurrentEntry = vars.CurrentEntry == 1 ? vars.EntryCount : vars.CurrentEntry - 1;
    ShowEntry(app);
}

void btnForwardOne_Click(App& app) {
    VariableEntries& vars = app.session.quotes;
    if (vars.EntryCount == 0)
        return;
    if (vars.CurrentEntry == vars.EntryCount) {
        vars.CurrentEntry = 1;
    } else if (vars.CurrentEntry < vars.EntryCount) {
        ++vars.CurrentEntry;
    }
    ShowEntry(app);
}

void btnForwardAll_Click(App& app) {
    VariableEntries& vars = app.session.quotes;
    if (vars.EntryCount == 0)
        return;
    if (vars.CurrentEntry < vars.EntryCount)
        vars.CurrentEntry = vars.EntryCount;
    ShowEntry(app);
}

void btnNew_Click(App& app) {
    MainForm& f = app.form;
    VariableEntries& vars = app.session.quotes;
    if (vars.EntryCount >= VariableEntries::kMaxEntries) {
        f.IndNumber.Caption = CountLabel(U"<<Entries Full>> ", vars.EntryCount);
        return;
    }
    vars.CurrentEntry = vars.EntryCount + 1;
    ++vars.EntryCount;
    f.IndNumber.Caption = CountLabel(U"<<New Entry>> ", vars.EntryCount);
    // The slot may hold text of an earlier, longer file, and an editor that
    // is already empty reports no change.
    vars.Entries[static_cast<size_t>(vars.CurrentEntry)].clear();
    f.txtVar.Text = Text();
    f.txtVar.SetFocus();
}

void btnDelete_Click(App& app) {
    VariableEntries& vars = app.session.quotes;
    if (vars.EntryCount == 0)
        return;
    if (vars.CurrentEntry < 1 || vars.CurrentEntry > vars.EntryCount) {
        // The editor shows no entry of the list (a slot left from a longer
        // file): deleting would take the last entry instead, unseen.
        ShowEntry(app);
        return;
    }
    // The file may hold entries another program added since it was read:
    // the delete goes into the file as it is now, never into a stale copy.
    const Text shown = vars.At(vars.CurrentEntry);
    switch (CheckVariableFile(app, true)) {
        case FileCheck::Cancel:
            return;
        case FileCheck::Reloaded:
            if (vars.At(vars.CurrentEntry) != shown || vars.CurrentEntry < 1) {
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
    for (int i = vars.CurrentEntry; i <= vars.EntryCount; ++i) {
        vars.Entries[static_cast<size_t>(i)] = vars.Entries[static_cast<size_t>(i + 1)];
    }
    --vars.EntryCount;
    if (vars.CurrentEntry > vars.EntryCount)
        vars.CurrentEntry = vars.EntryCount;
    vars.Entries[static_cast<size_t>(vars.EntryCount + 1)].clear();
    ShowEntry(app);
    SaveVariableFile(app);
}

void UseEntry_Click(App& app) {
    app.form.Tabs.Tab = 0;
    app.form.txtVar.Text = app.session.quotes.At(app.session.quotes.CurrentEntry);
    BuildSignatureWithShownEntry(app);
}

void txtVar_Change(App& app) {
    VariableEntries& vars = app.session.quotes;
    const Text& text = app.form.txtVar.Text;
    if (vars.EntryCount == 0 && !text.empty() && text != vars.At(vars.CurrentEntry)) {
        // Typed into an empty list: the text becomes the first entry rather
        // than landing in a slot that is never saved.
        vars.Entries[static_cast<size_t>(std::max(vars.CurrentEntry, 0))].clear();
        vars.EntryCount = 1;
        vars.CurrentEntry = 1;
        vars.Entries[1] = text;
        app.form.IndNumber.Caption = U"Entry: 1/1";
        return;
    }
    if (vars.CurrentEntry >= 0 && vars.CurrentEntry < VariableEntries::kSlots) {
        vars.Entries[static_cast<size_t>(vars.CurrentEntry)] = text;
    }
}

void txtVar_LostFocus(App& app) {
    const Answer answer =
        app.ports.messages.Show(U"Do you want to Save Variable Text you just entered ?",
                                message::ErrorYesNoDefaultNo, U"Variable Text Changed");
    if (answer != Answer::Yes)
        return;
    SaveSettingsButton_Click(app);
    SaveVariableFile(app);
}

void chkVar_Click(App& app) {
    MainForm& f = app.form;
    if (!Included(f.chkVar.Value)) {
        f.txtVar.Enabled = false;
        f.Slider.Enabled = false;
        f.lblFreq.Caption = U"<< Disabled >>";
        return;
    }
    f.Slider.Visible = true;
    f.txtVar.Enabled = true;
    f.Slider.Enabled = true;
    Slider_Change(app);
    // A list never read in this run is read now, so that a later save cannot
    // replace the user's file with an empty one. Start-up reads it itself.
    if (app.started && !app.session.quotes.LoadTried) {
        LoadVariableFile(app);
        f.txtVarFile.Text = app.session.quoteListPath;
    }
}

void ConnectEntryEditorHandlers(App& app) {
    MainForm& f = app.form;
    f.btnAllBack.Click += [&app] { btnAllBack_Click(app); };
    f.btnBackOne.Click += [&app] { btnBackOne_Click(app); };
    f.btnForwardOne.Click += [&app] { btnForwardOne_Click(app); };
    f.btnForwardAll.Click += [&app] { btnForwardAll_Click(app); };
    f.btnNew.Click += [&app] { btnNew_Click(app); };
    f.btnDelete.Click += [&app] { btnDelete_Click(app); };
    f.UseEntry.Click += [&app] { UseEntry_Click(app); };
    f.txtVar.Change += [&app] { txtVar_Change(app); };
    f.txtVar.LostFocus += [&app] { txtVar_LostFocus(app); };
    f.chkVar.Click += [&app] { chkVar_Click(app); };
}

}  // namespace velmo

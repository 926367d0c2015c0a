#include "ui/schedule.h"

#include <algorithm>

#include "service/text_files.h"
#include "ui/app.h"
#include "ui/entry_editor.h"
#include "ui/fixed_text.h"
#include "ui/options.h"
#include "ui/quote_list_file.h"
#include "ui/signature.h"

namespace velmo {

namespace {
void cmdRandomize_Click(App& app);
}  // namespace

const std::array<ChangeInterval, 9> ChangeIntervals = {{
    {U"Never", 0},
    {U"5 Minute", 300},
    {U"15 Minute", 900},
    {U"30 Minute", 1800},
    {U"1 Hour", 3600},
    {U"3 Hours", 10800},
    {U"6 Hours", 21600},
    {U"12 Hours", 43200},
    {U"Once a Day", 86400},
}};

namespace {

void ArmChangeTimer(App& app);

void ChangeDue(App& app) {
    cmdRandomize_Click(app);
    app.ChangeStart = app.ports.clock.ElapsedSeconds();
    ArmChangeTimer(app);
}

// Sets the timer for the due time of the running wait; "Never" disarms it.
// A due time already passed fires at once.
void ArmChangeTimer(App& app) {
    const double interval = LeadingNumber(app.form.sldChangeInterval.Tag.get());
    if (interval <= 0) {
        app.ports.timer.Stop();
        return;
    }
    const double remaining = app.ChangeStart + interval - app.ports.clock.ElapsedSeconds();
    app.ports.timer.Start(std::max(0.0, remaining), [&app] { ChangeDue(app); });
}

}  // namespace

void PickRandomEntry(App& app) {
    // The pick follows the options as they are shown: "No repeats until all
    // are used" counts from the click that ticked it.
    app.session.options = ReadOptions(app.form);
    app.session.PickRandom();
    // The entry the user is typing into stays in the editor, or the next keys
    // would go into the picked one.
    const bool editing = app.form.ActiveControl() == &app.form.txtEntry;
    if (!editing)
        app.session.quoteList.CurrentEntry = app.session.PickedEntry();
    BuildSignature(app);
    if (!editing)
        ShowEntry(app);
}

namespace {

void cmdRandomize_Click(App& app) {
    // Velmo runs all day: a file another program changed meanwhile is read
    // again before the pick (the schedule's too), unless it has edits here.
    CheckQuoteList(app, false);
    CheckFixedText(app, false);
    PickRandomEntry(app);
}

void mnuRandomize_Click(App& app) {
    cmdRandomize_Click(app);
}

}  // namespace

void sldChangeInterval_Change(App& app) {
    MainForm& f = app.form;
    const int position = f.sldChangeInterval.Value;
    if (position >= 0 && position < static_cast<int>(ChangeIntervals.size())) {
        const ChangeInterval& row = ChangeIntervals[static_cast<size_t>(position)];
        f.sldChangeInterval.Tag = ToText(row.seconds);
        f.lblChangeInterval.Caption = Text(row.caption);
    }
    f.Refresh();
    if (app.scheduleRunning)
        ArmChangeTimer(app);
}

void WaitForChange(App& app) {
    app.ChangeStart = app.ports.clock.ElapsedSeconds();
    app.scheduleRunning = true;
    ArmChangeTimer(app);
}

void ConnectScheduleHandlers(App& app) {
    MainForm& f = app.form;
    f.cmdRandomize.Click += [&app] { cmdRandomize_Click(app); };
    f.mnuRandomize.Click += [&app] { mnuRandomize_Click(app); };
    f.sldChangeInterval.Change += [&app] { sldChangeInterval_Change(app); };
}

}  // namespace velmo

#include "ui/border_options.h"

#include "domain/columns.h"
#include "ui/app.h"
#include "ui/signature.h"

namespace velmo {

namespace {
void SetBorderControls(App& app);

const Text kFortyAsterisks(kMinLikeBorder, U'*');

// Rebuilds the signature with the entry shown in the editor, from a tab.
void ApplyFromTab(App& app, int tab) {
    app.form.Tabs.Tab = tab;
    const int shown = app.session.quoteList.CurrentEntry;
    app.form.txtEntry.Text = app.session.quoteList.At(shown);
    app.session.Pick(shown);
    BuildSignature(app);
}

bool LikeTopTooShort(const MainForm& f) {
    return f.optTopLike.Value &&
           Columns(f.txtTopLike.Text.get()) < static_cast<size_t>(kMinLikeBorder);
}

// Tells the user, gives the box back the focus when it can take it, and puts
// a valid border in.
void RefuseShortLikeTop(App& app, const Text& text, const Text& title) {
    MainForm& f = app.form;
    app.ports.messages.Show(text, message::Notice, title);
    f.txtTopLike.SetFocus();  // skipped by the model when the box is disabled
    f.txtTopLike.Text = kFortyAsterisks;
}

// The Borders and Borders2 tabs: which border controls are usable, the
// 40-character rule for a "Like" top border, the length counters, the
// selection by typing, and the four Apply buttons.
void chkBorder_Click(App& app) {
    SetBorderControls(app);
}

void SetBorderControls(App& app) {
    MainForm& f = app.form;
    const bool on = SwitchedOn(f.chkBorder.Value);
    Control* const controls[] = {
        &f.chkBlankRows,
        &f.frmTopBorder,
        &f.optTopLike,
        &f.txtTopLike,
        &f.optTopRepeat,
        &f.txtTopRepeat,
        &f.lblBorderedWidth,
        &f.cmbBorderedWidth,
        &f.lblBorderedWidthUnit,
        &f.frmBottomBorder,
        &f.frmBottomChoice,
        &f.optBottomLike,
        &f.txtBottomLike,
        &f.optBottomRepeat,
        &f.txtBottomRepeat,
        &f.optBottomSameAsTop,
        &f.lblLeftSide,
        &f.lblLeftLike,
        &f.lblIndent,
        &f.txtLeftLike,
        &f.cmbIndent,
        &f.lblRightSide,
        &f.optRightLike,
        &f.txtRightLike,
        &f.chkRightSameAsLeft,
        &f.lblTopLikeLength,
        &f.optSeparatorSameAsTop,
        &f.optSeparatorSameAsBottom,
        &f.lblBottomLikeLength,
    };
    for (Control* c : controls)
        c->Enabled = on;
    // The width for unbordered text is offered only while borders are off.
    for (Control* c :
         {static_cast<Control*>(&f.cmbPlainWidth), static_cast<Control*>(&f.lblPlainWidth),
          static_cast<Control*>(&f.lblPlainWidthUnit)}) {
        c->Visible = !on;
    }
}

void txtTopLike_KeyPress(App& app, int&) {
    MainForm& f = app.form;
    f.optTopLike.Value = true;
    // The count before the key takes effect.
    f.lblTopLikeLength.Caption = ToText(static_cast<long long>(Columns(f.txtTopLike.Text.get())));
}

void txtBottomLike_KeyPress(App& app, int&) {
    MainForm& f = app.form;
    f.optBottomLike.Value = true;
    f.lblBottomLikeLength.Caption =
        ToText(static_cast<long long>(Columns(f.txtBottomLike.Text.get())));
}

void txtBottomRepeat_KeyPress(App& app, int&) {
    app.form.optBottomRepeat.Value = true;
}

void txtRightLike_KeyPress(App& app, int&) {
    app.form.optRightLike.Value = true;
}

void txtTopRepeat_Change(App& app) {
    app.form.optTopRepeat.Value = true;
}

void txtTopLike_LostFocus(App& app) {
    MainForm& f = app.form;
    const Control* now = f.ActiveControl();
    if (now != nullptr && now->Kind == ControlKind::OptionButton) {
        f.optTopRepeat.Value = true;
        return;
    }
    if (LikeTopTooShort(f)) {
        RefuseShortLikeTop(app, U"You MUST have at least 40 characters in the Like field!",
                           U"Top Border Style");
    }
}

void cmdApplyFixed_Click(App& app) {
    if (LikeTopTooShort(app.form)) {
        RefuseShortLikeTop(app, U"You MUST have at least 40 characters in the Like Field!",
                           U"Like Border Styles");
        return;
    }
    ApplyFromTab(app, 3);
}

void cmdApplyBorders_Click(App& app) {
    ApplyFromTab(app, 1);
}

void cmdApplySideBorders_Click(App& app) {
    ApplyFromTab(app, 2);
}

void cmdApplyOptions_Click(App& app) {
    ApplyFromTab(app, 4);
}

}  // namespace

void ConnectBorderHandlers(App& app) {
    MainForm& f = app.form;
    f.chkBorder.Click += [&app] { chkBorder_Click(app); };
    f.txtTopLike.KeyPress += [&app](int& key) { txtTopLike_KeyPress(app, key); };
    f.txtBottomLike.KeyPress += [&app](int& key) { txtBottomLike_KeyPress(app, key); };
    f.txtBottomRepeat.KeyPress += [&app](int& key) { txtBottomRepeat_KeyPress(app, key); };
    f.txtRightLike.KeyPress += [&app](int& key) { txtRightLike_KeyPress(app, key); };
    f.txtTopRepeat.Change += [&app] { txtTopRepeat_Change(app); };
    f.txtTopLike.LostFocus += [&app] { txtTopLike_LostFocus(app); };
    f.cmdApplyFixed.Click += [&app] { cmdApplyFixed_Click(app); };
    f.cmdApplyBorders.Click += [&app] { cmdApplyBorders_Click(app); };
    f.cmdApplySideBorders.Click += [&app] { cmdApplySideBorders_Click(app); };
    f.cmdApplyOptions.Click += [&app] { cmdApplyOptions_Click(app); };
}

}  // namespace velmo

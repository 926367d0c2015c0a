#include "ui/border_options.h"

#include "ui/app.h"
#include "ui/signature.h"

namespace velmo {

namespace {

const Text kFortyAsterisks(kMinLikeBorder, U'*');

// Rebuilds the signature with the entry shown in the editor, from a tab.
void ApplyFromTab(App& app, int tab) {
    app.form.Tabs.Tab = tab;
    app.form.txtVar.Text = app.session.quotes.At(app.session.quotes.CurrentEntry);
    BuildSignatureWithShownEntry(app);
}

bool LikeTopTooShort(const MainForm& f) {
    return f.optTBLike.Value && f.txtTBLike.Text.get().size() < static_cast<size_t>(kMinLikeBorder);
}

// Tells the user, gives the box back the focus when it can take it, and puts
// a valid border in.
void RefuseShortLikeTop(App& app, const Text& text, const Text& title) {
    MainForm& f = app.form;
    app.ports.messages.Show(text, message::Notice, title);
    f.txtTBLike.SetFocus();  // skipped by the model when the box is disabled
    f.txtTBLike.Text = kFortyAsterisks;
}

}  // namespace

void chkBorder_Click(App& app) {
    SetBorderControls(app);
}

void SetBorderControls(App& app) {
    MainForm& f = app.form;
    const bool on = SwitchedOn(f.chkBorder.Value);
    Control* const controls[] = {
        &f.chkSpace,        &f.frmTB,          &f.optTBLike,       &f.txtTBLike,
        &f.optTBRepeat,     &f.txtTBRepeat,    &f.lblWidth,        &f.cmbWidth,
        &f.Label1,          &f.frmBB,          &f.optBBOption,     &f.optBBLike,
        &f.txtBBLike,       &f.optBBRepeat,    &f.txtBBRepeat,     &f.optBBSame,
        &f.lblSBSLeft,      &f.lblSBSLeftLike, &f.lblSBSIndent,    &f.txtSBSLeftLike,
        &f.cmbSBSIndent,    &f.lblSBSRight,    &f.optSBSRightLike, &f.txtSBSRightLike,
        &f.chkSBSRightSame, &f.lblTBLen,       &f.optSBSSameTop,   &f.optSBSSameBottom,
        &f.lblBBLen,
    };
    for (Control* c : controls)
        c->Enabled = on;
    // The width for unbordered text is offered only while borders are off.
    for (Control* c : {static_cast<Control*>(&f.cmbFixWidth),
                       static_cast<Control*>(&f.lblFixedWidth), static_cast<Control*>(&f.Label4)}) {
        c->Visible = !on;
    }
}

void txtTBLike_KeyPress(App& app, int&) {
    MainForm& f = app.form;
    f.optTBLike.Value = true;
    // The count before the key takes effect.
    f.lblTBLen.Caption = ToText(static_cast<long long>(f.txtTBLike.Text.get().size()));
}

void txtBBLike_KeyPress(App& app, int&) {
    MainForm& f = app.form;
    f.optBBLike.Value = true;
    f.lblBBLen.Caption = ToText(static_cast<long long>(f.txtBBLike.Text.get().size()));
}

void txtBBRepeat_KeyPress(App& app, int&) {
    app.form.optBBRepeat.Value = true;
}

void txtSBSRightLike_KeyPress(App& app, int&) {
    app.form.optSBSRightLike.Value = true;
}

void txtTBRepeat_Change(App& app) {
    app.form.optTBRepeat.Value = true;
}

void txtTBLike_LostFocus(App& app) {
    MainForm& f = app.form;
    const Control* now = f.ActiveControl();
    if (now != nullptr && now->Kind == ControlKind::OptionButton) {
        f.optTBRepeat.Value = true;
        return;
    }
    if (LikeTopTooShort(f)) {
        RefuseShortLikeTop(app, U"You MUST have at least 40 characters in the Like field!",
                           U"Top Border Style");
    }
}

void Apply_Click(App& app) {
    if (LikeTopTooShort(app.form)) {
        RefuseShortLikeTop(app, U"You MUST have at least 40 characters in the Like Field!",
                           U"Like Border Styles");
        return;
    }
    ApplyFromTab(app, 3);
}

void cmdApply2_Click(App& app) {
    ApplyFromTab(app, 1);
}
void cmdApply3_Click(App& app) {
    ApplyFromTab(app, 2);
}
void cmdApply4_Click(App& app) {
    ApplyFromTab(app, 4);
}

void ConnectBorderHandlers(App& app) {
    MainForm& f = app.form;
    f.chkBorder.Click += [&app] { chkBorder_Click(app); };
    f.txtTBLike.KeyPress += [&app](int& key) { txtTBLike_KeyPress(app, key); };
    f.txtBBLike.KeyPress += [&app](int& key) { txtBBLike_KeyPress(app, key); };
    f.txtBBRepeat.KeyPress += [&app](int& key) { txtBBRepeat_KeyPress(app, key); };
    f.txtSBSRightLike.KeyPress += [&app](int& key) { txtSBSRightLike_KeyPress(app, key); };
    f.txtTBRepeat.Change += [&app] { txtTBRepeat_Change(app); };
    f.txtTBLike.LostFocus += [&app] { txtTBLike_LostFocus(app); };
    f.Apply.Click += [&app] { Apply_Click(app); };
    f.cmdApply2.Click += [&app] { cmdApply2_Click(app); };
    f.cmdApply3.Click += [&app] { cmdApply3_Click(app); };
    f.cmdApply4.Click += [&app] { cmdApply4_Click(app); };
}

}  // namespace velmo

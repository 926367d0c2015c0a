#include "ui/options.h"

#include "ui/app.h"

namespace velmo {

namespace {

Check CheckOf(const CheckBox& box) {
    return box.Value;
}

int NumberOf(const ComboBox& combo) {
    return ToWholeNumber(combo.Text.get());
}

// Sets one option button of a group, or clears the whole group.
void Choose(std::initializer_list<std::pair<OptionButton*, bool>> group) {
    for (const auto& [button, chosen] : group) {
        if (!chosen)
            button->Value = false;
    }
    for (const auto& [button, chosen] : group) {
        if (chosen)
            button->Value = true;
    }
}

}  // namespace

SignatureOptions ReadOptions(const MainForm& f) {
    SignatureOptions o;
    o.changeInterval = f.Slider.Value;
    o.toClipboard = CheckOf(f.chkClip);
    o.toFile = CheckOf(f.chkFile);
    o.variablePart = CheckOf(f.chkVar);
    o.fixedPart = CheckOf(f.chkFixed);
    o.startOnTray = CheckOf(f.chkTray);
    o.order = f.optOrderVF.Value ? PartOrder::VariableFirst : PartOrder::FixedFirst;
    o.output = f.optHTML.Value  ? OutputForm::Html
               : f.optRTF.Value ? OutputForm::Rtf
                                : OutputForm::PlainText;
    o.plainWidth = NumberOf(f.cmbFixWidth);
    o.bordered = CheckOf(f.chkBorder);
    o.blankRows = CheckOf(f.chkSpace);
    o.top = f.optTBLike.Value ? TopBorder::Like : TopBorder::Repeat;
    o.topLike = f.txtTBLike.Text;
    o.topRepeat = f.txtTBRepeat.Text;
    o.borderedWidth = NumberOf(f.cmbWidth);
    o.bottom = f.optBBLike.Value     ? BottomBorder::Like
               : f.optBBRepeat.Value ? BottomBorder::Repeat
               : f.optBBSame.Value   ? BottomBorder::Same
                                     : BottomBorder::Unchosen;
    o.bottomLike = f.txtBBLike.Text;
    o.bottomRepeat = f.txtBBRepeat.Text;
    o.leftSide = f.txtSBSLeftLike.Text;
    o.indent = NumberOf(f.cmbSBSIndent);
    o.rightSameAsLeft = CheckOf(f.chkSBSRightSame);
    o.rightLikeChosen = f.optSBSRightLike.Value;
    o.rightSide = f.txtSBSRightLike.Text;
    o.separator = f.optSBSSepNone.Value      ? PartSeparator::None
                  : f.optSBSBlankLine.Value  ? PartSeparator::BlankLine
                  : f.optSBSSameTop.Value    ? PartSeparator::SameAsTop
                  : f.optSBSSameBottom.Value ? PartSeparator::SameAsBottom
                                             : PartSeparator::Unchosen;
    return o;
}

void ShowOptions(MainForm& f, const SignatureOptions& o) {
    // The texts first: typing into a border text chooses its option button,
    // and the choices below must win.
    f.cmbFixWidth.Text = ToText(o.plainWidth);
    f.txtTBLike.Text = o.topLike;
    f.txtTBRepeat.Text = o.topRepeat;
    f.cmbWidth.Text = ToText(o.borderedWidth);
    f.txtBBLike.Text = o.bottomLike;
    f.txtBBRepeat.Text = o.bottomRepeat;
    f.txtSBSLeftLike.Text = o.leftSide;
    f.cmbSBSIndent.Text = ToText(o.indent);
    f.txtSBSRightLike.Text = o.rightSide;

    f.Slider.Value = o.changeInterval;
    f.chkClip.Value = o.toClipboard;
    f.chkFile.Value = o.toFile;
    f.chkVar.Value = o.variablePart;
    f.chkFixed.Value = o.fixedPart;
    f.chkTray.Value = o.startOnTray;
    f.chkBorder.Value = o.bordered;
    f.chkSpace.Value = o.blankRows;
    f.chkSBSRightSame.Value = o.rightSameAsLeft;

    Choose({{&f.optOrderFF, o.order == PartOrder::FixedFirst},
            {&f.optOrderVF, o.order == PartOrder::VariableFirst}});
    Choose(
        {{&f.optTBLike, o.top == TopBorder::Like}, {&f.optTBRepeat, o.top == TopBorder::Repeat}});
    Choose({{&f.optBBLike, o.bottom == BottomBorder::Like},
            {&f.optBBRepeat, o.bottom == BottomBorder::Repeat},
            {&f.optBBSame, o.bottom == BottomBorder::Same}});
    Choose({{&f.optSBSRightLike, o.rightLikeChosen}});
    Choose({{&f.optSBSSepNone, o.separator == PartSeparator::None},
            {&f.optSBSBlankLine, o.separator == PartSeparator::BlankLine},
            {&f.optSBSSameTop, o.separator == PartSeparator::SameAsTop},
            {&f.optSBSSameBottom, o.separator == PartSeparator::SameAsBottom}});
    Choose({{&f.optText, o.output == OutputForm::PlainText},
            {&f.optHTML, o.output == OutputForm::Html},
            {&f.optRTF, o.output == OutputForm::Rtf}});
}

void SetDefaults(App& app) {
    app.session.signaturePath.clear();
    ShowOptions(app.form, SignatureOptions{});
}

void ApplyOptions(App& app, const StoredSettings& stored) {
    const std::optional<SignatureOptions> options = DecodeOptions(stored, ReadOptions(app.form));
    if (!options) {
        // The user's options are lost to this run; they are told before a
        // save writes the defaults over them.
        app.ports.messages.Show(
            U"The stored \"Program Values\" cannot be read, so the default "
            U"options are used.\r\nSave the options to store them again.",
            message::Warning, Text());
        SetDefaults(app);
        return;
    }
    // The paths first, so that handlers run by the following steps see them.
    app.session.signaturePath = stored.signaturePath;
    app.session.quoteListPath = stored.quoteListPath;
    app.session.fixedTextPath = stored.fixedTextPath;
    ShowOptions(app.form, *options);
}

}  // namespace velmo

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
    o.changeInterval = f.sldChangeInterval.Value;
    o.toClipboard = CheckOf(f.chkClipboard);
    o.toFile = CheckOf(f.chkSignatureFile);
    o.variablePart = CheckOf(f.chkVariablePart);
    o.fixedPart = CheckOf(f.chkFixedPart);
    o.startOnTray = CheckOf(f.chkStartOnTray);
    o.noRepeats = f.chkNoRepeats.Value == Check::On;
    o.order = f.optVariableFirst.Value ? PartOrder::VariableFirst : PartOrder::FixedFirst;
    o.output = f.optHTML.Value  ? OutputForm::Html
               : f.optRTF.Value ? OutputForm::Rtf
                                : OutputForm::PlainText;
    o.plainWidth = NumberOf(f.cmbPlainWidth);
    o.bordered = CheckOf(f.chkBorder);
    o.blankRows = CheckOf(f.chkBlankRows);
    o.top = f.optTopLike.Value ? TopBorder::Like : TopBorder::Repeat;
    o.topLike = f.txtTopLike.Text;
    o.topRepeat = f.txtTopRepeat.Text;
    o.borderedWidth = NumberOf(f.cmbBorderedWidth);
    o.bottom = f.optBottomLike.Value        ? BottomBorder::Like
               : f.optBottomRepeat.Value    ? BottomBorder::Repeat
               : f.optBottomSameAsTop.Value ? BottomBorder::Same
                                            : BottomBorder::Unchosen;
    o.bottomLike = f.txtBottomLike.Text;
    o.bottomRepeat = f.txtBottomRepeat.Text;
    o.leftSide = f.txtLeftLike.Text;
    o.indent = NumberOf(f.cmbIndent);
    o.rightSameAsLeft = CheckOf(f.chkRightSameAsLeft);
    o.rightLikeChosen = f.optRightLike.Value;
    o.rightSide = f.txtRightLike.Text;
    o.separator = f.optSeparatorNone.Value           ? PartSeparator::None
                  : f.optSeparatorBlankLine.Value    ? PartSeparator::BlankLine
                  : f.optSeparatorSameAsTop.Value    ? PartSeparator::SameAsTop
                  : f.optSeparatorSameAsBottom.Value ? PartSeparator::SameAsBottom
                                                     : PartSeparator::Unchosen;
    return o;
}

void ShowOptions(MainForm& f, const SignatureOptions& o) {
    // The texts first: typing into a border text chooses its option button,
    // and the choices below must win.
    f.cmbPlainWidth.Text = ToText(o.plainWidth);
    f.txtTopLike.Text = o.topLike;
    f.txtTopRepeat.Text = o.topRepeat;
    f.cmbBorderedWidth.Text = ToText(o.borderedWidth);
    f.txtBottomLike.Text = o.bottomLike;
    f.txtBottomRepeat.Text = o.bottomRepeat;
    f.txtLeftLike.Text = o.leftSide;
    f.cmbIndent.Text = ToText(o.indent);
    f.txtRightLike.Text = o.rightSide;

    f.sldChangeInterval.Value = o.changeInterval;
    f.chkClipboard.Value = o.toClipboard;
    f.chkSignatureFile.Value = o.toFile;
    f.chkVariablePart.Value = o.variablePart;
    f.chkFixedPart.Value = o.fixedPart;
    f.chkStartOnTray.Value = o.startOnTray;
    f.chkNoRepeats.Value = o.noRepeats ? Check::On : Check::Off;
    f.chkBorder.Value = o.bordered;
    f.chkBlankRows.Value = o.blankRows;
    f.chkRightSameAsLeft.Value = o.rightSameAsLeft;

    Choose({{&f.optFixedFirst, o.order == PartOrder::FixedFirst},
            {&f.optVariableFirst, o.order == PartOrder::VariableFirst}});
    Choose(
        {{&f.optTopLike, o.top == TopBorder::Like}, {&f.optTopRepeat, o.top == TopBorder::Repeat}});
    Choose({{&f.optBottomLike, o.bottom == BottomBorder::Like},
            {&f.optBottomRepeat, o.bottom == BottomBorder::Repeat},
            {&f.optBottomSameAsTop, o.bottom == BottomBorder::Same}});
    Choose({{&f.optRightLike, o.rightLikeChosen}});
    Choose({{&f.optSeparatorNone, o.separator == PartSeparator::None},
            {&f.optSeparatorBlankLine, o.separator == PartSeparator::BlankLine},
            {&f.optSeparatorSameAsTop, o.separator == PartSeparator::SameAsTop},
            {&f.optSeparatorSameAsBottom, o.separator == PartSeparator::SameAsBottom}});
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

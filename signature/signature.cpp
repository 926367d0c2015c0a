#include "signature/signature.h"

#include <algorithm>

#include "core/app.h"
#include "output/signature_file.h"
#include "signature/frame.h"
#include "signature/wrap.h"

namespace velmo {

void BuildSignature(App& app) {
    MainForm& form = app.form;
    VariableEntries& vars = app.vars;

    if (app.UseShownEntry) {
        app.UseShownEntry = false;
        app.PickedEntry = vars.CurrentEntry;
        app.PickedText = vars.At(vars.CurrentEntry);
    }

    Text variablePart = app.PickedText.empty() ? Text(NoQuoteSelected) : app.PickedText;
    Text fixedPart = form.txtFixed.Text;
    if (form.chkVar.Value == 0)
        variablePart.clear();
    if (form.chkFixed.Value == 0)
        fixedPart.clear();

    const bool fixedFirst = form.optOrderFF.Value;
    const Text& first = fixedFirst ? fixedPart : variablePart;
    const Text& second = fixedFirst ? variablePart : fixedPart;

    app.SignatureText = Text(CrLf);
    if (form.chkBorder.Value == 1) {
        app.SignatureText = LayoutBordered(app, first, second);
    } else {
        app.SignatureText = LayoutPlain(app, first, second);
    }

    if (form.chkClip.Value == 1)
        app.ports.clipboard.SetText(app.SignatureText);

    WriteSignatureFile(app);

    form.txtVar.Text = vars.At(vars.CurrentEntry);
    form.txtSignature.Text = app.SignatureText;
    form.txtSignature1.Text = app.SignatureText;
    form.txtSignature2.Text = app.SignatureText;
    form.txtSignature3.Text = app.SignatureText;
    form.Refresh();
}

Text LayoutPlain(const App& app, TextView first, TextView second) {
    if (first.empty() && second.empty())
        return {};
    const MainForm& form = app.form;
    Text result = WrapText(first, form.cmbFixWidth.Text.get());
    if (form.optSBSBlankLine.Value)
        result += CrLf;
    result += WrapText(second, form.cmbFixWidth.Text.get());
    result += CrLf;
    return result;
}

Text LayoutBordered(App& app, TextView first, TextView second) {
    const MainForm& form = app.form;
    const Text& tbLike = form.txtTBLike.Text;
    const Text& tbRepeat = form.txtTBRepeat.Text;
    const Text& bbRepeat = form.txtBBRepeat.Text;
    const double width = Val(form.cmbWidth.Text.get());
    const auto count = [](double total, size_t unit) { return unit == 0 ? 0.0 : total / unit; };

    // An empty repeat unit gives an empty border line.
    Text topBorder = form.optTBLike.Value
                         ? tbLike
                         : Repeat(tbRepeat, static_cast<long long>(count(width, tbRepeat.size())));
    topBorder += CrLf;

    Text bottomBorder;
    if (form.optBBLike.Value) {
        bottomBorder = form.txtBBLike.Text;
    } else if (form.optTBRepeat.Value && form.optBBRepeat.Value) {
        bottomBorder = Repeat(bbRepeat, RoundHalfEven(count(width, bbRepeat.size())));
    } else if (form.optTBLike.Value && form.optBBRepeat.Value) {
        bottomBorder = Repeat(bbRepeat, RoundHalfEven(count(tbLike.size(), bbRepeat.size())));
    } else {
        bottomBorder = topBorder;
    }

    const SideBorders sides = ComputeSideBorders(form);
    const double total = form.optTBLike.Value ? static_cast<double>(tbLike.size()) : width;
    const auto contentWidth = static_cast<int>(
        RoundHalfEven(total - static_cast<double>(sides.LeftSide.size() + sides.RightSide.size())));

    const Text blankRow = form.optHTML.Value
                              ? Text(CrLf)
                              : sides.LeftSide +
                                    Text(static_cast<size_t>(std::max(0, contentWidth + 2)), U' ') +
                                    sides.RightSide;
    const bool space = form.chkSpace.Value == 1;

    Text& sig = app.SignatureText;
    sig += topBorder;
    if (space)
        sig += blankRow;
    if (!first.empty())
        sig += FramePart(form, first, contentWidth);
    if (form.optSBSSameTop.Value) {
        sig += topBorder;
    } else if (form.optSBSSameBottom.Value) {
        sig += bottomBorder;
        sig += CrLf;
    } else if (form.optSBSBlankLine.Value) {
        sig += blankRow;
    }
    if (!second.empty())
        sig += FramePart(form, second, contentWidth);
    if (space)
        sig += blankRow;
    sig += bottomBorder;
    return sig;
}

}  // namespace velmo

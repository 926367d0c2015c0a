#include "ui/signature_size.h"

#include "ui/app.h"

namespace velmo {

namespace {

Text Count(int n, TextView one, TextView many) {
    return FromUtf8(std::to_string(n)) + U" " + Text(n == 1 ? one : many);
}

}  // namespace

SizeCaptions SignatureSizeCaptions(const SignatureSize& size) {
    SizeCaptions captions;
    captions.size =
        Count(size.lines, U"line", U"lines") + U", " + Count(size.columns, U"column", U"columns");
    if (size.columns > kMailWrapColumns) {
        captions.warning =
            U"Wider than 72 columns: mail programs such as Thunderbird break longer lines.";
    }
    return captions;
}

void ShowSignatureSize(App& app, TextView signature) {
    const SizeCaptions captions = SignatureSizeCaptions(MeasureSignature(signature));
    MainForm& f = app.form;
    for (Label* size :
         {&f.lblSizeVariable, &f.lblSizeBorders, &f.lblSizeSideBorders, &f.lblSizeFixed})
        size->Caption = captions.size;
    for (Label* warning :
         {&f.lblWideVariable, &f.lblWideBorders, &f.lblWideSideBorders, &f.lblWideFixed})
        warning->Caption = captions.warning;
}

}  // namespace velmo

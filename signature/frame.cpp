#include "signature/frame.h"

#include <algorithm>

#include "signature/wrap.h"
#include "ui/model/main_form.h"

namespace velmo {

SideBorders ComputeSideBorders(const MainForm& form) {
    if (form.optHTML.Value)
        return {};
    const Text indent(static_cast<size_t>(std::max(0, ToWholeNumber(form.cmbSBSIndent.Text.get()))),
                      U' ');
    const Text& right = form.chkSBSRightSame.Value == 1 ? form.txtSBSLeftLike.Text.get()
                                                        : form.txtSBSRightLike.Text.get();
    return {form.txtSBSLeftLike.Text.get() + indent, indent + right + Text(CrLf)};
}

Text FramePart(const MainForm& form, TextView text, int contentWidth) {
    const SideBorders sides = ComputeSideBorders(form);
    const bool html = form.optHTML.Value;
    const Text wrapped = WrapText(text, contentWidth);

    Text result;
    size_t pos = 0;
    while (true) {
        const size_t p = wrapped.find(CrLf, pos);
        if (p == Text::npos)
            break;
        const TextView row = TextView(wrapped).substr(pos, p - pos);
        // A row that cannot fit (only an over-long word makes one) gets no padding.
        const long long pad =
            static_cast<long long>(contentWidth) - static_cast<long long>(row.size()) + 2;
        result += sides.LeftSide;
        result += row;
        result.append(static_cast<size_t>(pad > 0 ? pad : 0), U' ');
        result += sides.RightSide;
        if (html)
            result += CrLf;
        pos = p + 2;
        if (pos >= wrapped.size())
            break;
    }
    return result;
}

}  // namespace velmo

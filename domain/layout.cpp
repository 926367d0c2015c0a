#include "domain/layout.h"

#include <algorithm>

#include "domain/columns.h"
#include "domain/wrap.h"

namespace velmo {

SideBorders ComputeSideBorders(const SignatureOptions& o) {
    if (o.output == OutputForm::Html)
        return {};
    const Text indent(static_cast<size_t>(std::max(0, o.indent)), U' ');
    const Text& right = SwitchedOn(o.rightSameAsLeft) ? o.leftSide : o.rightSide;
    return {o.leftSide + indent, indent + right + Text(CrLf)};
}

namespace {

// The columns of the right side as a row shows it: after a space of the
// padding or the indent, which a leading mark or joiner continues.
size_t RightSideColumns(const SideBorders& sides) {
    return Columns(U" " + sides.RightSide) - 1;
}

}  // namespace

Text FramePart(const SignatureOptions& o, TextView text, int contentWidth) {
    const SideBorders sides = ComputeSideBorders(o);
    const bool html = o.output == OutputForm::Html;
    const Text wrapped = WrapText(text, contentWidth);

    Text result;
    size_t pos = 0;
    while (true) {
        const size_t p = wrapped.find(CrLf, pos);
        if (p == Text::npos)
            break;
        const TextView row = TextView(wrapped).substr(pos, p - pos);
        // A row that cannot fit (only an over-long word makes one) gets no padding.
        // Measured after the left side: a row that starts with a mark or a
        // joiner continues the side's last character on screen.
        const size_t rowColumns = Columns(sides.LeftSide + Text(row)) - Columns(sides.LeftSide);
        const long long pad =
            static_cast<long long>(contentWidth) - static_cast<long long>(rowColumns) + 2;
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

Text LayoutPlain(const SignatureOptions& o, TextView first, TextView second) {
    if (first.empty() && second.empty())
        return {};
    Text result = WrapText(first, o.plainWidth);
    if (o.separator == PartSeparator::BlankLine)
        result += CrLf;
    result += WrapText(second, o.plainWidth);
    result += CrLf;
    return result;
}

Text LayoutBordered(const SignatureOptions& o, TextView first, TextView second) {
    const double width = o.borderedWidth;
    const bool topLike = o.top == TopBorder::Like;
    const double total = topLike ? static_cast<double>(Columns(o.topLike)) : width;

    // A repeated border takes whole copies of its unit, counted in columns.
    // When the unit holds a wide character, what is left short of the width
    // is filled with spaces, so that the line ends in the rows' last column.
    const auto repeated = [total](TextView unit, bool roundDown) {
        const size_t columns = Columns(unit);
        if (columns == 0)
            return Text();  // an empty repeat unit gives an empty border line
        const double copies = total / static_cast<double>(columns);
        Text line =
            Repeat(unit, roundDown ? static_cast<long long>(copies) : RoundHalfEven(copies));
        const size_t length = Columns(line);
        if (!IsNarrow(unit) && static_cast<double>(length) < total)
            line.append(static_cast<size_t>(total) - length, U' ');
        return line;
    };

    Text topBorder = topLike ? o.topLike : repeated(o.topRepeat, true);
    topBorder += CrLf;

    Text bottomBorder;
    if (o.bottom == BottomBorder::Like) {
        bottomBorder = o.bottomLike;
    } else if (o.bottom == BottomBorder::Repeat) {
        bottomBorder = repeated(o.bottomRepeat, false);
    } else {
        bottomBorder = topBorder;
    }

    const SideBorders sides = ComputeSideBorders(o);
    const auto contentWidth = static_cast<int>(RoundHalfEven(
        total - static_cast<double>(Columns(sides.LeftSide) + RightSideColumns(sides))));

    const Text blankRow = o.output == OutputForm::Html
                              ? Text(CrLf)
                              : sides.LeftSide +
                                    Text(static_cast<size_t>(std::max(0, contentWidth + 2)), U' ') +
                                    sides.RightSide;
    const bool space = SwitchedOn(o.blankRows);

    Text sig(CrLf);
    sig += topBorder;
    if (space)
        sig += blankRow;
    if (!first.empty())
        sig += FramePart(o, first, contentWidth);
    if (o.separator == PartSeparator::SameAsTop) {
        sig += topBorder;
    } else if (o.separator == PartSeparator::SameAsBottom) {
        sig += bottomBorder;
        sig += CrLf;
    } else if (o.separator == PartSeparator::BlankLine) {
        sig += blankRow;
    }
    if (!second.empty())
        sig += FramePart(o, second, contentWidth);
    if (space)
        sig += blankRow;
    sig += bottomBorder;
    return sig;
}

Text ComposeSignature(const SignatureOptions& o, TextView fixedText, TextView quote) {
    TextView variablePart = quote.empty() ? NoQuoteSelected : quote;
    if (!Included(o.variablePart))
        variablePart = {};
    if (!Included(o.fixedPart))
        fixedText = {};
    const bool fixedFirst = o.order == PartOrder::FixedFirst;
    // Tabs become spaces first, so that every column is known.
    const Text first = ExpandTabs(fixedFirst ? fixedText : variablePart);
    const Text second = ExpandTabs(fixedFirst ? variablePart : fixedText);
    return SwitchedOn(o.bordered) ? LayoutBordered(o, first, second)
                                  : LayoutPlain(o, first, second);
}

SignatureSize MeasureSignature(TextView signature) {
    SignatureSize size;
    int line = 0;
    size_t start = 0;
    while (start < signature.size()) {
        size_t end = start;
        while (end < signature.size() && signature[end] != U'\r' && signature[end] != U'\n')
            ++end;
        ++line;
        if (end > start)
            size.lines = line;
        size.columns =
            std::max(size.columns, static_cast<int>(Columns(signature.substr(start, end - start))));
        if (end + 1 < signature.size() && signature[end] == U'\r' && signature[end + 1] == U'\n')
            ++end;
        start = end + 1;
    }
    return size;
}

}  // namespace velmo

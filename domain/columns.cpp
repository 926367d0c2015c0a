#include "domain/columns.h"

#include "domain/unicode.h"

namespace velmo {

namespace {

using unicode::CharProperties;
using unicode::GraphemeBreak;
using unicode::PropertiesOf;
namespace u = unicode;

bool IsControl(GraphemeBreak g) {
    return g == GraphemeBreak::Control || g == GraphemeBreak::CR || g == GraphemeBreak::LF;
}

// Whether a cluster may go on from `before` to `after` (rules GB3 to GB9b of
// UAX #29); the emoji and regional-indicator rules need the state the caller keeps.
bool JoinsPairwise(GraphemeBreak before, GraphemeBreak after) {
    using G = GraphemeBreak;
    if (before == G::CR && after == G::LF)
        return true;
    if (IsControl(before) || IsControl(after))
        return false;
    if (before == G::L && (after == G::L || after == G::V || after == G::LV || after == G::LVT))
        return true;
    if ((before == G::LV || before == G::V) && (after == G::V || after == G::T))
        return true;
    if ((before == G::LVT || before == G::T) && after == G::T)
        return true;
    if (after == G::Extend || after == G::ZWJ || after == G::SpacingMark)
        return true;
    return before == G::Prepend;
}

}  // namespace

size_t NextClusterEnd(TextView text, size_t start) {
    if (start >= text.size())
        return text.size();
    CharProperties before = PropertiesOf(text[start]);
    // Rule GB11: a pictograph, then extenders, then ZWJ, joins the next pictograph.
    bool pictograph = before.Has(u::kExtendedPictographic);
    bool pictographZwj = false;
    // Rules GB12 and GB13: regional indicators pair up from the cluster's start.
    int indicators = before.grapheme == GraphemeBreak::RegionalIndicator ? 1 : 0;
    size_t i = start + 1;
    for (; i < text.size(); ++i) {
        const CharProperties after = PropertiesOf(text[i]);
        bool joins = JoinsPairwise(before.grapheme, after.grapheme);
        if (!joins) {
            if (pictographZwj && after.Has(u::kExtendedPictographic))
                joins = true;
            else if (indicators % 2 == 1 && after.grapheme == GraphemeBreak::RegionalIndicator)
                joins = true;
        }
        if (!joins)
            break;
        // `pictograph`: the text so far ends in a pictograph and extenders.
        pictographZwj = pictograph && after.grapheme == GraphemeBreak::ZWJ;
        if (after.Has(u::kExtendedPictographic))
            pictograph = true;
        else if (after.grapheme != GraphemeBreak::Extend)
            pictograph = false;
        indicators = after.grapheme == GraphemeBreak::RegionalIndicator ? indicators + 1 : 0;
        before = after;
    }
    return i;
}

std::vector<bool> ClusterBoundaries(TextView text) {
    std::vector<bool> boundaries(text.size() + 1, false);
    for (size_t i = 0; i < text.size(); i = NextClusterEnd(text, i))
        boundaries[i] = true;
    boundaries[text.size()] = true;
    return boundaries;
}

int ClusterColumns(TextView cluster) {
    size_t at = 0;
    while (at < cluster.size() && PropertiesOf(cluster[at]).Has(u::kZeroWidth))
        ++at;
    if (at == cluster.size())
        return 0;
    const CharProperties base = PropertiesOf(cluster[at]);
    if (base.width == u::EastAsianWidth::W || base.width == u::EastAsianWidth::F ||
        base.Has(u::kEmojiPresentation))
        return 2;
    bool zwj = false;
    for (size_t i = at + 1; i < cluster.size(); ++i) {
        const char32_t c = cluster[i];
        const CharProperties p = PropertiesOf(c);
        if ((c == 0xFE0F && base.Has(u::kEmoji)) ||
            (p.Has(u::kEmojiModifier) && base.Has(u::kEmojiModifierBase)) ||
            (zwj && p.Has(u::kExtendedPictographic) && base.Has(u::kExtendedPictographic)))
            return 2;
        zwj = c == 0x200D;
    }
    return 1;
}

size_t Columns(TextView text) {
    size_t columns = 0;
    for (size_t i = 0; i < text.size();) {
        // Printable ASCII before a character below the first combining mark
        // (U+0300) is a cluster of one column, without a table.
        if (text[i] >= U' ' && text[i] <= U'~' && (i + 1 == text.size() || text[i + 1] < 0x300)) {
            ++columns;
            ++i;
            continue;
        }
        const size_t end = NextClusterEnd(text, i);
        // CR LF is one cluster, but the layout counts its two characters.
        columns += text[i] == U'\r' ? end - i
                                    : static_cast<size_t>(ClusterColumns(text.substr(i, end - i)));
        i = end;
    }
    return columns;
}

bool IsNarrow(TextView text) {
    for (size_t i = 0; i < text.size();) {
        const size_t end = NextClusterEnd(text, i);
        if (text[i] != U'\r' && (end - i != 1 || ClusterColumns(text.substr(i, 1)) != 1))
            return false;
        i = end;
    }
    return true;
}

Text ExpandTabs(TextView text) {
    if (text.find(U'\t') == TextView::npos)
        return Text(text);
    Text out;
    size_t column = 0;
    for (size_t i = 0; i < text.size();) {
        const char32_t c = text[i];
        if (c == U'\t') {
            const size_t spaces = 8 - column % 8;
            out.append(spaces, U' ');
            column += spaces;
            ++i;
            continue;
        }
        const size_t end = NextClusterEnd(text, i);
        out += text.substr(i, end - i);
        if (c == U'\r' || c == U'\n')
            column = 0;
        else
            column += static_cast<size_t>(ClusterColumns(text.substr(i, end - i)));
        i = end;
    }
    return out;
}

}  // namespace velmo

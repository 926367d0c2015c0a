#include "domain/line_break.h"

#include <initializer_list>

#include "domain/unicode.h"

namespace velmo {

namespace {

using unicode::CharProperties;
using unicode::EastAsianWidth;
using unicode::LineBreak;
using L = LineBreak;

bool IsOneOf(L value, std::initializer_list<L> classes) {
    for (L c : classes) {
        if (value == c)
            return true;
    }
    return false;
}

// The class the rules see, after LB1 resolves the classes they leave to the
// application: ambiguous, surrogate and unknown as alphabetic, the marks of
// the South-East Asian scripts as combining marks and their letters as
// alphabetic (no dictionary here), conditional Japanese starters as NS.
L Resolved(const CharProperties& properties) {
    switch (properties.line) {
        case L::AI:
        case L::SG:
        case L::XX:
            return L::AL;
        case L::SA:
            return properties.Has(unicode::kMark) ? L::CM : L::AL;
        case L::CJ:
            return L::NS;
        default:
            return properties.line;
    }
}

L ResolvedAt(TextView text, size_t i) {
    return Resolved(unicode::PropertiesOf(text[i]));
}

bool IsHardBreak(L c) {
    return IsOneOf(c, {L::BK, L::CR, L::LF, L::NL});
}

bool IsWide(EastAsianWidth width) {
    return width == EastAsianWidth::F || width == EastAsianWidth::W || width == EastAsianWidth::H;
}

// Where the text stands in a number, for the rules of LB25: after
// NU (NU | SY | IS)*, or after that and a closing CL or CP.
enum class Number { None, Digits, Closed };

// What the rules look back at. A "unit" is a character together with the
// combining marks and joiners LB9 attaches to it; XX marks "none" (LB1
// resolves every real XX to AL).
struct Context {
    L last = L::XX;           // the previous code point's class, marks not attached
    L unit = L::XX;           // the previous unit's class
    L unit_before = L::XX;    // the class of the unit before that one (LB21a)
    L before_spaces = L::XX;  // the unit before the run of spaces that ends here
    bool unit_wide = false;   // the previous unit is fullwidth, wide or halfwidth (LB30)
    bool unit_unassigned_pictographic = false;  // LB30b
    bool odd_regional = false;  // the previous unit ends an odd run of regional indicators
    Number number = Number::None;

    // The unit before the spaces that end here, or the previous unit when
    // there are none: what the rules written "X SP*" compare with X.
    L BeforeSpaces() const { return unit == L::SP ? before_spaces : unit; }

    void AttachMark(L c) { last = c; }

    void StartUnit(L c, L as, const CharProperties& properties) {
        if (as == L::SP && unit != L::SP)
            before_spaces = unit;
        if (as == L::NU)
            number = Number::Digits;
        else if (number == Number::Digits && IsOneOf(as, {L::SY, L::IS}))
            number = Number::Digits;
        else if (number == Number::Digits && IsOneOf(as, {L::CL, L::CP}))
            number = Number::Closed;
        else
            number = Number::None;
        odd_regional = as == L::RI && !(unit == L::RI && odd_regional);
        unit_before = unit;
        unit = as;
        unit_wide = IsWide(properties.width);
        unit_unassigned_pictographic =
            properties.Has(unicode::kExtendedPictographic) && properties.Has(unicode::kUnassigned);
        last = c;
    }
};

// Whether a break is allowed between a unit of class `b` and the next one of
// class `a`, by the rules LB11 to LB31. `at` is the next unit's first
// position, for the one rule that looks ahead.
bool BreakBetween(const Context& context, L a, const CharProperties& properties, TextView text,
                  size_t at) {
    const L b = context.unit;
    const L x = context.BeforeSpaces();
    // LB11, LB12, LB12a: word joiners and no-break glue.
    if (a == L::WJ || b == L::WJ || b == L::GL)
        return false;
    if (a == L::GL && !IsOneOf(b, {L::SP, L::BA, L::HY}))
        return false;
    // LB13: closing punctuation, exclamations, infix separators and slashes stay with
    // what precedes them.
    if (IsOneOf(a, {L::CL, L::CP, L::EX, L::IS, L::SY}))
        return false;
    // LB14 to LB17: across spaces.
    if (x == L::OP)
        return false;
    if (x == L::QU && a == L::OP)
        return false;
    if (IsOneOf(x, {L::CL, L::CP}) && a == L::NS)
        return false;
    if (x == L::B2 && a == L::B2)
        return false;
    // LB18: after spaces.
    if (b == L::SP)
        return true;
    // LB19, LB20: quotation marks bind both ways; contingent breaks break both ways.
    if (a == L::QU || b == L::QU)
        return false;
    if (a == L::CB || b == L::CB)
        return true;
    // LB21, LB21a, LB21b: hyphens, dashes and small kana.
    if (IsOneOf(a, {L::BA, L::HY, L::NS}) || b == L::BB)
        return false;
    if (context.unit_before == L::HL && IsOneOf(b, {L::HY, L::BA}))
        return false;
    if (b == L::SY && a == L::HL)
        return false;
    // LB22: ellipses.
    if (a == L::IN)
        return false;
    // LB23, LB23a, LB24: letters, numbers, ideographs and their prefixes and postfixes.
    const bool b_letter = IsOneOf(b, {L::AL, L::HL});
    const bool a_letter = IsOneOf(a, {L::AL, L::HL});
    if ((b_letter && a == L::NU) || (b == L::NU && a_letter))
        return false;
    if ((b == L::PR && IsOneOf(a, {L::ID, L::EB, L::EM})) ||
        (IsOneOf(b, {L::ID, L::EB, L::EM}) && a == L::PO))
        return false;
    if ((IsOneOf(b, {L::PR, L::PO}) && a_letter) || (b_letter && IsOneOf(a, {L::PR, L::PO})))
        return false;
    // LB25, with the number tailoring: (PR | PO) × (OP | HY)? NU, (OP | HY) × NU,
    // NU (NU | SY | IS)* × (NU | SY | IS | CL | CP), NU (NU | SY | IS)* (CL | CP)? × (PO | PR).
    if (IsOneOf(b, {L::PR, L::PO})) {
        if (a == L::NU)
            return false;
        if (IsOneOf(a, {L::OP, L::HY})) {
            // The marks LB9 attaches to the OP or HY are skipped.
            size_t next = at + 1;
            while (next < text.size() && IsOneOf(ResolvedAt(text, next), {L::CM, L::ZWJ}))
                ++next;
            if (next < text.size() && ResolvedAt(text, next) == L::NU)
                return false;
        }
    }
    if (IsOneOf(b, {L::OP, L::HY}) && a == L::NU)
        return false;
    if (context.number == Number::Digits && IsOneOf(a, {L::NU, L::SY, L::IS, L::CL, L::CP}))
        return false;
    if (context.number != Number::None && IsOneOf(a, {L::PO, L::PR}))
        return false;
    // LB26, LB27: Korean syllables.
    if (b == L::JL && IsOneOf(a, {L::JL, L::JV, L::H2, L::H3}))
        return false;
    if (IsOneOf(b, {L::JV, L::H2}) && IsOneOf(a, {L::JV, L::JT}))
        return false;
    if (IsOneOf(b, {L::JT, L::H3}) && a == L::JT)
        return false;
    const bool b_korean = IsOneOf(b, {L::JL, L::JV, L::JT, L::H2, L::H3});
    const bool a_korean = IsOneOf(a, {L::JL, L::JV, L::JT, L::H2, L::H3});
    if ((b_korean && a == L::PO) || (b == L::PR && a_korean))
        return false;
    // LB28, LB29: within words, and after an infix separator before a letter.
    if (b_letter && a_letter)
        return false;
    if (b == L::IS && a_letter)
        return false;
    // LB30: parentheses that are not East Asian stay on a word.
    if ((b_letter || b == L::NU) && a == L::OP && !IsWide(properties.width))
        return false;
    if (b == L::CP && !context.unit_wide && (a_letter || a == L::NU))
        return false;
    // LB30a: regional indicators in pairs (flags).
    if (b == L::RI && a == L::RI && context.odd_regional)
        return false;
    // LB30b: an emoji and its skin tone.
    if (a == L::EM && (b == L::EB || context.unit_unassigned_pictographic))
        return false;
    // LB31.
    return true;
}

}  // namespace

std::vector<bool> LineBreakOpportunities(TextView text) {
    // LB2 before LB3: an empty text has no break at all.
    std::vector<bool> result(text.size() + 1, false);
    if (text.empty())
        return result;
    result[text.size()] = true;  // LB3

    Context context;
    for (size_t i = 0; i < text.size(); ++i) {
        const CharProperties properties = unicode::PropertiesOf(text[i]);
        const L c = Resolved(properties);
        // LB10: a mark with nothing to attach to counts as a letter.
        const L as = (c == L::CM || c == L::ZWJ) ? L::AL : c;
        if (i == 0) {
            context.StartUnit(c, as, properties);  // LB2
            continue;
        }
        // LB9: a mark or joiner belongs to the unit before it, unless that is a
        // space or a break of some kind.
        const bool attaches = (c == L::CM || c == L::ZWJ) && context.unit != L::SP &&
                              context.unit != L::ZW && !IsHardBreak(context.unit);
        const L last = context.last;
        bool allowed;
        if (last == L::BK || last == L::LF || last == L::NL)
            allowed = true;  // LB4, LB5
        else if (last == L::CR)
            allowed = c != L::LF;  // LB5
        else if (IsHardBreak(c) || c == L::SP || c == L::ZW)
            allowed = false;  // LB6, LB7
        else if (context.BeforeSpaces() == L::ZW)
            allowed = true;  // LB8
        else if (last == L::ZWJ || attaches)
            allowed = false;  // LB8a, LB9
        else
            allowed = BreakBetween(context, as, properties, text, i);
        result[i] = allowed;
        if (attaches)
            context.AttachMark(c);
        else
            context.StartUnit(c, as, properties);
    }
    return result;
}

}  // namespace velmo

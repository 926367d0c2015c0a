#include "domain/stored_options.h"

#include <algorithm>
#include <cstdlib>

#include "domain/reg_document.h"

namespace velmo {

const std::array<StoredField, 14> StoredFields = {{
    {U"Program Values", &StoredSettings::programValues},
    {U"Fixed width", &StoredSettings::plainWidth},
    {U"Top text like", &StoredSettings::topLike},
    {U"Top text repeat", &StoredSettings::topRepeat},
    {U"Signature width", &StoredSettings::borderedWidth},
    {U"Bottom text like", &StoredSettings::bottomLike},
    {U"Bottom text repeat", &StoredSettings::bottomRepeat},
    {U"Left text like", &StoredSettings::leftSide},
    {U"Indent", &StoredSettings::indent},
    {U"Right text like", &StoredSettings::rightSide},
    {U"Signature File", &StoredSettings::signaturePath},
    {U"Variable File", &StoredSettings::quoteListPath},
    {U"Fixed text File", &StoredSettings::fixedTextPath},
    {U"No Repeats", &StoredSettings::noRepeats},
}};

TextView StoredName(Text StoredSettings::*value) {
    for (const StoredField& field : StoredFields) {
        if (field.value == value)
            return field.name;
    }
    return {};
}

void ReadStoredValues(const std::vector<StoredValue>& values, StoredSettings& settings) {
    std::array<Text, StoredFields.size()> folded;
    for (size_t i = 0; i < folded.size(); ++i)
        folded[i] = FoldCase(StoredFields[i].name);
    // A name of the same spelling wins over one in other letter case (only a
    // hand-edited file holds both), and the first of either over later ones.
    enum Match { kNone, kOtherCase, kExact };
    std::array<Match, StoredFields.size()> found{};
    for (const StoredValue& value : values) {
        const Text name = FoldCase(value.name);
        for (size_t i = 0; i < folded.size(); ++i) {
            if (name != folded[i])
                continue;
            const Match match = value.name == StoredFields[i].name ? kExact : kOtherCase;
            if (match <= found[i])
                break;
            found[i] = match;
            Text StoredSettings::*const field = StoredFields[i].value;
            settings.*field =
                field == &StoredSettings::topLike ? TrimBlanks(value.text) : value.text;
            break;
        }
    }
}

std::optional<ProgramFlagArray> DecodeProgramValues(TextView packed) {
    ProgramFlagArray flags{};
    // Whatever another tool or a hand edit left after the fields is not read.
    if (packed.size() < 2 * flags.size())
        return std::nullopt;
    const auto digit = [](char32_t c) { return c >= U'0' && c <= U'9'; };
    for (size_t i = 0; i < flags.size(); ++i) {
        const char32_t first = packed[2 * i];
        const char32_t last = packed[2 * i + 1];
        // One digit with a blank after it reads as a number too.
        if (digit(first) && last == U' ') {
            flags[i] = static_cast<std::int16_t>(first - U'0');
            continue;
        }
        if (!digit(last) || !(first == U' ' || first == U'-' || first == U'+' || digit(first))) {
            return std::nullopt;
        }
        int value = static_cast<int>(last - U'0');
        if (digit(first))
            value += 10 * static_cast<int>(first - U'0');
        flags[i] = static_cast<std::int16_t>(first == U'-' ? -value : value);
    }
    return flags;
}

Text EncodeProgramValues(const ProgramFlagArray& flags) {
    Text packed;
    for (const std::int16_t value : flags) {
        // One digit per field keeps the string at 40 characters.
        const int magnitude = std::min(9, std::abs(static_cast<int>(value)));
        packed += value < 0 ? U'-' : U' ';
        packed += static_cast<char32_t>(U'0' + magnitude);
    }
    return packed;
}

namespace {

constexpr int kMaxChangeInterval = 8;
constexpr std::array<int, 4> kWidths = {40, 60, 80, 100};
constexpr int kMaxIndent = 4;

// A check box takes 0, 1 or 2; any other number leaves it as it was.
Check CheckOr(int stored, Check kept) {
    return stored >= 0 && stored <= 2 ? static_cast<Check>(stored) : kept;
}

// The stored width when it is one of the choices, else the default. The
// text must be exactly the choice: an empty or hand-edited one is not.
int WidthOr(const Text& stored, int fallback) {
    for (const int w : kWidths) {
        if (stored == ToText(w))
            return w;
    }
    return fallback;
}

int IndentOr(const Text& stored, int fallback) {
    for (int i = 0; i <= kMaxIndent; ++i) {
        if (stored == ToText(i))
            return i;
    }
    return fallback;
}

// Option buttons of one group set one after the other: the last one set on
// is chosen; none set on leaves the group without a choice.
template <typename Choice>
Choice LastChosen(std::initializer_list<std::pair<std::int16_t, Choice>> buttons, Choice none) {
    Choice chosen = none;
    for (const auto& [flag, choice] : buttons) {
        if (flag != 0)
            chosen = choice;
    }
    return chosen;
}

std::int16_t Flag(bool on) {
    return static_cast<std::int16_t>(on ? -1 : 0);
}

std::int16_t Number(Check c) {
    return static_cast<std::int16_t>(c);
}

}  // namespace

std::optional<SignatureOptions> DecodeOptions(const StoredSettings& settings,
                                              const SignatureOptions& base) {
    const std::optional<ProgramFlagArray> decoded = DecodeProgramValues(settings.programValues);
    if (!decoded)
        return std::nullopt;
    const ProgramFlagArray& v = *decoded;
    const SignatureOptions defaults;
    SignatureOptions o = base;

    o.changeInterval = v[0] >= 0 && v[0] <= kMaxChangeInterval ? v[0] : defaults.changeInterval;
    o.toClipboard = CheckOr(v[1], base.toClipboard);
    o.toFile = CheckOr(v[2], base.toFile);
    o.variablePart = CheckOr(v[3], base.variablePart);
    o.fixedPart = CheckOr(v[4], base.fixedPart);
    o.startOnTray = CheckOr(v[5], base.startOnTray);
    o.order = v[6] != 0 ? PartOrder::VariableFirst : PartOrder::FixedFirst;
    o.bordered = CheckOr(v[7], base.bordered);
    o.blankRows = CheckOr(v[8], base.blankRows);
    o.top = v[9] != 0 ? TopBorder::Like : TopBorder::Repeat;
    o.bottom = LastChosen(
        {{v[10], BottomBorder::Like}, {v[11], BottomBorder::Repeat}, {v[12], BottomBorder::Same}},
        BottomBorder::Unchosen);
    o.rightLikeChosen = v[13] != 0;
    o.separator = LastChosen({{v[14], PartSeparator::None},
                              {v[15], PartSeparator::BlankLine},
                              {v[16], PartSeparator::SameAsTop},
                              {v[17], PartSeparator::SameAsBottom}},
                             PartSeparator::Unchosen);
    o.rightSameAsLeft = CheckOr(v[18], base.rightSameAsLeft);
    switch (v[19]) {
        case 1:
            o.output = OutputForm::PlainText;
            break;
        case 2:
            o.output = OutputForm::Html;
            break;
        case 3:
            o.output = OutputForm::Rtf;
            break;
        default:
            break;
    }

    // A longer stored text is cut to what its option takes.
    const StoredSettings& s = settings;
    const auto like = [](TextView t) { return Text(t.substr(0, kMaxLikeLength)); };
    const auto unit = [](TextView t) { return Text(t.substr(0, kMaxUnitLength)); };
    o.plainWidth = WidthOr(s.plainWidth, defaults.plainWidth);
    // The top text is read trimmed; cut, it is trimmed again, so that saving
    // and reading it keeps it.
    o.topLike = TrimBlanks(like(TrimBlanks(s.topLike)));
    o.topRepeat = unit(s.topRepeat);
    o.borderedWidth = WidthOr(s.borderedWidth, defaults.borderedWidth);
    o.bottomLike = like(s.bottomLike);
    o.bottomRepeat = unit(s.bottomRepeat);
    o.leftSide = unit(s.leftSide);
    o.indent = IndentOr(s.indent, defaults.indent);
    o.rightSide = unit(s.rightSide);
    o.noRepeats = TrimBlanks(s.noRepeats) == U"1";
    return o;
}

ProgramFlagArray ProgramFlags(const SignatureOptions& o) {
    const std::int16_t outputType = o.output == OutputForm::Html  ? 2
                                    : o.output == OutputForm::Rtf ? 3
                                                                  : 1;
    return {static_cast<std::int16_t>(o.changeInterval),
            Number(o.toClipboard),
            Number(o.toFile),
            Number(o.variablePart),
            Number(o.fixedPart),
            Number(o.startOnTray),
            Flag(o.order == PartOrder::VariableFirst),
            Number(o.bordered),
            Number(o.blankRows),
            Flag(o.top == TopBorder::Like),
            Flag(o.bottom == BottomBorder::Like),
            Flag(o.bottom == BottomBorder::Repeat),
            Flag(o.bottom == BottomBorder::Same),
            Flag(o.rightLikeChosen),
            Flag(o.separator == PartSeparator::None),
            Flag(o.separator == PartSeparator::BlankLine),
            Flag(o.separator == PartSeparator::SameAsTop),
            Flag(o.separator == PartSeparator::SameAsBottom),
            Number(o.rightSameAsLeft),
            outputType};
}

std::vector<StoredValue> EncodeOptions(const SignatureOptions& o, const Text& signaturePath,
                                       const Text& quoteListPath, const Text& fixedPath) {
    const StoredSettings stored{EncodeProgramValues(ProgramFlags(o)),
                                ToText(o.plainWidth),
                                o.topLike,
                                o.topRepeat,
                                ToText(o.borderedWidth),
                                o.bottomLike,
                                o.bottomRepeat,
                                o.leftSide,
                                ToText(o.indent),
                                o.rightSide,
                                signaturePath,
                                quoteListPath,
                                fixedPath,
                                o.noRepeats ? U"1" : U"0"};
    std::vector<StoredValue> values;
    values.reserve(StoredFields.size());
    for (const StoredField& field : StoredFields)
        values.push_back({Text(field.name), stored.*field.value});
    return values;
}

}  // namespace velmo

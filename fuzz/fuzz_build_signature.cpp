// Signature assembly from any texts and options, in both layouts and all
// three output types. Beyond not crashing:
// - the plain layout loses no character of the parts but blanks and breaks,
//   and so does the wrap at any width;
// - with options the border tab allows (side texts of at most 6 characters,
//   a "Like" top border of 40 or more, non-empty repeat units) and parts whose
//   words are shorter than 17 characters and whose only line breaks are CR LF
//   pairs, every framed row of a bordered signature is exactly as wide as the
//   total width (two more in HTML), each part framed alone keeps its text
//   between the side borders, and plain lines fit the wrap width;
// - the HTML and Rich Text forms hold only markup of their own;
// - the options survive being saved to a settings file and read back.
//
// Input: four option bytes (the last one a wrap width), then the fixed part,
// the variable part, the top "Like" text, the top repeat unit, the bottom
// "Like" text, the bottom repeat unit, the left and the right side text,
// separated by 0x1F, all UTF-8. The top bit of the third option byte makes
// the texts fit the limits above.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "domain/layout.h"
#include "domain/wrap.h"
#include "fuzz_checks.h"

namespace velmo::fuzz {
namespace {

constexpr size_t kLongestWord = 16;
constexpr size_t kMinLike = 40;
constexpr size_t kMaxSide = 6;

enum Piece { kFixed, kVariable, kTopLike, kTopRepeat, kBottomLike, kBottomRepeat, kLeft, kRight };

bool IsBreak(char32_t c) {
    return c == U'\r' || c == U'\n';
}

bool HasBreak(TextView text) {
    for (char32_t c : text) {
        if (IsBreak(c))
            return true;
    }
    return false;
}

// True when every CR and LF is part of a CR LF pair.
bool BreaksArePairs(TextView text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'\r' && (i + 1 >= text.size() || text[i + 1] != U'\n'))
            return false;
        if (text[i] == U'\n' && (i == 0 || text[i - 1] != U'\r'))
            return false;
    }
    return true;
}

// True when the breaks are CR LF pairs and no word (a run between blanks and
// line breaks) has more than kLongestWord characters.
bool IsTameText(TextView text) {
    size_t run = 0;
    for (char32_t c : text) {
        run = (c == U' ' || IsBreak(c)) ? 0 : run + 1;
        if (run > kLongestWord)
            return false;
    }
    return BreaksArePairs(text);
}

Text Tame(TextView text) {
    Text out;
    size_t run = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        const bool pairStart = c == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n';
        const bool pairEnd = c == U'\n' && i > 0 && text[i - 1] == U'\r';
        if (IsBreak(c) && !pairStart && !pairEnd)
            c = U' ';
        if (run == kLongestWord && c != U' ' && !IsBreak(c)) {
            out += U' ';
            run = 0;
        }
        out += c;
        run = (c == U' ' || IsBreak(c)) ? 0 : run + 1;
    }
    return out;
}

Text WithoutBreaks(TextView text) {
    Text out;
    for (char32_t c : text) {
        if (!IsBreak(c))
            out += c;
    }
    return out;
}

// The characters that wrapping may neither drop nor reorder.
Text Visible(TextView text) {
    Text out;
    for (char32_t c : text) {
        if (c != U' ' && !IsBreak(c))
            out += c;
    }
    return out;
}

struct Input {
    SignatureOptions options;
    Text fixed;
    Text quote;
    int wrapWidth = 0;
};

Input ReadInput(std::string_view bytes) {
    const auto next = [&bytes]() -> std::uint8_t {
        if (bytes.empty())
            return 0;
        const auto v = static_cast<std::uint8_t>(bytes.front());
        bytes.remove_prefix(1);
        return v;
    };
    const std::uint8_t a = next();
    const std::uint8_t b = next();
    const std::uint8_t c = next();
    const std::uint8_t d = next();
    std::vector<Text> texts;
    for (std::string_view piece : SplitBytes(bytes, '\x1f'))
        texts.push_back(FromUtf8(piece));
    texts.resize(kRight + 1);
    if (c & 0x80) {
        texts[kFixed] = Tame(texts[kFixed]);
        texts[kVariable] = Tame(texts[kVariable]);
        for (Piece p : {kTopLike, kTopRepeat, kBottomLike, kBottomRepeat, kLeft, kRight})
            texts[p] = WithoutBreaks(texts[p]);
        if (texts[kTopLike].size() < kMinLike)
            texts[kTopLike] += Text(kMinLike - texts[kTopLike].size(), U'*');
        for (Piece p : {kTopRepeat, kBottomLike, kBottomRepeat}) {
            if (texts[p].empty())
                texts[p] = U"*";
        }
    }

    constexpr int kWidths[] = {40, 60, 80, 100};
    const auto check = [](int bits) { return bits == 0 ? Check::Off : Check::On; };
    Input in;
    SignatureOptions& o = in.options;
    o.bordered = (a & 3) == 2 ? Check::Greyed : check(a & 1);
    o.blankRows = check((a >> 2) & 1);
    o.top = (a >> 3) & 1 ? TopBorder::Like : TopBorder::Repeat;
    constexpr BottomBorder kBottoms[] = {BottomBorder::Unchosen, BottomBorder::Like,
                                         BottomBorder::Repeat, BottomBorder::Same};
    o.bottom = kBottoms[(a >> 4) & 3];
    o.rightSameAsLeft = check((a >> 6) & 1);
    o.order = (a >> 7) & 1 ? PartOrder::VariableFirst : PartOrder::FixedFirst;
    o.borderedWidth = kWidths[b & 3];
    o.plainWidth = kWidths[(b >> 2) & 3];
    o.indent = (b >> 4) % 5;
    o.variablePart = check(!((b >> 7) & 1));
    constexpr PartSeparator kSeparators[] = {PartSeparator::None, PartSeparator::BlankLine,
                                             PartSeparator::SameAsTop, PartSeparator::SameAsBottom};
    o.separator = kSeparators[c & 3];
    constexpr OutputForm kForms[] = {OutputForm::PlainText, OutputForm::Html, OutputForm::Rtf,
                                     OutputForm::PlainText};
    o.output = kForms[(c >> 2) & 3];
    o.fixedPart = check(!((c >> 4) & 1));
    o.rightLikeChosen = (c >> 5) & 1;
    o.topLike = texts[kTopLike];
    o.topRepeat = texts[kTopRepeat];
    o.bottomLike = texts[kBottomLike];
    o.bottomRepeat = texts[kBottomRepeat];
    o.leftSide = texts[kLeft];
    o.rightSide = texts[kRight];
    in.fixed = texts[kFixed];
    in.quote = texts[kVariable];
    in.wrapWidth = static_cast<int>(d % 102) - 1;
    return in;
}

// The parts as the layout takes them, first and second.
std::vector<Text> Parts(const Input& in) {
    const SignatureOptions& o = in.options;
    Text variable = in.quote.empty() ? Text(NoQuoteSelected) : in.quote;
    Text fixed = in.fixed;
    if (!Included(o.variablePart))
        variable.clear();
    if (!Included(o.fixedPart))
        fixed.clear();
    return o.order == PartOrder::FixedFirst ? std::vector<Text>{fixed, variable}
                                            : std::vector<Text>{variable, fixed};
}

// Lines end in CR LF and no character but blanks is lost; with only CR LF
// breaks in the text, a line longer than the limit is a piece of the last
// word, the one word never broken.
void CheckWrap(TextView text, int width) {
    const Text out = WrapText(text, width);
    Require(out.ends_with(CrLf), "a wrapped text does not end in CR LF");
    Require(Visible(out) == Visible(text), "the wrap lost or reordered text");
    if (width < 2 || !BreaksArePairs(text))
        return;
    const Text trimmed = TrimBlanks(text);
    const size_t space = trimmed.rfind(U' ');
    const Text lastWord = trimmed.substr(space == Text::npos ? 0 : space + 1);
    const auto limit = static_cast<size_t>(width - 1);
    for (const Text& line : CrLfLines(out)) {
        Require(!HasBreak(line), "a wrapped line holds a lone CR or LF");
        if (line.size() > limit)
            Require(line.find(U' ') == Text::npos && lastWord.find(line) != Text::npos,
                    "a wrapped line is longer than the width and not the last word");
    }
}

void CheckPlain(const Input& in, const Text& signature, bool tame) {
    const std::vector<Text> parts = Parts(in);
    Require(Visible(signature) == Visible(parts[0]) + Visible(parts[1]),
            "the plain layout lost or reordered text");
    if (!tame)
        return;
    const auto limit = static_cast<size_t>(in.options.plainWidth - 1);
    for (const Text& line : CrLfLines(signature))
        Require(line.size() <= limit, "a plain line is longer than the wrap width");
}

// Options within what the border tab lets the user set.
bool TameOptions(const SignatureOptions& o) {
    const Text& left = o.leftSide;
    const Text& right = SwitchedOn(o.rightSameAsLeft) ? left : o.rightSide;
    const bool likeTop = o.top == TopBorder::Like;
    if (likeTop && o.topLike.size() < kMinLike)
        return false;
    if (!likeTop && o.topRepeat.empty())
        return false;
    if (o.bottom == BottomBorder::Repeat && o.bottomRepeat.empty())
        return false;
    if (o.bottom == BottomBorder::Like && o.bottomLike.empty())
        return false;
    return left.size() <= kMaxSide && right.size() <= kMaxSide && !HasBreak(left) &&
           !HasBreak(right) && !HasBreak(o.topLike) && !HasBreak(o.topRepeat) &&
           !HasBreak(o.bottomLike) && !HasBreak(o.bottomRepeat);
}

// Every line between the top and the bottom border is a framed row (or a
// blank row) of the total width, or a line of the separator.
void CheckBordered(const SignatureOptions& o, const Text& signature,
                   const std::vector<Text>& parts) {
    const bool html = o.output == OutputForm::Html;
    const std::vector<Text> lines = CrLfLines(signature);
    const bool likeTop = o.top == TopBorder::Like;
    const Text top =
        likeTop ? o.topLike
                : Repeat(o.topRepeat, o.borderedWidth / static_cast<long long>(o.topRepeat.size()));
    const bool bottomIsTop = o.bottom != BottomBorder::Like && o.bottom != BottomBorder::Repeat;
    const size_t total = likeTop ? o.topLike.size() : static_cast<size_t>(o.borderedWidth);
    const size_t rowWidth = html ? total + 2 : total;

    Require(lines.size() >= 3 && lines[0].empty() && lines[1] == top,
            "a bordered signature does not start with a line break and the top border");
    const Text& bottom = lines.back();
    if (bottomIsTop)
        Require(bottom == top, "the bottom border is not the top border");
    for (size_t i = 2; i + 1 < lines.size(); ++i) {
        const Text& line = lines[i];
        if (line.size() == rowWidth)
            continue;
        if (html && line.empty())
            continue;  // a blank row
        if (o.separator == PartSeparator::SameAsTop && line == top)
            continue;
        if (o.separator == PartSeparator::SameAsBottom &&
            (line == bottom || (bottomIsTop && line.empty())))
            continue;
        Require(false, "a framed row is not as wide as the border");
    }

    // Each part framed alone, its side borders taken off, holds its text in order.
    const SideBorders sides = ComputeSideBorders(o);
    const auto content = static_cast<int>(total - sides.LeftSide.size() - sides.RightSide.size());
    for (const Text& part : parts) {
        if (part.empty())
            continue;
        Text inside;
        for (Text row : CrLfLines(FramePart(o, part, content))) {
            row += CrLf;
            Require(row.starts_with(sides.LeftSide), "a framed row lost its left side");
            if (!html) {
                Require(row.ends_with(sides.RightSide), "a framed row lost its right side");
                row.resize(row.size() - sides.RightSide.size());
            }
            inside += row.substr(sides.LeftSide.size());
        }
        Require(Visible(inside) == Visible(part), "framing lost or reordered text");
    }
}

}  // namespace
}  // namespace velmo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmo;
    using namespace velmo::fuzz;
    const Input in = ReadInput(std::string_view(reinterpret_cast<const char*>(data), size));
    const SignatureOptions& o = in.options;
    const Text signature = ComposeSignature(o, in.fixed, in.quote);

    const std::vector<Text> parts = Parts(in);
    const bool tameParts = IsTameText(parts[0]) && IsTameText(parts[1]);
    if (SwitchedOn(o.bordered)) {
        if (tameParts && TameOptions(o))
            CheckBordered(o, signature, parts);
    } else {
        CheckPlain(in, signature, tameParts);
    }
    CheckWrap(in.quote, in.wrapWidth);
    CheckForm(o.output, signature);

    // Stored texts are cut to what their options take, and the top "Like"
    // border loses its outer blanks.
    SignatureOptions stored = o;
    const auto cut = [](const Text& text, size_t length) { return text.substr(0, length); };
    stored.topLike = TrimBlanks(cut(TrimBlanks(o.topLike), kMaxLikeLength));
    stored.bottomLike = cut(o.bottomLike, kMaxLikeLength);
    for (Text* unit :
         {&stored.topRepeat, &stored.bottomRepeat, &stored.leftSide, &stored.rightSide})
        *unit = cut(*unit, kMaxUnitLength);
    CheckStoredRoundTrip(stored);
    return 0;
}

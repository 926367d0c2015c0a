// Signature assembly from any texts and options, in both layouts and all
// three output types. Beyond not crashing:
// - the plain layout loses no character of the parts but blanks and breaks;
// - with options the border tab allows (side texts of at most 6 characters,
//   a "Like" top border of 40 or more, non-empty repeat units) and parts whose
//   words are shorter than 17 characters and whose only line breaks are CR LF
//   pairs, every framed row of a bordered signature is exactly as wide as the
//   total width (two more in HTML), and plain lines fit the wrap width;
// - the HTML and Rich Text forms hold only markup of their own.
//
// Input: three option bytes, then the fixed part, the variable part, the top
// "Like" text, the top repeat unit, the bottom "Like" text, the bottom repeat
// unit, the left and the right side text, separated by 0x1F, all UTF-8. The
// top bit of the third option byte makes the texts fit the limits above.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzz_checks.h"
#include "support/fakes.h"
#include "ui/signature.h"

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

// True when every CR and LF is part of a CR LF pair and no word (a run
// between blanks and line breaks) has more than kLongestWord characters.
bool IsTameText(TextView text) {
    size_t run = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c == U'\r' && (i + 1 >= text.size() || text[i + 1] != U'\n'))
            return false;
        if (c == U'\n' && (i == 0 || text[i - 1] != U'\r'))
            return false;
        run = (c == U' ' || IsBreak(c)) ? 0 : run + 1;
        if (run > kLongestWord)
            return false;
    }
    return true;
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

struct Options {
    std::uint8_t a = 0;
    std::uint8_t b = 0;
    std::uint8_t c = 0;
    std::vector<Text> texts;
};

Options ReadOptions(std::string_view bytes) {
    Options o;
    const auto next = [&bytes]() -> std::uint8_t {
        if (bytes.empty())
            return 0;
        const auto v = static_cast<std::uint8_t>(bytes.front());
        bytes.remove_prefix(1);
        return v;
    };
    o.a = next();
    o.b = next();
    o.c = next();
    for (std::string_view piece : SplitBytes(bytes, '\x1f'))
        o.texts.push_back(FromUtf8(piece));
    o.texts.resize(kRight + 1);
    if (o.c & 0x80) {
        o.texts[kFixed] = Tame(o.texts[kFixed]);
        o.texts[kVariable] = Tame(o.texts[kVariable]);
        for (Piece p : {kTopLike, kTopRepeat, kBottomLike, kBottomRepeat, kLeft, kRight})
            o.texts[p] = WithoutBreaks(o.texts[p]);
        if (o.texts[kTopLike].size() < kMinLike)
            o.texts[kTopLike] += Text(kMinLike - o.texts[kTopLike].size(), U'*');
        for (Piece p : {kTopRepeat, kBottomLike, kBottomRepeat}) {
            if (o.texts[p].empty())
                o.texts[p] = U"*";
        }
    }
    return o;
}

void Apply(const Options& o, MainForm& f) {
    static const Text kWidths[] = {U"40", U"60", U"80", U"100"};
    // Texts first: a new repeat unit selects "Repeat", as typing it does.
    f.txtTBLike.Text = o.texts[kTopLike];
    f.txtTBRepeat.Text = o.texts[kTopRepeat];
    f.txtBBLike.Text = o.texts[kBottomLike];
    f.txtBBRepeat.Text = o.texts[kBottomRepeat];
    f.txtSBSLeftLike.Text = o.texts[kLeft];
    f.txtSBSRightLike.Text = o.texts[kRight];
    f.txtFixed.Text = o.texts[kFixed];

    f.chkBorder.Value = (o.a & 3) == 3 ? 1 : o.a & 3;
    f.chkSpace.Value = (o.a >> 2) & 1;
    if ((o.a >> 3) & 1) {
        f.optTBLike.Value = true;
    } else {
        f.optTBRepeat.Value = true;
    }
    switch ((o.a >> 4) & 3) {
        case 1:
            f.optBBLike.Value = true;
            break;
        case 2:
            f.optBBRepeat.Value = true;
            break;
        case 3:
            f.optBBSame.Value = true;
            break;
        default:
            f.optBBLike.Value = false;
            f.optBBRepeat.Value = false;
            f.optBBSame.Value = false;
    }
    f.chkSBSRightSame.Value = (o.a >> 6) & 1;
    if ((o.a >> 7) & 1) {
        f.optOrderVF.Value = true;
    } else {
        f.optOrderFF.Value = true;
    }

    f.cmbWidth.Text = kWidths[o.b & 3];
    f.cmbFixWidth.Text = kWidths[(o.b >> 2) & 3];
    f.cmbSBSIndent.Text = ToText((o.b >> 4) % 5);
    f.chkVar.Value = ((o.b >> 7) & 1) ? 0 : 1;

    switch (o.c & 3) {
        case 1:
            f.optSBSBlankLine.Value = true;
            break;
        case 2:
            f.optSBSSameTop.Value = true;
            break;
        case 3:
            f.optSBSSameBottom.Value = true;
            break;
        default:
            f.optSBSSepNone.Value = true;
    }
    switch ((o.c >> 2) & 3) {
        case 1:
            f.optHTML.Value = true;
            break;
        case 2:
            f.optRTF.Value = true;
            break;
        default:
            f.optText.Value = true;
    }
    f.chkFixed.Value = ((o.c >> 4) & 1) ? 0 : 1;
}

// The parts as BuildSignature takes them, first and second.
std::vector<Text> Parts(const App& app) {
    const MainForm& f = app.form;
    Text variable = app.PickedText.empty() ? Text(NoQuoteSelected) : app.PickedText;
    Text fixed = f.txtFixed.Text;
    if (f.chkVar.Value == 0)
        variable.clear();
    if (f.chkFixed.Value == 0)
        fixed.clear();
    return f.optOrderFF.Value ? std::vector<Text>{fixed, variable}
                              : std::vector<Text>{variable, fixed};
}

void CheckPlain(const App& app, bool tame) {
    const std::vector<Text> parts = Parts(app);
    Require(Visible(app.SignatureText) == Visible(parts[0]) + Visible(parts[1]),
            "the plain layout lost or reordered text");
    if (!tame)
        return;
    const size_t limit = static_cast<size_t>(ToWholeNumber(app.form.cmbFixWidth.Text.get())) - 1;
    for (const Text& line : CrLfLines(app.SignatureText))
        Require(line.size() <= limit, "a plain line is longer than the wrap width");
}

// Options within what the border tab lets the user set.
bool TameOptions(const MainForm& f) {
    const Text& left = f.txtSBSLeftLike.Text;
    const Text& right = f.chkSBSRightSame.Value == 1 ? left : f.txtSBSRightLike.Text.get();
    const bool likeTop = f.optTBLike.Value;
    if (likeTop && f.txtTBLike.Text.get().size() < kMinLike)
        return false;
    if (!likeTop && f.txtTBRepeat.Text.get().empty())
        return false;
    if (f.optBBRepeat.Value && f.txtBBRepeat.Text.get().empty())
        return false;
    if (f.optBBLike.Value && f.txtBBLike.Text.get().empty())
        return false;
    return left.size() <= kMaxSide && right.size() <= kMaxSide && !HasBreak(left) &&
           !HasBreak(right) && !HasBreak(f.txtTBLike.Text.get()) &&
           !HasBreak(f.txtTBRepeat.Text.get()) && !HasBreak(f.txtBBLike.Text.get()) &&
           !HasBreak(f.txtBBRepeat.Text.get());
}

// Every line between the top and the bottom border is a framed row (or a
// blank row) of the total width, or a line of the separator.
void CheckBordered(const App& app) {
    const MainForm& f = app.form;
    const bool html = f.optHTML.Value;
    const std::vector<Text> lines = CrLfLines(app.SignatureText);
    const Text top = f.optTBLike.Value
                         ? f.txtTBLike.Text.get()
                         : Repeat(f.txtTBRepeat.Text.get(),
                                  ToWholeNumber(f.cmbWidth.Text.get()) /
                                      static_cast<long long>(f.txtTBRepeat.Text.get().size()));
    const bool bottomIsTop = !f.optBBLike.Value && !f.optBBRepeat.Value;
    const size_t total = f.optTBLike.Value
                             ? f.txtTBLike.Text.get().size()
                             : static_cast<size_t>(ToWholeNumber(f.cmbWidth.Text.get()));
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
        if (f.optSBSSameTop.Value && line == top)
            continue;
        if (f.optSBSSameBottom.Value && (line == bottom || (bottomIsTop && line.empty())))
            continue;
        Require(false, "a framed row is not as wide as the border");
    }
}

}  // namespace
}  // namespace velmo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmo;
    using namespace velmo::fuzz;
    const Options options =
        ReadOptions(std::string_view(reinterpret_cast<const char*>(data), size));

    testing::TestApp t;
    App& app = t.app;
    app.AppPath = U"/opt/velmo/";
    Apply(options, app.form);
    app.PickedText = options.texts[kVariable];
    BuildSignature(app);

    const MainForm& f = app.form;
    const std::vector<Text> parts = Parts(app);
    const bool tameParts = IsTameText(parts[0]) && IsTameText(parts[1]);
    if (f.chkBorder.Value == 1) {
        if (tameParts && TameOptions(f))
            CheckBordered(app);
    } else {
        CheckPlain(app, tameParts);
    }
    if (f.optHTML.Value) {
        CheckHtmlForm(app);
    } else if (f.optRTF.Value) {
        CheckRtfForm(app);
    }
    return 0;
}

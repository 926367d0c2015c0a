// The wrap at any width and the signature from any texts and options: no character but blanks
// lost or reordered, lines ended in CR LF and wider than the width (in columns) only of one word,
// and a size bounded by the parts'. Input: four option bytes (the last a wrap width), then the
// fixed part, the variable part, the top "Like" and repeat texts, the bottom's two, the left and
// the right side text, separated by 0x1F, all UTF-8.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "domain/columns.h"
#include "domain/layout.h"
#include "domain/wrap.h"
#include "fuzz_checks.h"

namespace velmo::fuzz {
namespace {

// The characters that wrapping may neither drop nor reorder (a layout turns
// tabs into spaces).
Text Visible(TextView text) {
    Text out(text);
    std::erase_if(out,
                  [](char32_t c) { return c == U' ' || c == U'\r' || c == U'\n' || c == U'\t'; });
    return out;
}

// A lone CR or LF counts as a line end here.
void CheckLines(TextView wrapped, int width) {
    Require(wrapped.ends_with(CrLf), "a wrapped text does not end in CR LF");
    for (size_t pos = 0, end; pos < wrapped.size(); pos = end + 1) {
        end = std::min(wrapped.find_first_of(U"\r\n", pos), wrapped.size());
        const TextView line = wrapped.substr(pos, end - pos);
        Require(width < 2 || Columns(line) < static_cast<size_t>(width) || !HasBreakableSpace(line),
                "a wrapped line is longer than the width and not one word");
    }
}

// Bit fields of the option bytes; enums count through their values in order.
SignatureOptions ReadOptions(std::string_view bytes, const std::vector<Text>& texts) {
    const auto byte = [bytes](size_t i) -> unsigned {
        return i < bytes.size() ? static_cast<std::uint8_t>(bytes[i]) : 0;
    };
    const unsigned a = byte(0), b = byte(1), c = byte(2);
    const auto width = [](unsigned bits) { return 40 + 20 * static_cast<int>(bits & 3); };
    const auto check = [](unsigned bit) { return bit == 0 ? Check::Off : Check::On; };
    SignatureOptions o;
    o.bordered = (a & 3) == 2 ? Check::Greyed : check(a & 1);
    o.blankRows = check((a >> 2) & 1);
    o.top = (a >> 3) & 1 ? TopBorder::Like : TopBorder::Repeat;
    o.bottom = static_cast<BottomBorder>((a >> 4) & 3);
    o.rightSameAsLeft = check((a >> 6) & 1);
    o.order = (a >> 7) & 1 ? PartOrder::VariableFirst : PartOrder::FixedFirst;
    o.borderedWidth = width(b);
    o.plainWidth = width(b >> 2);
    o.indent = static_cast<int>((b >> 4) % 5);
    o.variablePart = check(!((b >> 7) & 1));
    o.separator = static_cast<PartSeparator>((c & 3) + 1);   // None to SameAsBottom
    o.output = static_cast<OutputForm>(((c >> 2) & 3) % 3);  // 3 is plain text again
    o.fixedPart = check(!((c >> 4) & 1));
    o.rightLikeChosen = (c >> 5) & 1;
    o.topLike = texts[2];
    o.topRepeat = texts[3];
    o.bottomLike = texts[4];
    o.bottomRepeat = texts[5];
    o.leftSide = texts[6];
    o.rightSide = texts[7];
    return o;
}

}  // namespace
}  // namespace velmo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmo;
    using namespace velmo::fuzz;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<Text> texts;
    for (std::string_view piece : SplitBytes(bytes.substr(std::min<size_t>(size, 4)), '\x1f'))
        texts.push_back(FromUtf8(piece));
    texts.resize(8);
    const SignatureOptions o = ReadOptions(bytes, texts);
    const Text& quote = texts[1];

    const int width = size > 3 ? data[3] % 102 - 1 : -1;
    const Text wrapped = WrapText(quote, width);
    CheckLines(wrapped, width);
    Require(Visible(wrapped) == Visible(quote), "the wrap lost or reordered text");

    const Text shown(Included(o.variablePart) ? (quote.empty() ? NoQuoteSelected : quote) : U"");
    const Text fixed = Included(o.fixedPart) ? texts[0] : U"";
    const Text parts = Visible(o.order == PartOrder::FixedFirst ? fixed + shown : shown + fixed);
    const Text signature = ComposeSignature(o, texts[0], quote);
    if (!SwitchedOn(o.bordered)) {
        CheckLines(signature.empty() ? Text(CrLf) : signature, o.plainWidth);
        Require(Visible(signature) == parts, "the plain layout lost or reordered text");
    } else {
        // The parts' characters come in order, with the frame's among them.
        size_t matched = 0;
        for (char32_t c : Visible(signature))
            matched += matched < parts.size() && parts[matched] == c;
        Require(matched == parts.size(), "framing lost or reordered text");
    }
    size_t row = 110 + 2 * static_cast<size_t>(o.indent);
    for (size_t i = 2; i < texts.size(); ++i)
        row += texts[i].size();
    Require(signature.size() <= (texts[0].size() + shown.size() + 16) * row,
            "a signature grew faster than its parts");
    return 0;
}

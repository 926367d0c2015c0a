// Text of any script laid out in columns: grapheme clusters found, every
// framed row exactly as wide as the border unless it holds one word longer
// than a row, plain lines within the width unless one word, no line of the
// wrap starting inside a grapheme cluster, and the line-break opportunities
// one per position. Input: one byte for the width and the side texts' length,
// then the text, each byte a character from a palette of the hard cases
// (wide, marks, joiners, emoji, flags, Hangul jamo, tabs, line breaks, ...),
// or 0xFF and three bytes for any code point.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "domain/columns.h"
#include "domain/layout.h"
#include "domain/line_break.h"
#include "domain/wrap.h"
#include "fuzz_checks.h"

namespace velmo::fuzz {
namespace {

constexpr std::array<char32_t, 48> kPalette = {
    U'a',    U'b',    U' ',    U' ',    U'\r',  U'\n',  U'\t',  U'-',    U'.',    U'(',
    U')',    U'1',    0x00E9,  0x0301,  0x0308, 0x200D, 0x200B, 0x00AD,  0xFE0F,  0xFE0E,
    0x6771,  0x4EAC,  0x3002,  0x3001,  0x300C, 0x300D, 0x3000, 0xFF21,  0xFF71,  0x1100,
    0x1161,  0x11A8,  0xAC00,  0x0915,  0x094D, 0x093F, 0x05D0, 0x0627,  0x1F44D, 0x1F3FD,
    0x1F468, 0x1F469, 0x1F1EF, 0x1F1F5, 0x2764, 0x261D, 0x20E3, 0x1F31F,
};

Text ReadText(std::string_view bytes) {
    Text text;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(bytes[i]);
        if (b == 0xFF && i + 3 < bytes.size()) {
            const auto at = [&](size_t k) { return static_cast<std::uint8_t>(bytes[i + k]); };
            text.push_back(static_cast<char32_t>((at(1) << 16 | at(2) << 8 | at(3)) % 0x110000));
            i += 3;
        } else {
            text.push_back(kPalette[b % kPalette.size()]);
        }
    }
    return text;
}

std::vector<TextView> LinesOf(TextView text) {
    std::vector<TextView> lines;
    for (size_t pos = 0, end; (end = text.find(CrLf, pos)) != TextView::npos; pos = end + 2)
        lines.push_back(text.substr(pos, end - pos));
    return lines;
}

// The positions of `text` where the wrap ended a line: it only adds CR LFs.
void CheckCutsAtClusters(TextView text, TextView wrapped) {
    const std::vector<bool> boundaries = ClusterBoundaries(text);
    size_t i = 0;
    for (size_t j = 0; j < wrapped.size();) {
        // An added CR LF is told from the text's own CR by what follows it.
        const bool added = wrapped.substr(j, 2) == CrLf && text.substr(i, 2) != CrLf;
        if (!added && i < text.size() && wrapped[j] == text[i]) {
            ++i, ++j;
            continue;
        }
        Require(wrapped.substr(j, 2) == CrLf, "the wrap changed the text");
        Require(boundaries[i], "a line of the wrap starts inside a grapheme cluster");
        j += 2;
    }
    Require(i == text.size(), "the wrap lost text");
}

}  // namespace
}  // namespace velmo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmo;
    using namespace velmo::fuzz;
    if (size == 0)
        return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const Text text = ReadText(bytes.substr(1));

    Require(ClusterBoundaries(text).size() == text.size() + 1, "cluster boundaries miscounted");
    Require(LineBreakOpportunities(text).size() == text.size() + 1,
            "line-break opportunities miscounted");

    const int width = 40 + 20 * (data[0] & 3);
    const Text side(static_cast<size_t>((data[0] >> 2) & 3), U'|');
    SignatureOptions o{.fixedPart = Check::Off,
                       .bordered = Check::On,
                       .topRepeat = U"=",
                       .borderedWidth = width,
                       .leftSide = side,
                       .indent = (data[0] >> 4) & 3};
    const Text framed = ComposeSignature(o, U"", text);
    const size_t sides = 2 * (side.size() + static_cast<size_t>(o.indent));
    for (const TextView row : LinesOf(framed)) {
        const size_t columns = Columns(row);
        // A lone CR or LF inside a row ends a line of its own on screen: no
        // column can be kept across it.
        if (columns == static_cast<size_t>(width) || row.empty() ||
            row.find_first_of(U"\r\n") != TextView::npos)
            continue;
        // Only a last word longer than a row may push the right side out.
        const TextView content = row.substr(sides / 2, row.size() - sides);
        Require(columns > static_cast<size_t>(width) && !HasBreakableSpace(content),
                "a framed row is not as wide as the border");
    }

    o.bordered = Check::Off;
    o.plainWidth = width;
    const Text plain = ComposeSignature(o, U"", text);
    for (const TextView line : LinesOf(plain))
        Require(Columns(line) < static_cast<size_t>(width) || !HasBreakableSpace(line) ||
                    line.find_first_of(U"\r\n") != TextView::npos,
                "a plain line is wider than the width and not one word");

    const Text expanded = TrimBlanks(ExpandTabs(text));
    CheckCutsAtClusters(expanded, WrapText(expanded, width - 2 * static_cast<int>(side.size())));
    return 0;
}

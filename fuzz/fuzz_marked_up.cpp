// The HTML and Rich Text forms of any signature text: pure ASCII, the same
// head and tail as every form, markup of the program's own only, and the
// escaped body decoding back to the signature with each line ended. The
// file's bytes are the form's ASCII.
// The input is the signature text as UTF-8.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "domain/output_forms.h"
#include "fuzz_checks.h"

namespace velmo::fuzz {
namespace {

// The form's body: what lies between the head and the tail that the form of
// a one-letter signature shows.
TextView BodyOf(TextView form, Text (*build)(TextView), TextView lineEnd) {
    const Text one = build(U"x");
    const size_t at = one.find(U"x" + Text(lineEnd));
    const TextView head = TextView(one).substr(0, at);
    const TextView tail = TextView(one).substr(at + 1 + lineEnd.size());
    Require(
        form.size() >= head.size() + tail.size() && form.starts_with(head) && form.ends_with(tail),
        "a marked-up form lost its head or tail");
    for (char32_t c : form)
        Require(c < 0x80, "a marked-up form holds a character beyond ASCII");
    return form.substr(head.size(), form.size() - head.size() - tail.size());
}

// The decimal number at the front of a text, an optional "-" first, and the
// characters it takes; nothing past seven digits.
std::pair<long long, size_t> LeadingNumber(TextView text) {
    const size_t sign = text.starts_with(U'-') ? 1 : 0;
    size_t end = sign;
    long long value = 0;
    while (end < text.size() && end < sign + 7 && text[end] >= U'0' && text[end] <= U'9')
        value = value * 10 + (text[end++] - U'0');
    Require(end > sign, "an escape lacks its number");
    return {sign ? -value : value, end};
}

Text UnescapeHtml(TextView body) {
    Text out;
    for (size_t i = 0; i < body.size(); ++i) {
        const TextView rest = body.substr(i);
        if (rest.starts_with(U"<br>\r\n")) {
            out += CrLf;
            i += 5;
            continue;
        }
        Require(rest[0] != U'<' && rest[0] != U'>', "an HTML body holds a tag character");
        if (rest[0] != U'&') {
            out += rest[0];
            continue;
        }
        const size_t end = rest.find(U';');
        Require(end != TextView::npos, "an HTML & starts no entity");
        const TextView entity = rest.substr(1, end - 1);
        if (entity.starts_with(U'#')) {
            const auto [value, length] = LeadingNumber(entity.substr(1));
            Require(length + 1 == entity.size() && value >= 0 && value < 0x110000,
                    "an HTML character reference is not a code point");
            out += static_cast<char32_t>(value);
        } else {
            constexpr std::pair<TextView, char32_t> kNamed[] = {
                {U"amp", U'&'}, {U"lt", U'<'}, {U"gt", U'>'}, {U"quot", U'"'}};
            const size_t before = out.size();
            for (const auto& [name, c] : kNamed) {
                if (entity == name)
                    out += c;
            }
            Require(out.size() > before, "an HTML & starts an unknown entity");
        }
        i += end;
    }
    return out;
}

Text UnescapeRtf(TextView body) {
    constexpr TextView kHex = U"0123456789abcdef";
    Text out;
    for (size_t i = 0; i < body.size(); ++i) {
        const TextView rest = body.substr(i);
        Require(rest[0] != U'{' && rest[0] != U'}', "a Rich Text body holds a bare brace");
        if (rest[0] != U'\\') {
            out += rest[0];
        } else if (rest.starts_with(U"\\par\r\n")) {
            out += CrLf;
            i += 5;
        } else if (rest.size() > 1 && (rest[1] == U'\\' || rest[1] == U'{' || rest[1] == U'}')) {
            out += rest[1];
            ++i;
        } else if (rest.starts_with(U"\\'")) {
            const size_t high = rest.size() > 3 ? kHex.find(rest[2]) : TextView::npos;
            const size_t low = rest.size() > 3 ? kHex.find(rest[3]) : TextView::npos;
            Require(high != TextView::npos && low != TextView::npos,
                    "a Rich Text \\' escape lacks its two hex digits");
            const char byte = static_cast<char>(high * 16 + low);
            out += FromWindows1252(std::string_view(&byte, 1));
            i += 3;
        } else {
            Require(rest.starts_with(U"\\u"), "a Rich Text body holds a control word");
            const auto [value, length] = LeadingNumber(rest.substr(2));
            Require(value >= -32768 && value <= 32767 && rest.substr(2 + length).starts_with(U'?'),
                    "a Rich Text \\u escape is not a signed 16-bit number and ?");
            const auto unit = static_cast<char32_t>(value < 0 ? value + 65536 : value);
            // The two halves of a UTF-16 pair are one character again.
            if (unit >= 0xDC00 && unit <= 0xDFFF && !out.empty() && out.back() >= 0xD800 &&
                out.back() <= 0xDBFF)
                out.back() = 0x10000 + ((out.back() - 0xD800) << 10) + (unit - 0xDC00);
            else
                out += unit;
            i += 2 + length;
        }
    }
    return out;
}

}  // namespace
}  // namespace velmo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmo;
    using namespace velmo::fuzz;
    const Text signature = FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    // Every line of the form ends, the last one too.
    const Text ended =
        signature.empty() || signature.ends_with(CrLf) ? signature : signature + Text(CrLf);
    const Text html = HtmlSignature(signature);
    Require(UnescapeHtml(BodyOf(html, HtmlSignature, U"<br>\r\n")) == ended,
            "the HTML body does not decode to the signature");
    const Text rtf = RtfSignature(signature);
    Require(UnescapeRtf(BodyOf(rtf, RtfSignature, U"\\par\r\n")) == ended,
            "the Rich Text body does not decode to the signature");
    Require(MarkedUpFileBytes(rtf) == ToUtf8(rtf), "the file's bytes are not the Rich Text form");
    return 0;
}

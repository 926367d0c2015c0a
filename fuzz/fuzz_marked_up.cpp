// The HTML and Rich Text forms of any signature text (the input, UTF-8): pure
// ASCII, the head and tail of every form, no markup but the program's own, and
// a body that decodes back to the signature with each line ended.

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "domain/output_forms.h"
#include "fuzz_checks.h"

namespace velmo::fuzz {
namespace {

using Escapes = std::vector<std::pair<std::string, Text>>;

// The form's body: what lies between the head and tail of a one-letter form.
std::string BodyOf(TextView form, Text (*build)(TextView), TextView lineEnd) {
    Require(MarkedUpFileBytes(form) == ToUtf8(form), "a marked-up form holds more than ASCII");
    const Text one = build(U"x");
    const size_t head = one.find(U"x" + Text(lineEnd));
    const size_t tail = one.size() - head - 1 - lineEnd.size();
    Require(form.size() >= head + tail && form.starts_with(TextView(one).substr(0, head)) &&
                form.ends_with(TextView(one).substr(one.size() - tail)),
            "a marked-up form lost its head or tail");
    return ToUtf8(form.substr(head, form.size() - head - tail));
}

// The body decoded: escapes back to their text, `number` decimal `close` to the character (with
// `utf16`, a signed 16-bit UTF-16 unit, pairs joined); no other `markup` character may appear.
Text Decode(std::string_view body, const Escapes& escapes, std::string_view number, char close,
            std::string_view markup, bool utf16) {
    Text out;
    while (!body.empty()) {
        const auto escape = std::ranges::find_if(
            escapes, [body](const auto& e) { return body.starts_with(e.first); });
        if (escape != escapes.end()) {
            out += escape->second;
            body.remove_prefix(escape->first.size());
        } else if (body.starts_with(number)) {
            long long value = 0;
            const char* last = body.data() + body.size();
            const auto [end, error] = std::from_chars(body.data() + number.size(), last, value);
            Require(
                error == std::errc() && end != last && *end == close &&
                    (utf16 ? value >= -32768 && value <= 32767 : value >= 0 && value < 0x110000),
                "a numbered character is out of range");
            body.remove_prefix(static_cast<size_t>(end + 1 - body.data()));
            const auto unit = static_cast<char32_t>(value < 0 ? value + 65536 : value);
            if (utf16 && unit >= 0xDC00 && unit <= 0xDFFF && !out.empty() && out.back() >= 0xD800 &&
                out.back() <= 0xDBFF)
                out.back() = 0x10000 + ((out.back() - 0xD800) << 10) + (unit - 0xDC00);
            else
                out += unit;
        } else {
            Require(markup.find(body[0]) == std::string_view::npos,
                    "a marked-up body holds markup of its own");
            out += static_cast<char32_t>(body[0]);
            body.remove_prefix(1);
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
    const Escapes html = {{"<br>\r\n", Text(CrLf)},
                          {"&amp;", U"&"},
                          {"&lt;", U"<"},
                          {"&gt;", U">"},
                          {"&quot;", U"\""}};
    Require(Decode(BodyOf(HtmlSignature(signature), HtmlSignature, U"<br>\r\n"), html, "&#", ';',
                   "<>&", false) == ended,
            "the HTML body does not decode to the signature");
    Escapes rtf = {{"\\par\r\n", Text(CrLf)}, {"\\\\", U"\\"}, {"\\{", U"{"}, {"\\}", U"}"}};
    for (int byte = 0x80; byte < 0x100; ++byte) {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\'%02x", byte);
        const char c = static_cast<char>(byte);
        rtf.push_back({escape, FromWindows1252(std::string_view(&c, 1))});
    }
    Require(Decode(BodyOf(RtfSignature(signature), RtfSignature, U"\\par\r\n"), rtf, "\\u", '?',
                   "\\{}", true) == ended,
            "the Rich Text body does not decode to the signature");
    return 0;
}

// The HTML and Rich Text forms of any signature text: pure ASCII and so the
// file's bytes, the same head and tail as every form, markup of the program's
// own only, and the escaped body decoding back to the signature with each
// line ended. The input is the signature text as UTF-8.

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "domain/output_forms.h"
#include "fuzz_checks.h"

namespace velmo::fuzz {
namespace {

using Escapes = std::initializer_list<std::pair<std::string_view, TextView>>;

// The form's body as ASCII: what lies between the head and the tail that the
// form of a one-letter signature shows.
std::string BodyOf(TextView form, Text (*build)(TextView), TextView lineEnd) {
    // The file's bytes are the form's ASCII.
    Require(MarkedUpFileBytes(form) == ToUtf8(form), "a marked-up form holds more than ASCII");
    const Text one = build(U"x");
    const size_t head = one.find(U"x" + Text(lineEnd));
    const size_t tail = one.size() - head - 1 - lineEnd.size();
    Require(form.size() >= head + tail && form.starts_with(TextView(one).substr(0, head)) &&
                form.ends_with(TextView(one).substr(one.size() - tail)),
            "a marked-up form lost its head or tail");
    return ToUtf8(form.substr(head, form.size() - head - tail));
}

// Takes the escape at the front of `body`, if any, off it onto `out`.
bool TakeEscape(std::string_view& body, Escapes escapes, Text& out) {
    for (const auto& [escape, text] : escapes) {
        if (body.starts_with(escape)) {
            body.remove_prefix(escape.size());
            out += text;
            return true;
        }
    }
    return false;
}

// Takes the decimal number at the front of `body` off it.
long long TakeNumber(std::string_view& body) {
    long long value = 0;
    const auto [end, error] = std::from_chars(body.data(), body.data() + body.size(), value);
    Require(error == std::errc(), "an escape lacks its number");
    body.remove_prefix(static_cast<size_t>(end - body.data()));
    return value;
}

Text UnescapeHtml(std::string_view body) {
    const Escapes escapes = {
        {"<br>\r\n", CrLf}, {"&amp;", U"&"}, {"&lt;", U"<"}, {"&gt;", U">"}, {"&quot;", U"\""}};
    Text out;
    while (!body.empty()) {
        if (TakeEscape(body, escapes, out))
            continue;
        if (TakeEscape(body, {{"&#", U""}}, out)) {
            const long long value = TakeNumber(body);
            Require(value >= 0 && value < 0x110000 && TakeEscape(body, {{";", U""}}, out),
                    "an HTML character reference is not a code point");
            out += static_cast<char32_t>(value);
            continue;
        }
        Require(body[0] != '<' && body[0] != '>' && body[0] != '&',
                "an HTML body holds markup of its own");
        out += static_cast<char32_t>(body[0]);
        body.remove_prefix(1);
    }
    return out;
}

Text UnescapeRtf(std::string_view body) {
    const Escapes escapes = {{"\\par\r\n", CrLf}, {"\\\\", U"\\"}, {"\\{", U"{"}, {"\\}", U"}"}};
    Text out;
    while (!body.empty()) {
        if (TakeEscape(body, escapes, out))
            continue;
        if (TakeEscape(body, {{"\\'", U""}}, out)) {
            unsigned byte = 0;
            const char* two = body.data() + std::min<size_t>(body.size(), 2);
            Require(std::from_chars(body.data(), two, byte, 16).ptr == body.data() + 2,
                    "a Rich Text \\' escape lacks its two hex digits");
            const char c = static_cast<char>(byte);
            out += FromWindows1252(std::string_view(&c, 1));
            body.remove_prefix(2);
            continue;
        }
        if (TakeEscape(body, {{"\\u", U""}}, out)) {
            const long long value = TakeNumber(body);
            Require(value >= -32768 && value <= 32767 && TakeEscape(body, {{"?", U""}}, out),
                    "a Rich Text \\u escape is not a signed 16-bit number and ?");
            const auto unit = static_cast<char32_t>(value < 0 ? value + 65536 : value);
            // The two halves of a UTF-16 pair are one character again.
            if (unit >= 0xDC00 && unit <= 0xDFFF && !out.empty() && out.back() >= 0xD800 &&
                out.back() <= 0xDBFF)
                out.back() = 0x10000 + ((out.back() - 0xD800) << 10) + (unit - 0xDC00);
            else
                out += unit;
            continue;
        }
        Require(body[0] != '\\' && body[0] != '{' && body[0] != '}',
                "a Rich Text body holds markup of its own");
        out += static_cast<char32_t>(body[0]);
        body.remove_prefix(1);
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
    return 0;
}

#pragma once

// What the fuzz targets share: failing loudly, splitting their input into
// texts, the checks of the two marked-up signature forms and the round trip
// of the options through a settings file.

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

#include "domain/output_forms.h"
#include "domain/reg_document.h"
#include "domain/signature_options.h"
#include "domain/stored_options.h"
#include "domain/text.h"

namespace velmo::fuzz {

// libFuzzer keeps any input that aborts, so a broken invariant is a finding
// like a sanitizer report.
inline void Require(bool ok, const char* what) {
    if (ok)
        return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

// The input cut at every `separator` byte; a missing piece reads as empty.
inline std::vector<std::string_view> SplitBytes(std::string_view data, char separator) {
    std::vector<std::string_view> pieces;
    size_t pos = 0;
    while (true) {
        const size_t p = data.find(separator, pos);
        if (p == std::string_view::npos) {
            pieces.push_back(data.substr(pos));
            return pieces;
        }
        pieces.push_back(data.substr(pos, p - pos));
        pos = p + 1;
    }
}

// The CR LF-terminated lines of a text, then what follows the last CR LF when
// there is any: written here again so the checks do not trust the builders.
inline std::vector<Text> CrLfLines(TextView text) {
    std::vector<Text> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t p = text.find(CrLf, pos);
        if (p == TextView::npos) {
            lines.emplace_back(text.substr(pos));
            break;
        }
        lines.emplace_back(text.substr(pos, p - pos));
        pos = p + 2;
    }
    return lines;
}

inline bool IsAscii(TextView text) {
    for (char32_t c : text) {
        if (c >= 0x80)
            return false;
    }
    return true;
}

// The part a builder puts before and after the lines, found by building the
// form of a one-letter signature.
struct MarkupFrame {
    Text head;
    Text tail;
};

inline MarkupFrame FrameOf(Text (*build)(TextView), TextView lineEnd) {
    const Text one = build(U"x");
    const size_t at = one.find(U"x" + Text(lineEnd));
    Require(at != Text::npos, "the one-line form has no line");
    return {one.substr(0, at), one.substr(at + 1 + lineEnd.size())};
}

// The body between head and tail; aborts when the form does not have them.
inline TextView BodyOf(TextView form, const MarkupFrame& frame) {
    Require(IsAscii(form), "a marked-up form holds a character beyond ASCII");
    Require(form.size() >= frame.head.size() + frame.tail.size() && form.starts_with(frame.head) &&
                form.ends_with(frame.tail),
            "a marked-up form lost its head or tail");
    return form.substr(frame.head.size(), form.size() - frame.head.size() - frame.tail.size());
}

// UTF-16 pairs written as two escapes become one code point again.
inline Text JoinSurrogates(const Text& units) {
    Text out;
    for (size_t i = 0; i < units.size(); ++i) {
        const char32_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            out += 0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else {
            out += u;
        }
    }
    return out;
}

// Every markup character of the HTML body comes from the program: each line
// ends in "<br>", and the text between holds no "<" or ">" and no "&" that
// does not start an entity. Decoded, the lines are the signature's lines.
inline void CheckHtmlForm(TextView signature) {
    const Text form = HtmlSignature(signature);
    const TextView body = BodyOf(form, FrameOf(HtmlSignature, U"<br>\r\n"));

    constexpr TextView kLineEnd = U"<br>\r\n";
    std::vector<Text> lines;
    size_t pos = 0;
    while (pos < body.size()) {
        const size_t end = body.find(kLineEnd, pos);
        Require(end != TextView::npos, "an HTML body line does not end in <br>");
        Text line;
        for (size_t i = pos; i < end; ++i) {
            const char32_t c = body[i];
            Require(c != U'<' && c != U'>', "an HTML body line holds a tag character");
            if (c != U'&') {
                line += c;
                continue;
            }
            const TextView rest = body.substr(i, end - i);
            const size_t semicolon = rest.find(U';');
            Require(semicolon != TextView::npos, "an HTML & starts no entity");
            const TextView entity = rest.substr(0, semicolon + 1);
            if (entity == U"&amp;") {
                line += U'&';
            } else if (entity == U"&lt;") {
                line += U'<';
            } else if (entity == U"&gt;") {
                line += U'>';
            } else if (entity == U"&quot;") {
                line += U'"';
            } else {
                Require(entity.size() > 3 && entity.starts_with(U"&#"),
                        "an HTML & starts an unknown entity");
                unsigned long long value = 0;
                for (char32_t d : entity.substr(2, entity.size() - 3)) {
                    Require(d >= U'0' && d <= U'9' && value < 0x110000,
                            "an HTML character reference is not a decimal code point");
                    value = value * 10 + (d - U'0');
                }
                Require(value < 0x110000, "an HTML character reference is beyond Unicode");
                line += static_cast<char32_t>(value);
            }
            i += semicolon;
        }
        lines.push_back(std::move(line));
        pos = end + kLineEnd.size();
    }
    Require(lines == CrLfLines(signature), "the HTML lines do not decode to the signature");
}

// The same for Rich Text: each line ends in "\par", and "\", "{" and "}" in
// the text appear only as the program's escapes.
inline void CheckRtfForm(TextView signature) {
    const Text form = RtfSignature(signature);
    const TextView body = BodyOf(form, FrameOf(RtfSignature, U"\\par\r\n"));

    constexpr TextView kLineEnd = U"\\par\r\n";
    const auto hex = [](char32_t c) -> int {
        if (c >= U'0' && c <= U'9')
            return static_cast<int>(c - U'0');
        if (c >= U'a' && c <= U'f')
            return static_cast<int>(c - U'a') + 10;
        return -1;
    };
    std::vector<Text> lines;
    Text units;
    size_t i = 0;
    while (i < body.size()) {
        if (body.substr(i).starts_with(kLineEnd)) {
            lines.push_back(JoinSurrogates(units));
            units.clear();
            i += kLineEnd.size();
            continue;
        }
        const char32_t c = body[i];
        Require(c != U'{' && c != U'}', "a Rich Text body line holds a bare brace");
        if (c != U'\\') {
            units += c;
            ++i;
            continue;
        }
        Require(i + 1 < body.size(), "a Rich Text body ends in a backslash");
        const char32_t e = body[i + 1];
        if (e == U'\\' || e == U'{' || e == U'}') {
            units += e;
            i += 2;
        } else if (e == U'\'') {
            Require(i + 3 < body.size() && hex(body[i + 2]) >= 0 && hex(body[i + 3]) >= 0,
                    "a Rich Text \\' escape lacks its two hex digits");
            const char byte = static_cast<char>(hex(body[i + 2]) * 16 + hex(body[i + 3]));
            units += FromWindows1252(std::string_view(&byte, 1));
            i += 4;
        } else {
            Require(e == U'u', "a Rich Text body line holds a control word");
            size_t j = i + 2;
            const bool negative = j < body.size() && body[j] == U'-';
            if (negative)
                ++j;
            long long value = 0;
            const size_t digits = j;
            while (j < body.size() && body[j] >= U'0' && body[j] <= U'9' && value < 100000)
                value = value * 10 + (body[j++] - U'0');
            if (negative)
                value = -value;
            Require(j > digits && value >= -32768 && value <= 32767,
                    "a Rich Text \\u escape is not a signed 16-bit number");
            Require(j < body.size() && body[j] == U'?', "a Rich Text \\u escape lacks its ?");
            units += static_cast<char32_t>(value < 0 ? value + 65536 : value);
            i = j + 1;
        }
    }
    Require(units.empty(), "the Rich Text body does not end in \\par");
    Require(lines == CrLfLines(signature), "the Rich Text lines do not decode to the signature");
}

// The signature file's form of the chosen output: the text itself, or a
// marked-up form that passes the checks above.
inline void CheckForm(OutputForm output, TextView signature) {
    const Text form = SignatureInForm(output, signature);
    if (output == OutputForm::Html) {
        Require(form == HtmlSignature(signature), "the HTML output is not the HTML form");
        CheckHtmlForm(signature);
    } else if (output == OutputForm::Rtf) {
        Require(form == RtfSignature(signature), "the Rich Text output is not the Rich Text form");
        CheckRtfForm(signature);
    } else {
        Require(form == signature, "the text output is not the signature");
    }
}

// Options saved as the program saves them, written into a settings file and
// read back from it, decode to the same options. Holds for any options whose
// numbers are among the choices, whose texts are no longer than their options
// take and whose top "Like" text has no outer blanks (stored texts of it lose
// them).
inline void CheckStoredRoundTrip(const SignatureOptions& options) {
    const Text key = U"HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware";
    RegDocument document;
    RegKey& written = document.Ensure(key, U"HKEY_CURRENT_USER");
    for (StoredValue& value : EncodeOptions(options, U"/s.txt", U"/q.txt", U"/f.fxt"))
        written.values.push_back({std::move(value.name), false, std::move(value.text), {}});

    const std::optional<RegDocument> read = ParseRegDocument(FormatRegDocument(document));
    Require(read.has_value(), "a settings file of saved options does not parse");
    const RegKey* found = read->Find(key);
    Require(found != nullptr, "a settings file of saved options lost its key");
    std::vector<StoredValue> values;
    for (const RegValue& value : found->values) {
        if (value.text)
            values.push_back({value.name, *value.text});
    }
    StoredSettings settings;
    ReadStoredValues(values, settings);
    const std::optional<SignatureOptions> decoded = DecodeOptions(settings);
    Require(decoded.has_value(), "saved options do not decode");
    Require(*decoded == options, "saved options decode to other options");
    Require(settings.texts[kSignaturePathText] == U"/s.txt" &&
                settings.texts[kQuotePathText] == U"/q.txt" &&
                settings.texts[kFixedPathText] == U"/f.fxt",
            "saved paths read back changed");
}

}  // namespace velmo::fuzz

#include "domain/output_forms.h"

namespace velmo {

namespace {

std::string Ascii(TextView text) {
    // Both escaped forms hold nothing but ASCII.
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text)
        out.push_back(static_cast<char>(c < 0x80 ? c : U'?'));
    return out;
}

}  // namespace

std::vector<Text> SplitSignatureLines(TextView text) {
    std::vector<Text> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t found = text.find(CrLf, pos);
        if (found == TextView::npos) {
            lines.emplace_back(text.substr(pos));
            break;
        }
        lines.emplace_back(text.substr(pos, found - pos));
        pos = found + 2;
    }
    return lines;
}

Text EscapeHtml(TextView line) {
    Text out;
    for (char32_t c : line) {
        switch (c) {
            case U'&':
                out += U"&amp;";
                break;
            case U'<':
                out += U"&lt;";
                break;
            case U'>':
                out += U"&gt;";
                break;
            case U'"':
                out += U"&quot;";
                break;
            default:
                if (c < 0x80) {
                    out += c;
                } else {
                    // A numeric reference reads the same whatever encoding the reader assumes.
                    out += U"&#" + ToText(static_cast<long long>(c)) + U";";
                }
        }
    }
    return out;
}

Text EscapeRtf(TextView line) {
    Text out;
    const auto unicode = [&out](long long unit) {
        // \uN takes a signed 16-bit number; the "?" is what readers without
        // Unicode show (\uc1 says it is one character).
        if (unit > 32767)
            unit -= 65536;
        out += U"\\u" + ToText(unit) + U"?";
    };
    for (char32_t c : line) {
        if (c == U'\\' || c == U'{' || c == U'}') {
            out += U'\\';
            out += c;
        } else if (c < 0x80) {
            out += c;
        } else if (const int b = ToWindows1252(c); b >= 0) {
            constexpr TextView kHex = U"0123456789abcdef";
            out += U"\\'";
            out += kHex[static_cast<size_t>(b >> 4)];
            out += kHex[static_cast<size_t>(b & 15)];
        } else if (c > 0xFFFF) {
            const char32_t v = c - 0x10000;
            unicode(0xD800 + (v >> 10));
            unicode(0xDC00 + (v & 0x3FF));
        } else {
            unicode(c);
        }
    }
    return out;
}

namespace {

// A head, each line escaped and ended, a tail: the shape of both marked-up forms.
Text MarkedUp(TextView signature, TextView head, Text (*escape)(TextView), TextView lineEnd,
              TextView tail) {
    Text out(head);
    for (const Text& line : SplitSignatureLines(signature)) {
        out += escape(line);
        out += lineEnd;
    }
    out += tail;
    return out;
}

}  // namespace

Text HtmlSignature(TextView signature) {
    return MarkedUp(signature,
                    U"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">\r\n"
                    U"<HTML>\r\n"
                    U"<HEAD>\r\n"
                    U"<TITLE></TITLE>\r\n"
                    U"</HEAD>\r\n"
                    U"<BODY>\r\n"
                    U"<font face=\"Courier New\">\r\n",
                    EscapeHtml, U"<br>\r\n", U"</font></body></html>");
}

Text RtfSignature(TextView signature) {
    return MarkedUp(signature,
                    U"{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl"
                    U"{\\f0\\fmodern\\fcharset0 Courier New;}{\\f1\\fswiss\\fcharset0 Arial;}}\r\n"
                    U"\\uc1\\pard\\lang1033\\ulnone\\f0\\fs20 \r\n",
                    EscapeRtf, U"\\par\r\n", U"\\f1\\par\r\n\\par }");
}

Text SignatureInForm(OutputForm form, TextView signature) {
    switch (form) {
        case OutputForm::Html:
            return HtmlSignature(signature);
        case OutputForm::Rtf:
            return RtfSignature(signature);
        case OutputForm::PlainText:
            break;
    }
    return Text(signature);
}

std::string MarkedUpFileBytes(TextView content) {
    return Ascii(content);
}

}  // namespace velmo

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "domain/signature_options.h"
#include "service/signature_file.h"
#include "support/native_forms.h"

namespace velmo {
namespace {

const std::string kHtmlHead =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">\r\n<HTML>\r\n<HEAD>\r\n"
    "<TITLE></TITLE>\r\n</HEAD>\r\n<BODY>\r\n<font face=\"Courier New\">\r\n";
const std::string kHtmlTail = "</font></body></html>\r\n";
const std::string kRtfHead =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fmodern\\fcharset0 Courier New;}"
    "{\\f1\\fswiss\\fcharset0 Arial;}}\r\n\\uc1\\pard\\lang1033\\ulnone\\f0\\fs20 \r\n";
const std::string kRtfTail = "\\f1\\par\r\n\\par }\r\n";

// Rows: the form, the signature, the body of its file (given with CR LF line
// ends) between the form's head and tail, all in the platform's line ends.
TEST(OutputForms, FileBytesByteForByte) {
    using enum OutputForm;
    // Text files are UTF-8 on POSIX, in the ANSI code page on Windows.
    const std::string cafe = NativePathStyle() == PathStyle::Posix ? "Caf\xC3\xA9" : "Caf\xE9";
    const std::tuple<OutputForm, TextView, std::string> rows[] = {
        {PlainText, U"ab\r\ncd\r\n", "ab\r\ncd\r\n\r\n"},
        {PlainText, U"", "\r\n"},
        {PlainText, U"Caf\u00e9", cafe + "\r\n"},
        {Html, U"", ""},
        {Rtf, U"", ""},
        // Leading blanks, empty lines and a last line without a break are kept;
        // a lone CR or LF splits nothing.
        {Html, U"   in\r\n\r\n\tx\r\n--", "   in<br>\r\n<br>\r\n\tx<br>\r\n--<br>\r\n"},
        {Rtf, U"   in\r\n\r\n\tx\r\n--", "   in\\par\r\n\\par\r\n\tx\\par\r\n--\\par\r\n"},
        {Html, U"\r\n", "<br>\r\n"},
        {Rtf, U"a\rb\nc\r\n", "a\rb\nc\\par\r\n"},
        // Markup is escaped, text that looks like a reference too, and
        // everything beyond ASCII is a numeric reference.
        {Html, U"Tom & Jerry <tj@x.com> \"q\" 'single'",
         "Tom &amp; Jerry &lt;tj@x.com&gt; &quot;q&quot; 'single'<br>\r\n"},
        {Html, U"&amp; Caf\u00e9 \u20ac\u007f\u0080 \U0001F600",
         "&amp;amp; Caf&#233; &#8364;\x7f&#128; &#128512;<br>\r\n"},
        // Rich Text: control characters escaped, Windows-1252 letters as \'hh
        // in lower case, the rest as a signed 16-bit \uN and one stand-in.
        {Rtf, U"C:\\mail {draft} \\par", "C:\\\\mail \\{draft\\} \\\\par\\par\r\n"},
        {Rtf, U"Caf\u00e9 \u20ac \u0160\u0178 \u00a0\u00ff\u007f",
         "Caf\\'e9 \\'80 \\'8a\\'9f \\'a0\\'ff\x7f\\par\r\n"},
        {Rtf, U"\u03a9 \u7fff\u8000 \uff01 \u0080 \uffff",
         "\\u937? \\u32767?\\u-32768? \\u-255? \\u128? \\u-1?\\par\r\n"},
        {Rtf, U"\U0001F600 \U00010000\U0010FFFF",
         "\\u-10179?\\u-8704? \\u-10240?\\u-9216?\\u-9217?\\u-8193?\\par\r\n"},
    };
    const std::string frames[][2] = {{"", ""}, {kHtmlHead, kHtmlTail}, {kRtfHead, kRtfTail}};
    for (const auto& [form, signature, body] : rows) {
        const auto& [head, tail] = frames[static_cast<int>(form)];
        EXPECT_EQ(SignatureFileBytes(form, signature), testing::NativeFileBytes(head + body + tail))
            << ToUtf8(signature);
    }
}

}  // namespace
}  // namespace velmo

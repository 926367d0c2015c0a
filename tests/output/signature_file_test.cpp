#include "ui/signature_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <random>
#include <set>
#include <string>

#include "domain/layout.h"
#include "support/fakes.h"
#include "support/native_forms.h"
#include "support/text_helpers.h"
#include "ui/app.h"

namespace velmo {
namespace {

namespace fs = std::filesystem;
using testing::Lines;
using testing::NativeFileBytes;

// Bytes of a file whose every line ends in the platform's line break.
std::string FileLines(std::initializer_list<std::string_view> lines) {
    std::string out;
    for (std::string_view line : lines) {
        out += line;
        out += "\r\n";
    }
    return NativeFileBytes(out);
}

const std::string kHtmlHead = FileLines({
    R"(<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 3.2 Final//EN">)",
    "<HTML>",
    "<HEAD>",
    "<TITLE></TITLE>",
    "</HEAD>",
    "<BODY>",
    R"(<font face="Courier New">)",
});
const std::string kHtmlTail = FileLines({"</font></body></html>"});

const std::string kRtfHead = FileLines({
    R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fmodern\fcharset0 Courier New;}{\f1\fswiss\fcharset0 Arial;}})",
    R"(\uc1\pard\lang1033\ulnone\f0\fs20 )",
});
const std::string kRtfTail = FileLines({R"(\f1\par)", R"(\par })"});

std::string HtmlFile(std::initializer_list<std::string_view> body) {
    std::string out = kHtmlHead;
    for (std::string_view line : body)
        out += NativeFileBytes(std::string(line) + "<br>\r\n");
    return out + kHtmlTail;
}

std::string RtfFile(std::initializer_list<std::string_view> body) {
    std::string out = kRtfHead;
    for (std::string_view line : body)
        out += NativeFileBytes(std::string(line) + "\\par\r\n");
    return out + kRtfTail;
}

bool IsAscii(const std::string& bytes) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

enum class Output { Text, Html, Rtf };

class SignatureFileTest : public ::testing::Test, protected testing::TestApp {
  protected:
    static constexpr const char32_t* kPath = U"/home/user/mail/signature.txt";

    void SetUp() override {
        form.chkFile.Value = 1;
        app.SignatureFilePath = kPath;
    }

    // Selects an output type without the file dialog that a type change opens
    // getting in the way: the fake cancels it and the path comes back.
    void Select(Output type) {
        (type == Output::Html  ? form.optHTML
         : type == Output::Rtf ? form.optRTF
                               : form.optText)
            .Value = true;
        ASSERT_EQ(app.SignatureFilePath, kPath);
        fileDialog.calls.clear();
    }

    // Writes `signature` in the given form and returns the file's bytes.
    std::string Write(Output type, const Text& signature) {
        Select(type);
        app.SignatureText = signature;
        WriteSignatureFile(app);
        const auto it = files.files.find(app.SignatureFilePath);
        return it == files.files.end() ? std::string("<no file>") : it->second;
    }

    MainForm& form = app.form;
};

TEST_F(SignatureFileTest, HtmlWorkedExampleByteForByte) {
    const std::string bytes = Write(Output::Html, Lines({U"ab", U"cd"}));
    EXPECT_EQ(bytes, NativeFileBytes("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">\r\n"
                                     "<HTML>\r\n"
                                     "<HEAD>\r\n"
                                     "<TITLE></TITLE>\r\n"
                                     "</HEAD>\r\n"
                                     "<BODY>\r\n"
                                     "<font face=\"Courier New\">\r\n"
                                     "ab<br>\r\n"
                                     "cd<br>\r\n"
                                     "</font></body></html>\r\n"));
    // The form itself has no line break of its own after the tail.
    EXPECT_EQ(NativeFileBytes(ToUtf8(app.SignatureFileText) + "\r\n"), bytes);
    EXPECT_EQ(files.writes, 1);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SignatureFileTest, RtfWorkedExampleByteForByte) {
    const std::string bytes = Write(Output::Rtf, Lines({U"ab", U"cd"}));
    EXPECT_EQ(bytes, NativeFileBytes("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fmodern\\"
                                     "fcharset0 Courier New;}{\\f1\\fswiss\\fcharset0 Arial;}}\r\n"
                                     "\\uc1\\pard\\lang1033\\ulnone\\f0\\fs20 \r\n"
                                     "ab\\par\r\n"
                                     "cd\\par\r\n"
                                     "\\f1\\par\r\n"
                                     "\\par }\r\n"));
    EXPECT_EQ(NativeFileBytes(ToUtf8(app.SignatureFileText) + "\r\n"), bytes);
}

TEST_F(SignatureFileTest, PlainTextIsTheSignatureAndOneLineBreak) {
    // A plain layout ends in CR LF, so the file ends with an empty line.
    EXPECT_EQ(Write(Output::Text, Lines({U"ab", U"cd"})), NativeFileBytes("ab\r\ncd\r\n\r\n"));
    EXPECT_EQ(app.SignatureFileText, Lines({U"ab", U"cd"}));
    EXPECT_EQ(Write(Output::Text, U"ab\r\ncd"), NativeFileBytes("ab\r\ncd\r\n"));
    EXPECT_EQ(Write(Output::Text, U""), NativeFileBytes("\r\n"));
}

TEST_F(SignatureFileTest, PegasusFileGetsTheSameBytesAsTextFile) {
    const Text signature = Lines({U"  Jo Bloggs", U"", U"Caf\u00e9 \u20ac"});
    const std::string asText = Write(Output::Text, signature);
    app.SignatureFilePath = U"/home/user/pmail/Inetsig.pms";
    WriteSignatureFile(app);
    EXPECT_EQ(files.files.at(U"/home/user/pmail/Inetsig.pms"), asText);
    EXPECT_EQ(files.writes, 2);
}

TEST_F(SignatureFileTest, LeadingBlanksAreKeptInEveryForm) {
    const Text signature = Lines({U"   indented", U"\tx"});
    EXPECT_EQ(Write(Output::Text, signature), NativeFileBytes("   indented\r\n\tx\r\n\r\n"));
    EXPECT_EQ(Write(Output::Html, signature), HtmlFile({"   indented", "\tx"}));
    EXPECT_EQ(Write(Output::Rtf, signature), RtfFile({"   indented", "\tx"}));
}

TEST_F(SignatureFileTest, EmptyLinesBecomeBreaksAndParagraphs) {
    const Text signature = Lines({U"a", U"", U"", U"b"});
    EXPECT_EQ(Write(Output::Html, signature), HtmlFile({"a", "", "", "b"}));
    EXPECT_EQ(Write(Output::Rtf, signature), RtfFile({"a", "", "", "b"}));
    // A signature that is one line break is one empty line.
    EXPECT_EQ(Write(Output::Html, U"\r\n"), HtmlFile({""}));
    EXPECT_EQ(Write(Output::Rtf, U"\r\n"), RtfFile({""}));
}

TEST_F(SignatureFileTest, LastLineWithoutLineBreakIsKept) {
    // A bordered signature ends in its bottom border with no CR LF.
    const Text signature = U"\r\n=-=-=-\r\n* ab *\r\n------";
    EXPECT_EQ(Write(Output::Text, signature),
              NativeFileBytes("\r\n=-=-=-\r\n* ab *\r\n------\r\n"));
    EXPECT_EQ(Write(Output::Html, signature), HtmlFile({"", "=-=-=-", "* ab *", "------"}));
    EXPECT_EQ(Write(Output::Rtf, signature), RtfFile({"", "=-=-=-", "* ab *", "------"}));
}

TEST_F(SignatureFileTest, EveryFormIsInThePlatformsLineEnds) {
    // Mail programs on POSIX show each CR of a signature file; Windows ones
    // want CR LF.
    SignatureOptions options;
    options.fixedPart = Check::On;
    const Text signature =
        ComposeSignature(options, U"A. Writer\r\nSmall Town", U"Two lines\r\nof a quote");
    ASSERT_GE(testing::SplitLines(signature).size(), 6u);
    for (Output type : {Output::Text, Output::Html, Output::Rtf}) {
        SCOPED_TRACE(static_cast<int>(type));
        const std::string bytes = Write(type, signature);
        EXPECT_GE(std::count(bytes.begin(), bytes.end(), '\n'), 6);
        EXPECT_PRED1(testing::InNativeLineEnds, bytes);
    }
}

TEST_F(SignatureFileTest, LoneCarriageReturnOrLineFeedDoesNotSplitLines) {
    const Text signature = U"a\rb\nc\r\n";
    EXPECT_EQ(Write(Output::Html, signature), HtmlFile({"a\rb\nc"}));
    EXPECT_EQ(Write(Output::Rtf, signature), RtfFile({"a\rb\nc"}));
}

TEST_F(SignatureFileTest, EmptySignatureHasNoBodyLines) {
    EXPECT_EQ(Write(Output::Html, U""), kHtmlHead + kHtmlTail);
    EXPECT_EQ(Write(Output::Rtf, U""), kRtfHead + kRtfTail);
}

TEST_F(SignatureFileTest, LongSignatureIsWrittenWhole) {
    Text signature;
    std::string html = kHtmlHead;
    std::string rtf = kRtfHead;
    for (int i = 1; i <= 30; ++i) {
        const std::string line = "line " + std::to_string(i);
        signature += FromUtf8(line) + Text(CrLf);
        html += NativeFileBytes(line + "<br>\r\n");
        rtf += NativeFileBytes(line + "\\par\r\n");
    }
    EXPECT_EQ(Write(Output::Html, signature), html + kHtmlTail);
    EXPECT_EQ(Write(Output::Rtf, signature), rtf + kRtfTail);
}

TEST_F(SignatureFileTest, HtmlEscapesMarkupAndNonAscii) {
    EXPECT_EQ(Write(Output::Html, Lines({U"Tom & Jerry <tj@example.com> \"quoted\" 'single'"})),
              HtmlFile({"Tom &amp; Jerry &lt;tj@example.com&gt; &quot;quoted&quot; 'single'"}));
    // Text that already looks like a reference is still text.
    EXPECT_EQ(Write(Output::Html, Lines({U"&amp; &#233;"})), HtmlFile({"&amp;amp; &amp;#233;"}));
    const std::string bytes =
        Write(Output::Html, Lines({U"Caf\u00e9 \u20ac5 \u03a9\u03bc\u03ad\u03b3\u03b1 \U0001F600",
                                   U"\u00a0\u00ff\u0100"}));
    EXPECT_EQ(bytes, HtmlFile({"Caf&#233; &#8364;5 &#937;&#956;&#941;&#947;&#945; &#128512;",
                               "&#160;&#255;&#256;"}));
    EXPECT_TRUE(IsAscii(bytes));
}

TEST_F(SignatureFileTest, RtfEscapesControlCharactersAndNonAscii) {
    EXPECT_EQ(Write(Output::Rtf, Lines({U"C:\\mail\\sig {draft} \\par"})),
              RtfFile({R"(C:\\mail\\sig \{draft\} \\par)"}));
    // Windows-1252 letters as \'hh in lower-case hex, from both halves of the
    // upper range.
    EXPECT_EQ(Write(Output::Rtf, Lines({U"Caf\u00e9 \u20ac5 \u0160\u0178 \u00a0\u00ff"})),
              RtfFile({R"(Caf\'e9 \'805 \'8a\'9f \'a0\'ff)"}));
    // Anything else as a signed 16-bit \uN followed by one stand-in character.
    EXPECT_EQ(Write(Output::Rtf, Lines({U"\u03a9\u03bc \u4e2d \uff01 \u0081 \uffff"})),
              RtfFile({R"(\u937?\u956? \u20013? \u-255? \u129? \u-1?)"}));
    const std::string bytes = Write(Output::Rtf, Lines({U"smile \U0001F600 \U0010FFFF"}));
    EXPECT_EQ(bytes, RtfFile({R"(smile \u-10179?\u-8704? \u-9217?\u-8193?)"}));
    EXPECT_TRUE(IsAscii(bytes));
}

TEST_F(SignatureFileTest, EscapedFormsAreAsciiWhateverTheText) {
    Text everything;
    for (char32_t c = 1; c < 0x800; ++c) {
        if (c != U'\r' && c != U'\n')
            everything += c;
    }
    everything += U"\u20ac\u2122\uD7FF\uE000\uFFFD\U00010000\U0001F600";
    EXPECT_TRUE(IsAscii(Write(Output::Html, everything)));
    EXPECT_TRUE(IsAscii(Write(Output::Rtf, everything)));
}

TEST_F(SignatureFileTest, NothingWrittenWithoutFileOutputButTheFormIsBuilt) {
    form.chkFile.Value = 0;
    Write(Output::Html, Lines({U"ab"}));
    EXPECT_EQ(NativeFileBytes(ToUtf8(app.SignatureFileText) + "\r\n"), HtmlFile({"ab"}));
    Write(Output::Rtf, Lines({U"ab"}));
    EXPECT_EQ(NativeFileBytes(ToUtf8(app.SignatureFileText) + "\r\n"), RtfFile({"ab"}));

    form.chkFile.Value = 1;
    app.SignatureFilePath.clear();
    app.SignatureText = Lines({U"cd"});
    WriteSignatureFile(app);
    EXPECT_EQ(NativeFileBytes(ToUtf8(app.SignatureFileText) + "\r\n"), RtfFile({"cd"}));

    EXPECT_EQ(files.writes, 0);
    EXPECT_TRUE(files.files.empty());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(fileDialog.calls.empty());
}

TEST_F(SignatureFileTest, GreyedFileOutputStillWrites) {
    form.chkFile.Value = 2;
    EXPECT_EQ(Write(Output::Text, U"ab"), NativeFileBytes("ab\r\n"));
}

TEST_F(SignatureFileTest, FailingWriteIsReportedOnceUntilAWriteSucceeds) {
    files.files[kPath] = "old\r\n";
    files.failWrites[kPath] = std::make_error_code(std::errc::permission_denied);
    for (int i = 0; i < 3; ++i)
        Write(Output::Text, Lines({U"new"}));
    ASSERT_EQ(messages.shown.size(), 1u);
    const testing::ShownMessage& first = messages.shown[0];
    EXPECT_EQ(first.style, 48);
    EXPECT_EQ(first.title, U"Signature File");
    EXPECT_NE(first.text.find(kPath), Text::npos) << ToUtf8(first.text);
    EXPECT_NE(first.text.find(U"Permission denied"), Text::npos) << ToUtf8(first.text);
    // The old file is left as it was, and the form was built all the same.
    EXPECT_EQ(files.files[kPath], "old\r\n");
    EXPECT_EQ(app.SignatureFileText, Lines({U"new"}));

    files.failWrites.clear();
    Write(Output::Text, Lines({U"newer"}));
    EXPECT_EQ(files.files[kPath], NativeFileBytes("newer\r\n\r\n"));
    EXPECT_EQ(messages.shown.size(), 1u);

    // A failure after a success is news again.
    files.failWrites[kPath] = std::make_error_code(std::errc::no_space_on_device);
    Write(Output::Html, Lines({U"a"}));
    Write(Output::Rtf, Lines({U"b"}));
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_NE(messages.shown[1].text.find(U"No space left on device"), Text::npos);
    EXPECT_NE(messages.shown[1].text.find(kPath), Text::npos);
    EXPECT_EQ(messages.shown[1].style, 48);
    EXPECT_EQ(messages.shown[1].title, U"Signature File");
    EXPECT_EQ(files.files[kPath], NativeFileBytes("newer\r\n\r\n"));
}

TEST_F(SignatureFileTest, AnotherFailingFileIsReportedForItself) {
    const Text other = U"/mnt/readonly/signature.txt";
    files.failWrites[kPath] = std::make_error_code(std::errc::permission_denied);
    files.failWrites[other] = std::make_error_code(std::errc::read_only_file_system);
    Write(Output::Text, U"a");
    app.SignatureFilePath = other;
    WriteSignatureFile(app);
    WriteSignatureFile(app);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_NE(messages.shown[1].text.find(other), Text::npos);
    EXPECT_NE(messages.shown[1].text.find(U"Read-only file system"), Text::npos);
}

// CheckSignatureFile: the recovery dialog for a file that cannot be read.

constexpr const char32_t* kRecoveryFilter =
    U"All Files (*.*)|*.*|Text (*.txt)|*.txt|Pegasus (*.pms)|*.pms|HTML (*.htm)|*.htm|"
    U"Rich Text (*.rtf)|*.rtf|";

TEST_F(SignatureFileTest, CheckLeavesAReadableFileAlone) {
    files.files[kPath] = "old";
    app.SignatureText = U"new";
    CheckSignatureFile(app);
    EXPECT_TRUE(fileDialog.calls.empty());
    EXPECT_EQ(files.files[kPath], "old");
    EXPECT_EQ(files.writes, 0);
}

TEST_F(SignatureFileTest, CheckOffersAnotherFileAndWritesIt) {
    for (const Text& missing : {Text(kPath), Text()}) {
        SCOPED_TRACE(ToUtf8(missing));
        files.files.clear();
        fileDialog.calls.clear();
        app.SignatureFilePath = missing;
        app.SignatureText = Lines({U"ab"});
        fileDialog.results.push_back(U"/home/user/found.txt");
        CheckSignatureFile(app);
        ASSERT_EQ(fileDialog.calls.size(), 1u);
        // Offered in the folder of the file in use, or else in the documents folder.
        const Text folder =
            missing.empty() ? testing::Folder(U"home/test/Documents") : Text(U"/home/user/mail/");
        EXPECT_EQ(fileDialog.calls[0].initial, folder + U"AnySignatureFile.txt");
        EXPECT_EQ(fileDialog.calls[0].filter, kRecoveryFilter);
        EXPECT_EQ(app.SignatureFilePath, U"/home/user/found.txt");
        EXPECT_EQ(files.files[U"/home/user/found.txt"], NativeFileBytes("ab\r\n\r\n"));
        EXPECT_EQ(files.files.size(), 1u);
    }
}

TEST_F(SignatureFileTest, CheckCancelledKeepsThePathAndWritesNothing) {
    CheckSignatureFile(app);  // the fake dialog cancels
    EXPECT_EQ(fileDialog.calls.size(), 1u);
    EXPECT_EQ(app.SignatureFilePath, kPath);
    EXPECT_EQ(files.writes, 0);

    // A dialog that closes with no name counts as cancelled too.
    fileDialog.results.push_back(Text());
    CheckSignatureFile(app);
    EXPECT_EQ(fileDialog.calls.size(), 2u);
    EXPECT_EQ(app.SignatureFilePath, kPath);
    EXPECT_EQ(files.writes, 0);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SignatureFileTest, CheckAsksNothingUnlessFileOutputIsOn) {
    for (int value : {0, 2}) {
        form.chkFile.Value = value;
        CheckSignatureFile(app);
    }
    EXPECT_TRUE(fileDialog.calls.empty());
    EXPECT_EQ(app.SignatureFilePath, kPath);
    EXPECT_EQ(files.writes, 0);
}

}  // namespace
}  // namespace velmo

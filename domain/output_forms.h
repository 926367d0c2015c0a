#pragma once

// The three forms of the signature file: the text as it is, HTML 3.2 and
// Rich Text, each line of the signature one line of the file.

#include <string>
#include <vector>

#include "domain/signature_options.h"
#include "domain/text.h"

namespace velmo {

// The CR LF-terminated lines of a text, then the text after the last CR LF
// when there is any.
std::vector<Text> SplitSignatureLines(TextView text);

// The characters HTML and Rich Text would misread, written safely.
Text EscapeHtml(TextView line);
Text EscapeRtf(TextView line);

Text HtmlSignature(TextView signature);
Text RtfSignature(TextView signature);

// The signature in the chosen form, without the file's last line end.
Text SignatureInForm(OutputForm form, TextView signature);

// The bytes of an HTML or Rich Text file: ASCII only, since both forms
// escape everything else.
std::string MarkedUpFileBytes(TextView content);

}  // namespace velmo

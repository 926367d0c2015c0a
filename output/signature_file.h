#pragma once

#include <vector>

#include "core/text.h"

namespace velmo {

struct App;

// Builds the chosen form of the signature and, when file output is on and a
// file is chosen, replaces the signature file with it.
void WriteSignatureFile(App& app);

// The HTML and Rich Text forms of SignatureText, into SignatureFileText.
void BuildHtmlSignature(App& app);
void BuildRtfSignature(App& app);

// Offers to choose a signature file when the current one cannot be read.
void CheckSignatureFile(App& app);

// The CR LF-terminated lines of a text, then the text after the last CR LF
// when there is any.
std::vector<Text> SplitSignatureLines(TextView text);

// The characters HTML and Rich Text would misread, written safely.
Text EscapeHtml(TextView line);
Text EscapeRtf(TextView line);

}  // namespace velmo

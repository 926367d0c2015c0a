#pragma once

// The two layouts of a signature, as pure functions of the options and the
// two parts. Every row ends in CR LF.

#include "domain/signature_options.h"
#include "domain/text.h"

namespace velmo {

// The strings before and after every framed row, from the side-border options.
struct SideBorders {
    Text LeftSide;   // left text and the indent; empty in HTML output
    Text RightSide;  // the indent, the right text and CR LF; empty in HTML output
};

SideBorders ComputeSideBorders(const SignatureOptions& options);

// Wraps one non-empty part to `contentWidth` and frames every row with the
// side borders, padded so that each row is as wide as the top border.
Text FramePart(const SignatureOptions& options, TextView text, int contentWidth);

// The unbordered layout: both parts wrapped at the plain width; empty when
// both parts are empty.
Text LayoutPlain(const SignatureOptions& options, TextView first, TextView second);

// The bordered layout. It starts with a CR LF before the top border.
Text LayoutBordered(const SignatureOptions& options, TextView first, TextView second);

// What a signature shows in place of the variable part when no entry is picked.
inline constexpr TextView NoQuoteSelected = U"No Quote Selected";

// The whole signature: the parts left out as the options say, put in their
// order and laid out. An empty `quote` stands for no entry picked.
Text ComposeSignature(const SignatureOptions& options, TextView fixedText, TextView quote);

// The size of a signature as a mail program shows it in a fixed-width font.
struct SignatureSize {
    int lines = 0;
    int columns = 0;  // of the widest line
    bool operator==(const SignatureSize&) const = default;
};

// Lines count up to the last one with text: the empty line a bordered
// signature starts with shows as a gap under the mail program's "-- " and
// counts, empty lines at the very end show nothing and do not. A line ends
// at CR LF, or at a CR or LF alone; a last line without its end counts too.
SignatureSize MeasureSignature(TextView signature);

}  // namespace velmo

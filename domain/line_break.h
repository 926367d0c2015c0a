#pragma once

// Where a text may be broken across lines: the line breaking algorithm of
// Unicode (UAX #14), with the tailoring of numbers that its conformance test
// uses, so that "$(12.50)" and "-3" stay whole.

#include <vector>

#include "domain/text.h"

namespace velmo {

// Whether Unicode's line breaking algorithm allows a break before each position of the text:
// result[i] for 0 <= i <= text.size(); result[0] is false, result[text.size()] true, and a
// break after a hard line break (BK, CR not followed by LF, LF, NL) counts as allowed.
// One pass over the text, keeping only the few classes the rules look back at.
std::vector<bool> LineBreakOpportunities(TextView text);

}  // namespace velmo

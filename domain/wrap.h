#pragma once

#include "domain/text.h"

namespace velmo {

// Breaks `text` into lines of at most width - 1 characters at spaces, keeping
// the line breaks it already has; every line of the result ends in CR LF.
Text WrapText(TextView text, int width);

}  // namespace velmo

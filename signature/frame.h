#pragma once

#include "core/text.h"

namespace velmo {

class MainForm;

// The strings before and after every framed row, from the side-border options.
struct SideBorders {
    Text LeftSide;   // left text and the indent; empty in HTML output
    Text RightSide;  // the indent, the right text and CR LF; empty in HTML output
};

SideBorders ComputeSideBorders(const MainForm& form);

// Wraps one non-empty part to `contentWidth` and frames every row with the
// side borders, padded so that each row is as wide as the top border.
Text FramePart(const MainForm& form, TextView text, int contentWidth);

}  // namespace velmo

#pragma once

// Every option of the signature's layout and output, and of the program's
// start, as one value. The members start at the first-run defaults.

#include "domain/text.h"

namespace velmo {

// A check box: greyed is kept as it was stored, and counts as on where a
// part is included but as off where a switch must be plainly on.
enum class Check { Off = 0, On = 1, Greyed = 2 };

inline bool Included(Check c) {
    return c != Check::Off;
}
inline bool SwitchedOn(Check c) {
    return c == Check::On;
}

enum class PartOrder { FixedFirst, VariableFirst };

enum class TopBorder {
    Like,    // the sample line as typed
    Repeat,  // the repeat unit filled out to the signature width
};

enum class BottomBorder {
    Unchosen,  // no choice made: laid out as Same
    Like,
    Repeat,
    Same,  // the top border again
};

// The row between the two parts.
enum class PartSeparator {
    Unchosen,  // no choice made: laid out as None
    None,
    BlankLine,
    SameAsTop,
    SameAsBottom,
};

enum class OutputForm { PlainText, Html, Rtf };

// The longest texts the options take: a sample border line, and a repeat
// unit or side text.
inline constexpr size_t kMaxLikeLength = 100;
inline constexpr size_t kMaxUnitLength = 6;

inline constexpr TextView DefaultLikeBorder = U"*****************************************";

struct SignatureOptions {
    int changeInterval = 5;  // the slider position, 0 to 8
    Check toClipboard = Check::Off;
    Check toFile = Check::Off;
    Check variablePart = Check::On;
    Check fixedPart = Check::Off;
    Check startOnTray = Check::Off;
    // "No repeats until all are used": every quotation once before any comes back.
    bool noRepeats = false;
    PartOrder order = PartOrder::FixedFirst;
    OutputForm output = OutputForm::PlainText;

    // The plain layout.
    int plainWidth = 60;

    // The bordered layout.
    Check bordered = Check::On;
    Check blankRows = Check::Off;  // a blank row below the top and above the bottom border
    TopBorder top = TopBorder::Repeat;
    Text topLike = Text(DefaultLikeBorder);
    Text topRepeat = U"*";
    int borderedWidth = 60;
    BottomBorder bottom = BottomBorder::Unchosen;
    Text bottomLike = Text(DefaultLikeBorder);
    Text bottomRepeat = U"*";
    Text leftSide = U"*";
    int indent = 1;
    Check rightSameAsLeft = Check::On;
    bool rightLikeChosen = false;  // the right side's own option button, kept as stored
    Text rightSide = U"*";
    PartSeparator separator = PartSeparator::None;

    bool operator==(const SignatureOptions&) const = default;
};

}  // namespace velmo

#pragma once

// Text measured as a terminal or a fixed-width mail font shows it: in
// extended grapheme clusters (what a reader sees as one character) and the
// display columns each one takes.

#include <cstddef>
#include <vector>

#include "domain/text.h"

namespace velmo {

// The end of the grapheme cluster that starts at `start` (which must be a
// cluster boundary, such as 0 or the end of the cluster before).
size_t NextClusterEnd(TextView text, size_t start);

// Whether each position of the text is a cluster boundary: result[i] for
// 0 <= i <= text.size(), true at both ends.
std::vector<bool> ClusterBoundaries(TextView text);

// The display columns of one grapheme cluster: 2 for East Asian wide and
// fullwidth characters and for emoji shown as pictures (emoji presentation,
// VS16, a skin tone, a ZWJ sequence, a flag); 0 for marks, joiners and format
// characters alone; 1 for everything else, ambiguous widths included.
int ClusterColumns(TextView cluster);

// The display columns of a text, cluster by cluster. CR and LF count one
// each, as the layout counts them.
size_t Columns(TextView text);

// True when every cluster of the text is a single code point one column wide:
// its columns are then simply its length.
bool IsNarrow(TextView text);

// Tabs replaced by spaces up to the next multiple of 8 columns, counted from
// the start of each line.
Text ExpandTabs(TextView text);

}  // namespace velmo

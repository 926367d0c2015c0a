#pragma once

// Paths of either platform's form, as text.

#include "domain/text.h"

namespace velmo {

enum class PathStyle {
    Posix,    // "/" separates, an absolute path starts with "/"
    Windows,  // "\" separates, an absolute path starts with a drive: "C:\"
};

inline char32_t Separator(PathStyle style) {
    return style == PathStyle::Windows ? U'\\' : U'/';
}

// True for a path that names its file from the root: on Windows one whose
// second character is ":", elsewhere one whose first is "/".
bool IsRootedPath(TextView path, PathStyle style);

// A path that names its folder: rooted, or on Windows one from the root of
// the current drive or a network path ("\\server\share\...").
bool IsFullPath(TextView path, PathStyle style);

// The folder the last name of a path is in: the path up to and with its last
// separator, which on Windows is "/" as well as "\"; empty when the path has
// none.
Text ContainingFolder(TextView path, PathStyle style);

// The display form of a path: the root, "..." and the deepest folders with
// the file name, when the first dot lies beyond `limit` (0 means 55).
Text ShortenPath(TextView path, int limit, PathStyle style);

}  // namespace velmo

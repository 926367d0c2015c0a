#pragma once

// What differs between the platforms in the core's own logic: the form of
// paths. Each platform links one implementation of NativePathStyle().

#include "core/text.h"

namespace velmo {

enum class PathStyle {
    Posix,    // "/" separates, an absolute path starts with "/"
    Windows,  // "\" separates, an absolute path starts with a drive: "C:\"
};

PathStyle NativePathStyle();

inline char32_t Separator(PathStyle style) {
    return style == PathStyle::Windows ? U'\\' : U'/';
}

// True for a path that names its file from the root: on Windows one whose
// second character is ":", elsewhere one whose first is "/".
bool IsRootedPath(TextView path, PathStyle style);

// The folder part of a path, with its trailing separator; empty when the path
// has no separator.
Text FolderOf(TextView path, PathStyle style);

}  // namespace velmo

#pragma once

// Paths and file text in the running platform's own forms, so that one test
// states the same case on every platform.

#include <string>

#include "domain/text.h"
#include "platform/path_style.h"

namespace velmo::testing {

// A path written with "/" turned into a rooted one of the given style:
// "/home/ann/q.txt" or "C:\home\ann\q.txt".
inline Text RootedIn(PathStyle style, TextView relative) {
    Text path = style == PathStyle::Windows ? U"C:\\" : U"/";
    for (char32_t c : relative)
        path += c == U'/' ? Separator(style) : c;
    return path;
}

// A rooted path of this platform.
inline Text Rooted(TextView relative) {
    return RootedIn(NativePathStyle(), relative);
}

// A path rooted only on the other platform, which this one must treat as
// relative.
inline Text RootedElsewhere(TextView relative) {
    return RootedIn(NativePathStyle() == PathStyle::Windows ? PathStyle::Posix : PathStyle::Windows,
                    relative);
}

// A rooted folder of this platform, ending in its separator.
inline Text Folder(TextView relative) {
    Text folder = Rooted(relative);
    if (folder.back() != Separator(NativePathStyle()))
        folder += Separator(NativePathStyle());
    return folder;
}

// File bytes written with CR LF line breaks as the program writes them for
// other programs on this platform: each CR LF becomes LF on POSIX; Windows
// keeps them. A CR or LF on its own stays.
inline std::string NativeFileBytes(std::string bytes) {
    if (NativePathStyle() == PathStyle::Windows)
        return bytes;
    for (size_t at = bytes.find("\r\n"); at != std::string::npos; at = bytes.find("\r\n", at))
        bytes.erase(at, 1);
    return bytes;
}

}  // namespace velmo::testing

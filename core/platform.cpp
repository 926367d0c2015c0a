#include "core/platform.h"

namespace velmo {

bool IsRootedPath(TextView path, PathStyle style) {
    if (style == PathStyle::Windows)
        return path.size() >= 2 && path[1] == U':';
    return !path.empty() && path[0] == U'/';
}

Text FolderOf(TextView path, PathStyle style) {
    const size_t p = path.rfind(Separator(style));
    return p == TextView::npos ? Text() : Text(path.substr(0, p + 1));
}

}  // namespace velmo

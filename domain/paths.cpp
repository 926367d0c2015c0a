#include "domain/paths.h"

namespace velmo {

bool IsRootedPath(TextView path, PathStyle style) {
    if (style == PathStyle::Windows)
        return path.size() >= 2 && path[1] == U':';
    return !path.empty() && path[0] == U'/';
}

bool IsFullPath(TextView path, PathStyle style) {
    return IsRootedPath(path, style) || (style == PathStyle::Windows && !path.empty() &&
                                         (path.front() == U'\\' || path.front() == U'/'));
}

Text ContainingFolder(TextView path, PathStyle style) {
    const size_t p = style == PathStyle::Windows ? path.find_last_of(U"\\/") : path.rfind(U'/');
    return p == TextView::npos ? Text() : Text(path.substr(0, p + 1));
}

Text ShortenPath(TextView path, int limit, PathStyle style) {
    if (limit == 0)
        limit = 55;
    const size_t firstDot = path.find(U'.');
    const long long dot = firstDot == TextView::npos ? 0 : static_cast<long long>(firstDot) + 1;
    if (dot <= limit)
        return Text(path);

    const size_t headLength = style == PathStyle::Windows ? 3 : 1;
    const Text head(path.substr(0, headLength));
    const char32_t separator = Separator(style);
    // Positions count from 1; p is the separator found from `start` on. The
    // walk starts at the head's last character: a tail taken from a separator
    // inside the head (the "\\" of a network path) would show the head twice.
    size_t start = headLength;
    while (true) {
        const size_t found = path.find(separator, start - 1);
        if (found == TextView::npos)
            return head + U"...";
        const size_t p = found + 1;
        start = p + 1;
        if (dot - static_cast<long long>(start) < limit) {
            return head + U"..." + Text(path.substr(p - 1, static_cast<size_t>(dot) + 3));
        }
    }
}

}  // namespace velmo

#include "domain/paths.h"

#include <gtest/gtest.h>

namespace velmo {
namespace {

// Rows: the style, the path, its containing folder.
TEST(ContainingFolder, UpToAndWithTheLastSeparator) {
    const struct {
        PathStyle style;
        TextView path, folder;
    } rows[] = {
        {PathStyle::Posix, U"/home/a/q.txt", U"/home/a/"},
        {PathStyle::Posix, U"q.txt", U""},
        {PathStyle::Posix, U"", U""},
        {PathStyle::Posix, U"/", U"/"},
        {PathStyle::Posix, U"/q.txt", U"/"},
        {PathStyle::Posix, U"/home/a/", U"/home/a/"},
        // A backslash is a character of a POSIX name.
        {PathStyle::Posix, U"/a/b\\c.txt", U"/a/"},
        {PathStyle::Posix, U"a\\b.txt", U""},
        {PathStyle::Windows, U"C:\\a\\q.txt", U"C:\\a\\"},
        {PathStyle::Windows, U"C:\\", U"C:\\"},
        {PathStyle::Windows, U"C:q.txt", U""},
        {PathStyle::Windows, U"q.txt", U""},
        {PathStyle::Windows, U"C:\\a\\", U"C:\\a\\"},
        // Windows takes "/" too, whichever comes last.
        {PathStyle::Windows, U"C:\\a/q.txt", U"C:\\a/"},
        {PathStyle::Windows, U"C:/a\\b/c\\q.txt", U"C:/a\\b/c\\"},
        {PathStyle::Windows, U"\\\\server\\share\\q.txt", U"\\\\server\\share\\"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ContainingFolder(row.path, row.style), row.folder) << ToUtf8(row.path);
    }
}

}  // namespace
}  // namespace velmo

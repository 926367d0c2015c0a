#include "domain/file_address.h"

#include <gtest/gtest.h>

namespace velmo {
namespace {

TEST(FileAddress, PathsOfBothStylesAsBrowsersTakeThem) {
    const struct {
        PathStyle style;
        Text path, address;
    } rows[] = {
        {PathStyle::Posix, U"/usr/share/doc/velmo/mail-clients.md",
         U"file:///usr/share/doc/velmo/mail-clients.md"},
        // Characters a URL gives a meaning of its own, and a colon.
        {PathStyle::Posix, U"/a b/#?%&+;=:@~-_.md",
         U"file:///a%20b/%23%3F%25%26%2B%3B%3D%3A%40~-_.md"},
        {PathStyle::Posix, U"/azAZ09", U"file:///azAZ09"},
        {PathStyle::Posix, U"/\u00E9\U0001F600", U"file:///%C3%A9%F0%9F%98%80"},
        {PathStyle::Posix, FromPathBytes("/caf\xE9/a.md"), U"file:///caf%E9/a.md"},
        {PathStyle::Windows, U"C:\\Program Files\\Velmo\\docs\\mail-clients.md",
         U"file:///C:/Program%20Files/Velmo/docs/mail-clients.md"},
        {PathStyle::Windows, U"\\\\server\\share\\mail-clients.md",
         U"file://server/share/mail-clients.md"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ToUtf8(FileAddress(row.path, row.style)), ToUtf8(row.address));
}

}  // namespace
}  // namespace velmo

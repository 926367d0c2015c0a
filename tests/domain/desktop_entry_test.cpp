#include "domain/desktop_entry.h"

#include <gtest/gtest.h>

#include <string>

namespace velmo {
namespace {

// The entry written switches itself on; Exec names the program as the desktop
// entry rules quote it.
TEST(AutostartEntryTest, WrittenQuotedAndReadAsSwitchedOnOrOff) {
    const struct {
        Text program;
        std::string exec;
    } rows[] = {
        {U"/opt/velmo/velmo", "/opt/velmo/velmo"},
        {U"/home/ann/My Programs/velmo", "\"/home/ann/My Programs/velmo\""},
        // Inside quotes ", `, $ and \ take a backslash; every backslash is then doubled.
        {U"/opt/a$b\\c\"d`e/velmo", "\"/opt/a\\\\$b\\\\\\\\c\\\\\"d\\\\`e/velmo\""},
        {U"/opt/100%/velmo", "/opt/100%%/velmo"},
        {U"/opt/tab\there/new\nline/velmo", "\"/opt/tab\\there/new\\nline/velmo\""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.exec);
        const std::string entry = AutostartEntry(row.program);
        EXPECT_NE(entry.find("\nExec=" + row.exec + "\nIcon=velmo\n"), std::string::npos);
        EXPECT_TRUE(AutostartEntryOn(entry));
    }
    // Only an entry not switched off starts with the desktop.
    const struct {
        std::string bytes;
        bool on;
    } entries[] = {
        {"[Desktop Entry]\nHidden=true\n", false},
        {"[Desktop Entry]\r\nExec=velmo\r\n  Hidden = true \r\n", false},
        {"[Desktop Entry] \r\nExec=velmo\r\n", true},
        {"[Desktop Entry]\nX-GNOME-Autostart-enabled=false\n", false},
        // Only the entry's own group counts, and not a comment.
        {"[Desktop Action x]\nHidden=true\n[Desktop Entry]\n# Hidden=true\nExec=velmo\n", true},
        {"[Desktop Entry]\nExec=velmo\n[Other]\nX-GNOME-Autostart-enabled=false\n", true},
        {"Exec=velmo\n", false},
    };
    for (const auto& [bytes, on] : entries)
        EXPECT_EQ(AutostartEntryOn(bytes), on) << bytes;
}

// A named profile's entry starts the program with the profile, and is its own
// entry only for that profile: the default one's is not the work profile's.
TEST(AutostartEntryTest, OneForEachProfile) {
    const std::string work = AutostartEntry(U"/opt/My Velmo/velmo", "work");
    EXPECT_NE(work.find("\nName=Velmo (work)\n"), std::string::npos);
    EXPECT_NE(work.find("\nExec=\"/opt/My Velmo/velmo\" --profile work\n"), std::string::npos);
    EXPECT_TRUE(OwnAutostartEntry(work, "work"));
    EXPECT_FALSE(OwnAutostartEntry(work, ""));
    EXPECT_FALSE(OwnAutostartEntry(work, "wor"));
    // A longer entry with lines of the user's is theirs.
    EXPECT_FALSE(OwnAutostartEntry(work + "Name[de]=Arbeit\n", "work"));
    const std::string standard = AutostartEntry(U"/opt/velmo/velmo");
    EXPECT_TRUE(OwnAutostartEntry(standard));
    EXPECT_FALSE(OwnAutostartEntry(standard, "work"));
}

}  // namespace
}  // namespace velmo

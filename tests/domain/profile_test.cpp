#include "domain/profile.h"

#include <gtest/gtest.h>

#include <string>

namespace velmo {
namespace {

// Only names that are safe as a folder, a registry key and a desktop entry's
// name pass; the refusal shows the name on one line, whatever it holds.
TEST(ProfileName, HostileNamesAreRefused) {
    const struct {
        std::string name;
        bool accepted;
        std::string shown;  // in the refusal
    } rows[] = {
        {"work", true, ""},
        {"Work-2_private.old", true, ""},
        {std::string(64, 'x'), true, ""},
        {"a.", true, ""},
        {"", false, "''"},
        {".", false, "'.'"},
        {"..", false, "'..'"},
        {".hidden", false, "'.hidden'"},
        {"a/b", false, "'a/b'"},
        {"a\\b", false, "'a\\b'"},
        {"../../etc", false, "'../../etc'"},
        {"a\nb", false, "'a?b'"},
        {"tab\there", false, "'tab?here'"},
        {"sp ace", false, "'sp ace'"},
        {"caf\xC3\xA9", false,
         "'caf?"
         "?'"},
        {std::string("nul\0x", 5), false, "'nul?x'"},
        {"a:b", false, "'a:b'"},
        {"*", false, "'*'"},
        {std::string(65, 'x'), false, "'" + std::string(65, 'x') + "'"},
        {std::string(300, 'y'), false, "'" + std::string(65, 'y') + "...'"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(IsProfileName(row.name), row.accepted);
        const std::string refusal = ProfileNameRefusal(row.name);
        EXPECT_EQ(refusal.empty(), row.accepted);
        if (!row.accepted) {
            EXPECT_EQ(refusal.find('\n'), std::string::npos);
            EXPECT_NE(refusal.find(row.shown), std::string::npos) << refusal;
        }
    }
}

}  // namespace
}  // namespace velmo

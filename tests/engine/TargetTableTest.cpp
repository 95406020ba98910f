#include "engine/TargetTable.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

TEST(JoinPath, KeepsTheFolderAsGivenAndTranslatesOnlyTheRelativePart) {
    EXPECT_EQ(joinPath("/games/cs", "\\cstrike\\config.cfg", '/'), "/games/cs/cstrike/config.cfg");
    EXPECT_EQ(joinPath("C:\\CS", "\\cstrike\\config.cfg", '\\'), "C:\\CS\\cstrike\\config.cfg");
    // A folder ending in a separator (a root) gives a doubled one; nothing is normalised.
    EXPECT_EQ(joinPath("/", "\\cstrike\\motd.txt", '/'), "//cstrike/motd.txt");
    EXPECT_EQ(joinPath("C:\\", "\\cstrike\\motd.txt", '\\'), "C:\\\\cstrike\\motd.txt");
    // A backslash inside a POSIX folder name is part of the name, not a separator.
    EXPECT_EQ(joinPath("/g/a\\b", "\\cstrike\\motd.txt", '/'), "/g/a\\b/cstrike/motd.txt");
    // An empty folder leaves the bare relative path.
    EXPECT_EQ(joinPath("", "\\cstrike\\motd.txt", '/'), "/cstrike/motd.txt");
}

}  // namespace
}  // namespace morvane

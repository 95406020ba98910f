// What a backup takes on Windows, read through the Windows reader: a game folder at a drive's
// root, and a Unix link that Wine shows as an ordinary file.
#include <windows.h>

#include <gtest/gtest.h>

#include "core/backup/Backups.h"
#include "platform/host/win32/Win32TreeReader.h"
#include "tests/support/DriveLetter.h"
#include "tests/support/UnderWine.h"
#include "tests/support/WideTree.h"

namespace morvane {
namespace {

using test::WideTree;

TEST(Win32ReadState, AGameFolderAtADriveRootIsBackedUpAndWhatALinkLeadsToIsNot) {
    WideTree tree;
    tree.write("drive\\hl.exe", "launcher");
    tree.write("drive\\cstrike\\config.cfg", "bind");
    tree.write("drive\\cstrike_russian\\userconfig.cfg", "mine");
    tree.write("outside\\config.cfg", "someone else's");
    const test::DriveLetter drive(tree.path("drive"));
    ASSERT_TRUE(drive.mapped());
    // Under Wine only: elsewhere the link is not made and the case is left out.
    const test::wine::UnixLink link(tree.path("drive\\cstrike_russian\\config.cfg"),
                                    tree.path("outside\\config.cfg"));
    Win32TreeReader reader;
    struct Case {
        std::string game;
        const char* file;
        const char* bytes;  // nullptr: a link
    };
    const Case cases[] = {
        {drive.root(), "cstrike/config.cfg", "bind"},
        {drive.root(), "cstrike_russian/userconfig.cfg", "mine"},
        {drive.root().substr(0, 2), "cstrike/config.cfg", "bind"},
        {tree.path("drive"), "cstrike/config.cfg", "bind"},
        {drive.root(), "cstrike_russian/config.cfg", nullptr},
        {tree.path("drive"), "cstrike_russian/config.cfg", nullptr},
    };
    for (const Case& c : cases) {
        if (c.bytes == nullptr && !link.made())
            continue;
        const backup::StateRead read = backup::readState(reader, c.game, c.file);
        EXPECT_FALSE(read.error) << c.game << " " << c.file;
        EXPECT_TRUE(read.state.present) << c.game << " " << c.file;
        EXPECT_EQ(read.state.link, c.bytes == nullptr) << c.game << " " << c.file;
        EXPECT_EQ(read.bytes, c.bytes != nullptr ? c.bytes : "") << c.game << " " << c.file;
    }
}

}  // namespace
}  // namespace morvane

// Where a change reaches on the Windows host when the game folder is a drive's root, and when a
// link stands where the system does not show one (a Unix link under Wine), whatever the length of
// the game folder's path.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/host/win32/Win32FileHost.h"
#include "tests/platform/host/HostContract.h"
#include "tests/support/DriveLetter.h"
#include "tests/support/UnderWine.h"
#include "tests/support/WideTree.h"

namespace morvane::test {
namespace {

std::size_t utf16Length(const std::string& path) {
    return win32::wide(path).size();
}

// The engine joins the fixed paths ("\cstrike\...") to the game folder as given, so at a root
// ("M:\") a doubled separator follows it; a drive alone ("M:") is its root there too, whatever the
// drive's current folder.
TEST(Win32Reach, AGameFolderAtADriveRootTakesThePathsTheEngineJoinsToIt) {
    struct Case {
        const char* game;    // after the drive letter
        const char* target;  // after the drive letter
        Op op;
        Ended expected;
    };
    const Case cases[] = {
        {":\\", ":\\\\cstrike\\motd.txt", Op::Copy, Ended::Done},
        {":\\", ":\\\\cstrike\\motd.txt", Op::Delete, Ended::Done},
        {":\\", ":\\\\cstrike\\motd.txt", Op::ReadOnly, Ended::Done},
        {":\\", ":\\cstrike\\motd.txt", Op::Copy, Ended::Done},
        {":", ":\\cstrike\\motd.txt", Op::Copy, Ended::Done},
        {":", ":\\cstrike\\motd.txt", Op::Delete, Ended::Done},
        {":\\", ":\\\\cstrike\\..\\..\\outside\\motd.txt", Op::Delete, Ended::Failed},
        {":\\", ":\\\\..\\outside\\motd.txt", Op::Copy, Ended::Failed},
    };
    WideTree tree;
    tree.write("drive\\hl.exe", "launcher");
    tree.write("drive\\current\\cstrike\\motd.txt", "the drive's current folder");
    tree.write("outside\\motd.txt", "outside");
    tree.write("files\\motd.txt", "clean page");
    const DriveLetter drive(tree.path("drive"));
    ASSERT_TRUE(drive.mapped()) << "no drive letter could be given to " << tree.path("drive");
    const std::string letter = drive.root().substr(0, 1);
    const std::wstring current = win32::wide("=" + letter + ":");
    for (const Case& c : cases) {
        SetFileAttributesW(win32::extendedPath(tree.path("drive\\cstrike\\motd.txt")).c_str(),
                           FILE_ATTRIBUTE_NORMAL);
        tree.write("drive\\cstrike\\motd.txt", "advert");
        SetEnvironmentVariableW(current.c_str(), win32::wide(drive.root() + "current").c_str());
        const std::string game = letter + c.game, target = letter + c.target;
        SCOPED_TRACE(game + " " + target + " " + std::to_string(static_cast<int>(c.op)));

        Win32FileHost host;
        EXPECT_EQ(host.lookupFile(letter + ":\\\\cstrike\\motd.txt"), Lookup::Present);
        ASSERT_EQ(host.beginChanges(game, std::chrono::milliseconds(0)), RunStart::Begun);
        EXPECT_STREQ(ended(apply(host, c.op, target, tree.path("files\\motd.txt"))),
                     name(c.expected));
        host.endChanges();
        SetEnvironmentVariableW(current.c_str(), nullptr);

        const std::string motd = tree.read("drive\\cstrike\\motd.txt");
        if (c.expected == Ended::Failed || c.op == Op::ReadOnly)
            EXPECT_EQ(motd, "advert");
        else
            EXPECT_EQ(motd, c.op == Op::Copy ? "clean page" : "(none)");
        EXPECT_EQ(tree.read("drive\\current\\cstrike\\motd.txt"), "the drive's current folder");
        EXPECT_EQ(tree.read("outside\\motd.txt"), "outside");
    }
}

// The system takes a path in the extended form literally, where a doubled separator is an empty
// name (Wine folds it all the same): the host folds it as the ordinary form's is folded.
TEST(Win32Reach, PathsAreGivenToTheSystemWithOneSeparatorBetweenNames) {
    const std::pair<const char*, const wchar_t*> cases[] = {
        {"\\\\?\\M:\\\\cstrike\\motd.txt", L"\\\\?\\M:\\cstrike\\motd.txt"},
        {"\\\\?\\M:\\", L"\\\\?\\M:\\"},
        {"\\\\?\\UNC\\server\\share\\\\cstrike", L"\\\\?\\UNC\\server\\share\\cstrike"},
        {"M:", L"M:\\"},
        {"M:\\\\cstrike\\motd.txt", L"M:\\\\cstrike\\motd.txt"},  // the system folds it itself
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(win32::systemPath(path), expected) << path;
    EXPECT_EQ(win32::extendedPath("M:"), L"\\\\?\\M:\\");
    EXPECT_EQ(win32::extendedPath("M:\\\\cstrike"), L"\\\\?\\M:\\cstrike");
}

// One lock and one total for the folder, whichever path names it.
TEST(Win32Reach, ADriveRootAndItsFolderShareTheirLockAndTotal) {
    WideTree tree;
    tree.write("drive\\hl.exe", "launcher");
    tree.write("drive\\cstrike\\motd.txt", "advert");
    const DriveLetter drive(tree.path("drive"));
    ASSERT_TRUE(drive.mapped());
    Win32FileHost first, second;
    EXPECT_EQ(first.folderSize(drive.root()), 8u + 6u);
    ASSERT_EQ(first.beginChanges(drive.root(), std::nullopt), RunStart::Begun);
    EXPECT_EQ(second.beginChanges(tree.path("drive"), std::chrono::milliseconds(0)),
              RunStart::Busy);
    first.endChanges();
    EXPECT_EQ(second.beginChanges(tree.path("drive"), std::chrono::milliseconds(0)),
              RunStart::Begun);
}

// Under Wine a Unix link at a target, or on the way to it, is an ordinary file or folder to the
// system: the change must find it elsewhere than its path says, by final path or, past MAX_PATH,
// by identity, and leave what it leads to alone.
TEST(Win32Reach, AUnixLinkIsNeverChangedThroughWhateverTheGameFoldersLength) {
    if (!wine::running())
        GTEST_SKIP() << "Unix links are Wine's";
    struct Case {
        bool longPath;
        const char* link;  // "cstrike\motd.txt" (at the target) or "cstrike" (on the way)
        Op op;
    };
    const Case cases[] = {
        {false, "cstrike\\motd.txt", Op::Delete},
        {false, "cstrike\\motd.txt", Op::Copy},
        {false, "cstrike\\motd.txt", Op::Normal},
        {false, "cstrike\\motd.txt", Op::ReadOnly},
        {true, "cstrike\\motd.txt", Op::Delete},
        {true, "cstrike\\motd.txt", Op::Copy},
        {true, "cstrike\\motd.txt", Op::ReadOnly},
        {true, "cstrike", Op::Delete},
        {true, "cstrike", Op::Copy},
    };
    for (const Case& c : cases) {
        WideTree tree;
        std::string game = "game";
        while (c.longPath && utf16Length(tree.path(game)) <= 280)
            game += "\\folder";
        tree.write(game + "\\hl.exe", "launcher");
        tree.write("outside\\motd.txt", "outside");
        tree.write("outside\\cstrike\\motd.txt", "outside too");
        tree.write("files\\motd.txt", "clean page");
        const bool atTarget = std::string(c.link).find('\\') != std::string::npos;
        if (atTarget)
            tree.makeDir(game + "\\cstrike");
        const wine::UnixLink link(tree.path(game + "\\" + c.link),
                                  tree.path(atTarget ? "outside\\motd.txt" : "outside\\cstrike"));
        ASSERT_TRUE(link.made());
        SCOPED_TRACE(std::string(c.link) + " " + std::to_string(static_cast<int>(c.op)) +
                     (c.longPath ? " long" : " short"));

        Win32FileHost host;
        ASSERT_EQ(host.beginChanges(tree.path(game), std::nullopt), RunStart::Begun);
        const ChangeResult result = apply(host, c.op, tree.path(game + "\\cstrike\\motd.txt"),
                                          tree.path("files\\motd.txt"));
        EXPECT_STREQ(ended(result), "failed");
        EXPECT_NE(result.reason.english().find("is not where its path leads"), std::string::npos)
            << result.reason.english();
        host.endChanges();
        EXPECT_EQ(tree.read("outside\\motd.txt"), "outside");
        EXPECT_EQ(tree.attributes("outside\\motd.txt") & FILE_ATTRIBUTE_READONLY, 0u);
        EXPECT_EQ(tree.read("outside\\cstrike\\motd.txt"), "outside too");
        EXPECT_EQ(tree.read(game + "\\cstrike\\motd.txt"), atTarget ? "outside" : "outside too")
            << "the link is still there";
    }
}

}  // namespace
}  // namespace morvane::test

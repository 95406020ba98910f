// What only the Windows host meets: hidden and system entries, the read-only attribute, links and
// junctions, files in use, Cyrillic names and paths beyond MAX_PATH, and the folder total over
// all of them.
#include <windows.h>

#include <winioctl.h>

#include <cstring>

#include "platform/host/TempNames.h"
#include "platform/host/win32/Win32FileHost.h"
#include "platform/host/win32/Win32TreeReader.h"
#include "tests/platform/host/HostContract.h"
#include "tests/support/WideTree.h"

namespace morvane::test {
namespace {

// A game folder with one file of each kind the search must tell apart.
void layOutGame(const WideTree& tree) {
    tree.write("Игры\\Counter-Strike\\hl.exe", "launcher");
    tree.write("Игры\\Counter-Strike\\cstrike\\motd.txt", "advert");
    tree.write("files\\motd.txt", "clean page");
    tree.write("outside\\motd.txt", "outside");
}

// A junction at `at` to the folder `target`, or false where the system makes none (Wine before 9).
bool makeJunction(const std::string& at, const std::string& target) {
    const std::wstring where = win32::extendedPath(at);
    const std::wstring substitute = L"\\??\\" + win32::wide(target);
    if (!CreateDirectoryW(where.c_str(), nullptr))
        return false;
    HANDLE folder = CreateFileW(where.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    // REPARSE_DATA_BUFFER for a mount point: the substitute name, then an empty print name.
    std::vector<char> data(8 + 8 + (substitute.size() + 2) * sizeof(wchar_t), '\0');
    const auto subLength = static_cast<WORD>(substitute.size() * sizeof(wchar_t));
    const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    const auto length = static_cast<WORD>(data.size() - 8);
    const WORD offsets[4] = {0, subLength, static_cast<WORD>(subLength + sizeof(wchar_t)), 0};
    std::memcpy(data.data(), &tag, 4);
    std::memcpy(data.data() + 4, &length, 2);
    std::memcpy(data.data() + 8, offsets, sizeof offsets);
    std::memcpy(data.data() + 16, substitute.data(), subLength);
    DWORD ignored = 0;
    const bool made =
        DeviceIoControl(folder, FSCTL_SET_REPARSE_POINT, data.data(),
                        static_cast<DWORD>(data.size()), nullptr, 0, &ignored, nullptr) != FALSE;
    CloseHandle(folder);
    if (!made)
        RemoveDirectoryW(where.c_str());
    return made;
}

// A symbolic link at `at` to the file `target`, or false where the system makes none (no right to,
// or Wine before 9, which only pretends).
bool makeFileLink(const std::string& at, const std::string& target) {
    constexpr DWORD kUnprivileged = 0x2;  // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
    const std::wstring where = win32::extendedPath(at);
    CreateSymbolicLinkW(where.c_str(), win32::extendedPath(target).c_str(), kUnprivileged);
    const DWORD attributes = GetFileAttributesW(where.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

TEST(Win32Host, LookupFindsOrdinaryFilesOnlyWhateverTheirNamesCaseOrLength) {
    WideTree tree;
    layOutGame(tree);
    const std::string game = "Игры\\Counter-Strike\\cstrike\\";
    tree.write(game + "config.cfg", "bind", FILE_ATTRIBUTE_READONLY);
    tree.write(game + "autobuy.txt", "buy", FILE_ATTRIBUTE_HIDDEN);
    tree.write(game + "userconfig.cfg", "bind", FILE_ATTRIBUTE_SYSTEM);
    tree.makeDir(game + "resource\\GameMenu.res");
    std::string deep = game;
    while (tree.path(deep).size() < 300)
        deep += std::string(30, 'd') + "\\";
    tree.write(deep + "motd.txt", "far");
    Win32FileHost host;
    const std::pair<std::string, Lookup> cases[] = {
        {game + "motd.txt", Lookup::Present},       // archived
        {game + "MOTD.TXT", Lookup::Present},       // names are matched without regard to case
        {game + "config.cfg", Lookup::Present},     // read-only
        {game + "autobuy.txt", Lookup::Absent},     // hidden
        {game + "userconfig.cfg", Lookup::Absent},  // system
        {game + "resource\\GameMenu.res", Lookup::Absent},  // a folder
        {game + "missing.txt", Lookup::Absent},
        {game + "resource\\UI\\ScoreBoard.res", Lookup::Absent},  // no folder for it
        {deep + "motd.txt", Lookup::Present},                     // beyond MAX_PATH
    };
    for (const auto& [relative, expected] : cases)
        EXPECT_EQ(host.lookupFile(tree.path(relative)), expected) << relative;
    EXPECT_EQ(host.lookupFile(""), Lookup::Absent);
}

// Exactly FILE_ATTRIBUTE_NORMAL or FILE_ATTRIBUTE_READONLY: hidden and system go. (The archive
// bit is left out of the comparison: Wine shows it on every file, whatever was set.)
TEST(Win32Host, AttributesAreSetExactlyToNormalOrReadOnly) {
    struct Case {
        DWORD before;
        Attributes value;
        DWORD after;
    };
    const Case cases[] = {
        {FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM,
         Attributes::Normal, 0},
        {FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN, Attributes::ReadOnly,
         FILE_ATTRIBUTE_READONLY},
        {FILE_ATTRIBUTE_SYSTEM, Attributes::ReadOnly, FILE_ATTRIBUTE_READONLY},
        {FILE_ATTRIBUTE_READONLY, Attributes::ReadOnly, FILE_ATTRIBUTE_READONLY},
    };
    for (const Case& c : cases) {
        WideTree tree;
        layOutGame(tree);
        const std::string motd = "Игры\\Counter-Strike\\cstrike\\motd.txt";
        SetFileAttributesW(win32::extendedPath(tree.path(motd)).c_str(), c.before);
        Win32FileHost host;
        ASSERT_EQ(host.beginChanges(tree.path("Игры\\Counter-Strike"), {}), RunStart::Begun);
        EXPECT_TRUE(host.setAttributes(tree.path(motd), c.value).succeeded) << c.before;
        constexpr DWORD kCompared =
            FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        EXPECT_EQ(tree.attributes(motd) & kCompared, c.after) << c.before;
    }
}

// A link or a junction met on the way is never followed; one at the target is changed itself.
TEST(Win32Host, LinksAndJunctionsLeaveWhatTheyNameUntouched) {
    struct Case {
        Op op;
        const char*
            link;  // "cstrike" (a junction on the way) or "cstrike\motd.txt" (at the target)
        Ended expected;
    };
    const Case cases[] = {
        {Op::Copy, "cstrike", Ended::Failed},
        {Op::Delete, "cstrike", Ended::Failed},
        {Op::ReadOnly, "cstrike", Ended::Failed},
        {Op::ReadOnly, "cstrike\\motd.txt", Ended::Failed},
        {Op::Normal, "cstrike\\motd.txt", Ended::Failed},
        {Op::Delete, "cstrike\\motd.txt", Ended::Done},  // the link goes
        {Op::Copy, "cstrike\\motd.txt", Ended::Done},    // the link is replaced
    };
    for (const Case& c : cases) {
        WideTree tree;
        layOutGame(tree);
        tree.write("outside\\motd.txt", "outside", FILE_ATTRIBUTE_READONLY);
        tree.write("outside\\cstrike-elsewhere\\motd.txt", "outside", FILE_ATTRIBUTE_READONLY);
        const std::string game = "Игры\\Counter-Strike\\";
        DeleteFileW(win32::extendedPath(tree.path(game + "cstrike\\motd.txt")).c_str());
        bool made = false;
        if (std::strchr(c.link, '\\') != nullptr) {
            made = makeFileLink(tree.path(game + c.link), tree.path("outside\\motd.txt"));
        } else {
            RemoveDirectoryW(win32::extendedPath(tree.path(game + c.link)).c_str());
            made = makeJunction(tree.path(game + c.link), tree.path("outside\\cstrike-elsewhere"));
        }
        if (!made)
            GTEST_SKIP() << "this system makes no links or junctions (Wine before 9 does not)";
        const std::string outside =
            tree.read("outside\\motd.txt") + tree.read("outside\\cstrike-elsewhere\\motd.txt");
        const DWORD outsideAttributes = tree.attributes("outside\\motd.txt");
        Win32FileHost host;
        ASSERT_EQ(host.beginChanges(tree.path(game), {}), RunStart::Begun);
        EXPECT_STREQ(ended(apply(host, c.op, tree.path(game + "cstrike\\motd.txt"),
                                 tree.path("files\\motd.txt"))),
                     name(c.expected))
            << c.link << " " << static_cast<int>(c.op);
        EXPECT_EQ(
            tree.read("outside\\motd.txt") + tree.read("outside\\cstrike-elsewhere\\motd.txt"),
            outside);
        EXPECT_EQ(tree.attributes("outside\\motd.txt"), outsideAttributes);
    }
}

// The copy is moved over the target only once written whole; a target in use stays as it was, and
// no temporary file is left behind either way.
TEST(Win32Host, ACopyThatCannotTakeItsPlaceLeavesTheTargetWholeAndNoTemporaryFile) {
    WideTree tree;
    layOutGame(tree);
    const std::string folder = "Игры\\Counter-Strike\\cstrike";
    // Left by a killed run: removed by the next copy to that file, while the run lock is held.
    tree.write(folder + "\\.motd.txt.x7k2m9q0" + kPartialSuffix, "half");
    tree.write(folder + "\\.motd.txt.mine" + kPartialSuffix, "not ours");
    Win32FileHost host;
    ASSERT_EQ(host.beginChanges(tree.path("Игры\\Counter-Strike"), {}), RunStart::Begun);
    {
        // The game holds the file open, sharing no deletion.
        HANDLE open =
            CreateFileW(win32::extendedPath(tree.path(folder + "\\motd.txt")).c_str(), GENERIC_READ,
                        FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(open, INVALID_HANDLE_VALUE);
        EXPECT_STREQ(
            ended(host.copyFile(tree.path("files\\motd.txt"), tree.path(folder + "\\motd.txt"))),
            "failed");
        EXPECT_STREQ(ended(host.deleteFile(tree.path(folder + "\\motd.txt"))), "failed");
        CloseHandle(open);
    }
    EXPECT_EQ(tree.read(folder + "\\motd.txt"), "advert");
    EXPECT_EQ(tree.list(folder), std::string(".motd.txt.mine") + kPartialSuffix + " motd.txt");
    EXPECT_TRUE(
        host.copyFile(tree.path("files\\motd.txt"), tree.path(folder + "\\motd.txt")).succeeded);
    EXPECT_EQ(tree.read(folder + "\\motd.txt"), "clean page");
    EXPECT_EQ(tree.list(folder), std::string(".motd.txt.mine") + kPartialSuffix + " motd.txt");
}

// A Cyrillic game folder beyond MAX_PATH, and a target further still: every change and reading
// works. (Lengths in UTF-16 units, as the system counts them; Wine cannot give the final path of
// such a folder, so the run there confines its changes by identity.)
TEST(Win32Host, EveryOperationReachesCyrillicPathsBeyondMaxPath) {
    WideTree tree;
    std::string game = "Игры";
    const std::string menu = "\\cstrike\\resource\\GameMenu.res";
    const auto units = [&](const std::string& relative) {
        return win32::wide(tree.path(relative)).size();
    };
    while (units(game) <= MAX_PATH || units(game + menu) <= 300)
        game += "\\Папка с игрой";
    tree.write(game + "\\hl.exe", "launcher");
    tree.write(game + menu, "advert");
    tree.write("files\\GameMenu.res", "clean menu");
    const std::string target = tree.path(game + menu);
    // The launcher as the folder window asks for it: through the reader, in any letter case.
    EXPECT_EQ(Win32TreeReader().kindOf(tree.path(game + "\\HL.EXE")), EntryKind::File);
    Win32FileHost host;
    ASSERT_EQ(host.beginChanges(tree.path(game), std::chrono::milliseconds(0)), RunStart::Begun);
    EXPECT_EQ(host.lookupFile(target), Lookup::Present);
    EXPECT_EQ(host.folderSize(tree.path(game)), 8u + 6u);
    EXPECT_TRUE(host.setAttributes(target, Attributes::ReadOnly).succeeded);
    EXPECT_TRUE(host.setAttributes(target, Attributes::Normal).succeeded);
    EXPECT_TRUE(host.deleteFile(target).succeeded);
    EXPECT_EQ(host.lookupFile(target), Lookup::Absent);
    EXPECT_TRUE(host.copyFile(tree.path("files\\GameMenu.res"), target).succeeded);
    EXPECT_EQ(tree.read(game + menu), "clean menu");
    EXPECT_EQ(host.folderSize(tree.path(game)), 8u + 10u);
}

TEST(Win32Host, TheFolderTotalCountsEveryFileHiddenOrNotAndNoLink) {
    WideTree tree;
    std::uint64_t expected = 0;
    auto put = [&](const std::string& relative, std::size_t size, DWORD attributes) {
        tree.write("game\\" + relative, std::string(size, 'x'), attributes);
        expected += size;
    };
    put("hl.exe", 1000, FILE_ATTRIBUTE_ARCHIVE);
    put("cstrike\\config.cfg", 17, FILE_ATTRIBUTE_READONLY);
    put("cstrike\\hidden.dat", 300, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    put("cstrike\\Карты\\de_dust2.bsp", 4096, FILE_ATTRIBUTE_ARCHIVE);
    put("cstrike_russian\\resource\\UI\\ScoreBoard.res", 1, FILE_ATTRIBUTE_ARCHIVE);
    tree.makeDir("game\\empty");
    tree.write("outside\\big.bin", std::string(50000, 'o'));
    // Not followed, not counted, where the system makes them.
    makeJunction(tree.path("game\\elsewhere"), tree.path("outside"));
    makeFileLink(tree.path("game\\cstrike\\big.bin"), tree.path("outside\\big.bin"));
    Win32FileHost host;
    EXPECT_EQ(host.folderSize(tree.path("game")), expected);
    EXPECT_EQ(host.folderSize(tree.path("game") + "\\"), expected);
    EXPECT_EQ(host.folderSize(tree.path("game\\empty")), 0u);
    EXPECT_EQ(host.folderSize(tree.path("game\\missing")), std::nullopt);
    EXPECT_EQ(host.folderSize(tree.path("game\\hl.exe")), std::nullopt);
    EXPECT_EQ(host.folderSize(""), std::nullopt);
}

TEST(Win32Host, TheProgramFolderHoldsTheRunningExecutableAndTheReplacementFiles) {
    Win32FileHost host;
    const auto folder = host.programFolder();
    ASSERT_TRUE(folder);
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::string expected = win32::narrow(std::wstring(self, length));
    EXPECT_EQ(*folder, expected.substr(0, expected.rfind('\\')));
    EXPECT_EQ(host.lookupFile(*folder + "\\files\\GameMenu.res"), Lookup::Present);
}

}  // namespace
}  // namespace morvane::test

// The driver's other seams on Windows: the reader of the game's and the user's files, and the store
// of the user's backups.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "platform/host/win32/Win32StateStore.h"
#include "platform/host/win32/Win32TreeReader.h"
#include "tests/support/WideTree.h"

namespace morvane::test {
namespace {

TEST(Win32Seams, TheReaderTellsKindsListsAndReadsWithinItsLimit) {
    WideTree tree;
    tree.write("game\\cstrike\\Config.cfg", "fps_max \"101\"\n");
    tree.write("game\\cstrike\\userconfig.cfg", "bind", FILE_ATTRIBUTE_READONLY);
    tree.write("game\\cstrike\\Карты\\de_dust2.cfg", "hidden", FILE_ATTRIBUTE_HIDDEN);
    Win32TreeReader reader;
    const std::pair<std::string, EntryKind> kinds[] = {
        {"game\\CSTRIKE\\config.cfg", EntryKind::File},  // names without regard to case
        {"game\\cstrike\\Карты\\de_dust2.cfg", EntryKind::File},
        {"game\\cstrike\\Карты", EntryKind::Folder},
        {"game\\cstrike\\missing.cfg", EntryKind::Missing},
        {"game\\missing\\config.cfg", EntryKind::Missing},
    };
    for (const auto& [relative, kind] : kinds) {
        EXPECT_EQ(reader.kindOf(tree.path(relative)), kind) << relative;
        EXPECT_EQ(reader.kindOfEntry(tree.path(relative)), kind) << relative;
    }
    EXPECT_EQ(reader.kindOf(""), EntryKind::Missing);

    const FileRead config = reader.readFile(tree.path("game\\cstrike\\config.cfg"), 100);
    EXPECT_EQ(config.bytes, "fps_max \"101\"\n");
    EXPECT_EQ(config.permissions.mode, 0644U);
    EXPECT_EQ(config.permissions.attributes, FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(reader.readFile(tree.path("game\\cstrike\\userconfig.cfg"), 100).permissions.mode,
              0444U);
    EXPECT_EQ(reader.readFile(tree.path("game\\cstrike\\Карты\\de_dust2.cfg"), 100)
                      .permissions.attributes.value_or(0) &
                  ~DWORD{FILE_ATTRIBUTE_ARCHIVE},  // which Wine sets on every file
              FILE_ATTRIBUTE_HIDDEN);
    for (const auto& [relative, limit] : {std::pair<std::string, std::size_t>{"game\\cstrike", 100},
                                          {"game\\cstrike\\config.cfg", 5},
                                          {"game\\cstrike\\none.cfg", 100}}) {
        const FileRead unread = reader.readFile(tree.path(relative), limit);
        EXPECT_FALSE(unread.bytes) << relative;
        EXPECT_FALSE(unread.error.empty()) << relative;
    }

    const auto listed = reader.listFolder(tree.path("game\\cstrike"));
    ASSERT_TRUE(listed);
    std::map<std::string, EntryKind> entries;
    for (const FolderEntry& entry : *listed)
        entries[entry.name] = entry.kind;
    EXPECT_EQ(entries, (std::map<std::string, EntryKind>{{"Config.cfg", EntryKind::File},
                                                         {"userconfig.cfg", EntryKind::File},
                                                         {"Карты", EntryKind::Folder}}));
    EXPECT_FALSE(reader.listFolder(tree.path("game\\missing")));

    // The ordinary form of the path as the file system has it: case, "." and doubled separators
    // resolved.
    const auto root = reader.canonicalPath(tree.path());
    ASSERT_TRUE(root);
    EXPECT_EQ(reader.canonicalPath(tree.path("game\\CSTRIKE\\.\\\\config.cfg")),
              *root + "\\game\\cstrike\\Config.cfg");
    EXPECT_FALSE(reader.canonicalPath(tree.path("game\\missing")));

    // Paths that name a place whatever the current folder and drive are.
    for (const auto& [path, absolute] : {std::pair<std::string, bool>{"C:\\Games", true},
                                         {"d:/Games", true},
                                         {"\\\\server\\share\\Games", true},
                                         {"\\\\?\\C:\\Games", true},
                                         {"C:Games", false},
                                         {"\\Games", false},
                                         {".", false},
                                         {"", false}}) {
        EXPECT_EQ(reader.isAbsolute(path), absolute) << path;
    }
}

TEST(Win32Seams, TheStoreMakesFoldersWritesWholeFilesAndRemovesTrees) {
    WideTree tree;
    Win32StateStore store;
    const std::string backups = tree.path("Morvane\\backups");
    EXPECT_TRUE(store.makeFolders(backups + "\\game").succeeded);
    EXPECT_TRUE(store.makeFolders(backups + "\\game").succeeded) << "there already";
    EXPECT_TRUE(store.makeNewFolder(backups + "\\game\\run1").succeeded);
    EXPECT_TRUE(store.makeNewFolder(backups + "\\game\\run1").absent) << "never shared";

    const std::string manifest = backups + "\\game\\run1\\manifest";
    EXPECT_TRUE(store.writeFile(manifest, "first").succeeded);
    EXPECT_TRUE(store.writeFile(manifest, "second, longer").succeeded);
    EXPECT_EQ(WideTree::readAbsolute(manifest), "second, longer");
    EXPECT_EQ(tree.list("Morvane\\backups\\game\\run1"), "manifest") << "no temporary file left";
    EXPECT_FALSE(store.makeFolders(manifest).succeeded) << "a file is in the way";

    tree.write("Morvane\\backups\\game\\run1\\copies\\config.cfg", "bind", FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(store.removeTree(backups + "\\game\\run1").succeeded);
    EXPECT_EQ(tree.list("Morvane\\backups\\game"), "");
    EXPECT_TRUE(store.removeTree(backups + "\\game\\run1").succeeded) << "nothing there";

    // Only an empty folder is removed.
    EXPECT_FALSE(store.removeEmptyFolder(backups).succeeded) << "it holds game";
    EXPECT_EQ(tree.list("Morvane\\backups"), "game");
    EXPECT_TRUE(store.removeEmptyFolder(backups + "\\game").succeeded);
    EXPECT_EQ(tree.list("Morvane\\backups"), "");
    EXPECT_TRUE(store.removeEmptyFolder(backups + "\\game").succeeded) << "nothing there";
}

}  // namespace
}  // namespace morvane::test

// On Windows a file's whole attribute set goes into the backup and comes back with undo: the
// removal run makes every target of a chosen group normal, found or not, and gives a file it then
// did not change its set back; a rewrite keeps it, a hidden, system, read-only master list among
// them. Names keep their letter case through all of it, a file deleted and put back too.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "core/clean/Clean.h"
#include "core/undo/Undo.h"
#include "platform/host/SystemHost.h"
#include "tests/support/WideTree.h"

namespace morvane {
namespace {

// Wine marks every file for archiving whatever it is told, so the archive bit is not compared.
constexpr DWORD kKept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

TEST(WindowsAttributes, UndoGivesHiddenSystemAndReadOnlyBackAndARewriteKeepsThem) {
    const test::WideTree tree;
    const std::pair<std::string, DWORD> files[] = {
        {"game\\cstrike\\resource\\gamemenu.RES", kKept},
        {"game\\cstrike\\motd_temp.html", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN},
        {"game\\cstrike\\Config.CFG", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
        // Found by the search, which passes hidden files over, so that the menu is treated.
        {"game\\cstrike_russian\\resource\\GameMenu.res", 0},
    };
    const auto names = [&] {
        return tree.list("game\\cstrike\\resource") + " / " + tree.list("game\\cstrike");
    };
    // A hijacked master list that a booster hid and locked: rewritten through all three marks.
    const std::string list = "game\\config\\rev_MasterServers.vdf";
    const std::string hijacked =
        "\"MasterServers\" { \"hl1\" { \"0\" { \"addr\" \"203.0.113.9:27010\" } } }";
    tree.write(list, hijacked, kKept);
    tree.write("game\\hl.exe", "launcher");
    tree.makeDir("game\\cstrike_russian\\resource");
    for (const auto& [file, attributes] : files)
        tree.write(file, "connect 192.0.2.44:27015\n", attributes);
    tree.write("files\\GameMenu.res", "a clean menu");
    const std::string spelled = names();
    const auto host = makeFileHost();
    const auto reader = makeTreeReader();
    const auto store = makeStateStore();
    Seams seams{*host, *reader, *store, {{}, tree.path("backups")}};

    clean::Request clean;
    clean.game = tree.path("game");
    clean.groups[static_cast<std::size_t>(Group::Menu)] = true;
    clean.groups[static_cast<std::size_t>(Group::Config)] = true;
    clean.keepSettings = true;
    clean.filesFolder = tree.path("files");
    const clean::Result cleaned = clean::run(seams, clean);
    ASSERT_NE(cleaned.backupId, "");
    EXPECT_EQ(tree.read(files[2].first), "");
    EXPECT_EQ(tree.attributes(files[2].first) & kKept, files[2].second) << "the rewrite keeps them";
    EXPECT_EQ(tree.attributes(files[0].first) & kKept, 0u) << "the run replaced it";
    EXPECT_EQ(tree.attributes(files[1].first) & kKept, files[1].second)
        << "and left this as it was";
    EXPECT_EQ(tree.read(list),
              "\"MasterServers\" { \"hl1\" { \"0\" { \"addr\" \"hl1master.steampowered.com:27010\" "
              "} } }");
    EXPECT_EQ(tree.attributes(list) & kKept, kKept);
    const auto outcome =
        std::find_if(cleaned.files.begin(), cleaned.files.end(),
                     [&](const Outcome& file) { return file.path == tree.path(list); });
    ASSERT_NE(outcome, cleaned.files.end());
    EXPECT_TRUE(outcome->guards.readOnly && outcome->guards.hidden && outcome->guards.system);

    undo::Request undo;
    undo.game = clean.game;
    const undo::Result undone = undo::run(seams, undo);
    EXPECT_EQ(undone.stop, Stop::None) << undone.stop.detail.english();
    EXPECT_FALSE(undone.anyFailed());
    for (const auto& [file, attributes] : files) {
        EXPECT_EQ(tree.attributes(file) & kKept, attributes) << file;
        EXPECT_EQ(tree.read(file), "connect 192.0.2.44:27015\n") << file;
    }
    EXPECT_EQ(tree.read(list), hijacked);
    EXPECT_EQ(tree.attributes(list) & kKept, kKept);
    EXPECT_EQ(names(), spelled);

    // Config.CFG, found now that it is neither hidden nor system, is deleted and put back.
    tree.write(files[2].first, "connect 192.0.2.44:27015\n", FILE_ATTRIBUTE_NORMAL);
    clean.keepSettings = false;
    ASSERT_NE(clean::run(seams, clean).backupId, "");
    EXPECT_EQ(tree.read(files[2].first), "(none)");
    EXPECT_EQ(undo::run(seams, undo).stop, Stop::None);
    EXPECT_EQ(names(), spelled);
}

}  // namespace
}  // namespace morvane

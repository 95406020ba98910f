// The contract of FileHost, as every host must keep it: where a change may reach, how it ends,
// hard links, and one run at a time per game folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/platform/host/HostContract.h"

namespace morvane::test {
namespace {

// A game folder with a writable and a read-only file and a folder at a file's name, a sibling
// whose name starts like it, a folder outside, and the replacement.
void layOut(const ContractTree& tree) {
    tree.write("game/hl.exe", "launcher");
    tree.write("game/cstrike/motd.txt", "advert");
    tree.write("game/cstrike/config.cfg", "bind spam");
    tree.setReadOnly("game/cstrike/config.cfg", true);
    tree.makeDir("game/cstrike/resource/GameMenu.res");
    tree.write("game2/cstrike/motd.txt", "sibling");
    tree.write("outside/motd.txt", "outside");
    tree.write("files/motd.txt", "clean page");
}

TEST(HostContract, EveryChangeEndsDoneAbsentOrFailedByWhereItsTargetIs) {
    struct Case {
        Op op;
        const char* target;  // below the tree; "" for an empty path
        Ended expected;
        const char* source = "files/motd.txt";
        bool inRun = true;
    };
    const Case cases[] = {
        {Op::Copy, "game/cstrike/motd.txt", Ended::Done},
        {Op::Copy, "game/cstrike/motd_temp.html", Ended::Done},
        {Op::Copy, "game//cstrike/./motd.txt", Ended::Done},
        {Op::Delete, "game/cstrike/motd.txt", Ended::Done},
        {Op::ReadOnly, "game/cstrike/motd.txt", Ended::Done},
        {Op::Normal, "game/cstrike/config.cfg", Ended::Done},
        {Op::ReadOnly, "game/cstrike/config.cfg", Ended::Done},  // already read-only
        {Op::Permissions, "game/cstrike/config.cfg", Ended::Done},
        // Read-only files and folders are not treated.
        {Op::Delete, "game/cstrike/config.cfg", Ended::Failed},
        {Op::Copy, "game/cstrike/config.cfg", Ended::Failed},
        {Op::Normal, "game/cstrike/resource/GameMenu.res", Ended::Failed},
        {Op::Permissions, "game/cstrike/resource/GameMenu.res", Ended::Failed},
        {Op::Delete, "game/cstrike/resource/GameMenu.res", Ended::Failed},
        {Op::Copy, "game/cstrike/resource/GameMenu.res", Ended::Failed},
        // Nothing there, or no folder for it: nothing to treat.
        {Op::Normal, "game/cstrike/userconfig.cfg", Ended::Absent},
        {Op::Delete, "game/cstrike/userconfig.cfg", Ended::Absent},
        {Op::Normal, "", Ended::Absent},
        {Op::Permissions, "game/cstrike/userconfig.cfg", Ended::Absent},
        {Op::Delete, "game/cstrike_russian/motd.txt", Ended::Absent},
        {Op::Copy, "game/cstrike_russian/motd.txt", Ended::Absent},
        // A source that is not a readable file stops the copy before the target is touched.
        {Op::Copy, "game/cstrike/motd.txt", Ended::Failed, "files/none.txt"},
        {Op::Copy, "game/cstrike/motd.txt", Ended::Failed, "files"},
        {Op::Copy, "game/cstrike/motd.txt", Ended::Failed, ""},
        // Outside the game folder, or outside a run.
        {Op::Copy, "game2/cstrike/motd.txt", Ended::Failed},
        {Op::Delete, "game/../outside/motd.txt", Ended::Failed},
        {Op::Copy, "game/cstrike/../../outside/motd.txt", Ended::Failed},
        {Op::Normal, "outside/motd.txt", Ended::Failed},
        {Op::Permissions, "game/../outside/motd.txt", Ended::Failed},
        {Op::Copy, "game", Ended::Failed},
        {Op::Copy, "game/cstrike/motd.txt", Ended::Failed, "files/motd.txt", false},
        {Op::Delete, "game/cstrike/motd.txt", Ended::Failed, "files/motd.txt", false},
    };
    for (const Case& c : cases) {
        const ContractTree tree;
        layOut(tree);
        const auto host = makeFileHost();
        const std::string target = *c.target ? tree.path(*host, c.target) : "";
        const std::string source = *c.source ? tree.path(*host, c.source) : "";
        SCOPED_TRACE(std::to_string(static_cast<int>(c.op)) + " " + target + " <- " + source);
        auto before = tree.snapshot();
        if (c.inRun) {
            ASSERT_EQ(host->beginChanges(tree.path(*host, "game"), {}), RunStart::Begun);
        }
        const ChangeResult result = apply(*host, c.op, target, source);
        EXPECT_STREQ(ended(result), name(c.expected));
        // A change of attributes that changed them says what they were: given back, the file is
        // as it was.
        if (c.op != Op::Copy && c.op != Op::Delete) {
            EXPECT_TRUE(result.previous || tree.snapshot() == before);
            if (result.previous) {
                EXPECT_TRUE(host->setPermissions(target, *result.previous).succeeded);
                EXPECT_EQ(tree.snapshot(), before);
            }
        }
        host->endChanges();

        // Nothing changes but the target, and that only when the change was done.
        auto after = tree.snapshot();
        if (c.expected == Ended::Done) {
            const std::string changed =
                std::filesystem::path(c.target).lexically_normal().generic_string();
            EXPECT_TRUE(before.erase(changed) + after.erase(changed) > 0);
        }
        EXPECT_EQ(after, before);
    }
}

TEST(HostContract, HardLinkedTargetsLeaveTheirOtherNamesAlone) {
    struct Case {
        Op op;
        bool readOnly;  // the file's state before the change
        Ended expected;
    };
    const Case cases[] = {
        {Op::Normal, true, Ended::Failed},  // the mode is the other name's too
        {Op::ReadOnly, false, Ended::Failed}, {Op::Permissions, true, Ended::Failed},
        {Op::Normal, false, Ended::Done},  // nothing to change
        {Op::Delete, false, Ended::Done},  // this name only
        {Op::Copy, false, Ended::Done},    // this name only
    };
    for (const Case& c : cases) {
        const ContractTree tree;
        layOut(tree);
        tree.write("outside/GameMenu.res", "kept whole");
        tree.setReadOnly("outside/GameMenu.res", c.readOnly);
        std::filesystem::create_hard_link(tree.path("outside/GameMenu.res"),
                                          tree.path("game/cstrike/GameMenu.res"));
        const auto outside = tree.snapshot("outside");
        const auto host = makeFileHost();
        ASSERT_EQ(host->beginChanges(tree.path(*host, "game"), {}), RunStart::Begun);
        const ChangeResult result =
            apply(*host, c.op, tree.path(*host, "game/cstrike/GameMenu.res"),
                  tree.path(*host, "files/motd.txt"));
        EXPECT_STREQ(ended(result), name(c.expected)) << static_cast<int>(c.op);
        EXPECT_EQ(tree.snapshot("outside"), outside) << static_cast<int>(c.op);
    }
}

TEST(HostContract, OneRunAtATimePerGameFolderAndTheLockAddsNothingToItsTotal) {
    const ContractTree tree;
    layOut(tree);
    const auto first = makeFileHost();
    const auto second = makeFileHost();
    const std::string game = tree.path(*first, "game");
    const auto total = first->folderSize(game);
    const std::chrono::milliseconds noWait(0);

    ASSERT_EQ(first->beginChanges(game, std::nullopt), RunStart::Begun);
    EXPECT_EQ(first->folderSize(game), total);
    EXPECT_EQ(second->beginChanges(game, noWait), RunStart::Busy);
    EXPECT_FALSE(second
                     ->copyFile(tree.path(*first, "files/motd.txt"),
                                tree.path(*first, "game/cstrike/motd.txt"))
                     .succeeded)
        << "a busy run may change nothing";
    EXPECT_EQ(second->beginChanges(tree.path(*first, "game2"), noWait), RunStart::Begun)
        << "another folder is free";
    EXPECT_TRUE(first
                    ->copyFile(tree.path(*first, "files/motd.txt"),
                               tree.path(*first, "game/cstrike/motd.txt"))
                    .succeeded)
        << "the first run goes on";
    first->endChanges();
    EXPECT_EQ(second->beginChanges(game, noWait), RunStart::Begun);
    second->endChanges();
}

}  // namespace
}  // namespace morvane::test

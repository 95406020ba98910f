// The contract of FileHost, as every host must keep it: where a change may reach, how it ends,
// hard links, links made and read back, what a killed run left, and one run at a time per game
// folder.
#include <gtest/gtest.h>

#include <algorithm>
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

TEST(HostContract, SameContentOnlyForTwoReadableFilesOfTheSameBytesWithinTheLimit) {
    struct Case {
        const char* path;  // below the tree; "" for an empty path
        const char* reference;
        std::uint64_t limit;
        bool same;
    };
    const Case cases[] = {
        {"game/cstrike/motd_temp.html", "files/motd.txt", 10, true},  // "clean page"
        {"files/motd.txt", "files/motd.txt", 1 << 20, true},
        {"game/cstrike/empty.txt", "files/empty.txt", 0, true},
        {"GAME/CSTRIKE/MOTD_TEMP.HTML", "files/motd.txt", 10, true},   // matched as lookups are
        {"game/cstrike/motd_temp.html", "files/motd.txt", 9, false},   // past the limit
        {"game/cstrike/motd.txt", "files/other.txt", 1 << 20, false},  // as long, other bytes
        {"game/cstrike/motd.txt", "files/motd.txt", 1 << 20, false},
        {"game/cstrike/longer.txt", "files/motd.txt", 1 << 20, false},
        {"game/cstrike/userconfig.cfg", "files/motd.txt", 1 << 20, false},
        {"game/cstrike/motd.txt", "files/none.txt", 1 << 20, false},
        {"game/cstrike/resource/GameMenu.res", "files/motd.txt", 1 << 20, false},  // a folder
        {"", "files/motd.txt", 1 << 20, false},
    };
    const ContractTree tree;
    layOut(tree);
    tree.write("game/cstrike/motd_temp.html", "clean page");
    tree.write("game/cstrike/longer.txt", "clean page, and more");
    tree.write("files/other.txt", "clean pagE");
    tree.write("game/cstrike/empty.txt", "");
    tree.write("files/empty.txt", "");
    const auto before = tree.snapshot();
    const auto host = makeFileHost();
    for (bool inRun : {false, true}) {
        if (inRun) {
            ASSERT_EQ(host->beginChanges(tree.path(*host, "game"), {}), RunStart::Begun);
        }
        for (const Case& c : cases) {
            const std::string path = *c.path ? tree.path(*host, c.path) : "";
            EXPECT_EQ(host->sameContent(path, tree.path(*host, c.reference), c.limit), c.same)
                << path << " " << c.reference << " " << c.limit << (inRun ? " in a run" : "");
        }
        host->endChanges();
    }
    EXPECT_EQ(tree.snapshot(), before);
}

// A link is made whole in place of a file, or not at all, and reads back as written; where the
// system makes none it fails saying why, and nothing changes.
TEST(HostContract, ALinkIsMadeInPlaceOfAFileAndReadsBackAsWritten) {
    const char* kText = "../../outside/motd.txt";
    const std::pair<const char*, Ended> cases[] = {
        {"game/cstrike/motd.txt", Ended::Done},  // replaces the file, not what it holds
        {"game/cstrike/userconfig.cfg", Ended::Done},
        {"game/cstrike/config.cfg", Ended::Failed},             // read-only
        {"game/cstrike/resource/GameMenu.res", Ended::Failed},  // a folder
        {"game/cstrike_russian/config.cfg", Ended::Absent},
        {"game2/cstrike/motd.txt", Ended::Failed},  // outside the game folder
    };
    for (const auto& [at, expected] : cases) {
        SCOPED_TRACE(at);
        const ContractTree tree;
        layOut(tree);
        const auto host = makeFileHost();
        const auto reader = makeTreeReader();
        auto before = tree.snapshot();
        ASSERT_EQ(host->beginChanges(tree.path(*host, "game"), {}), RunStart::Begun);
        const ChangeResult made = host->createLink(tree.path(*host, at), kText);
        host->endChanges();
        auto after = tree.snapshot();
        if (made.succeeded) {
            EXPECT_EQ(reader->kindOfEntry(tree.path(*host, at)), EntryKind::Link);
            EXPECT_EQ(reader->linkTarget(tree.path(*host, at)), kText);
            before.erase(at);
            after.erase(at);
        } else if (expected == Ended::Done) {
            EXPECT_FALSE(made.reason.empty()) << "a system that makes no link says why";
        } else {
            EXPECT_STREQ(ended(made), name(expected));
        }
        EXPECT_EQ(after, before) << "nothing but the link's own entry changes";
        EXPECT_EQ(reader->linkTarget(tree.path(*host, "game/hl.exe")), std::nullopt);
    }
}

// Within a run that holds the folder's lock, the temporary files of copies that a killed run left
// in a folder are removed and named, of this version and of the older one; nothing else there.
TEST(HostContract, WhatAKilledRunLeftIsRemovedOnlyByARunHoldingTheLock) {
    const ContractTree tree;
    layOut(tree);
    const char* left[] = {"cstrike/.motd.txt.k7q2x9m4.morvane-partial",
                          "cstrike/.config.cfg.morvane-partial"};  // an older version's name
    for (const char* file : left)
        tree.write(std::string("game/") + file, "the start of a copy");
    tree.makeDir("game/cstrike/.resource.k7q2x9m4.morvane-partial");
    tree.write("game/cstrike/motd.txt.morvane-partial", "not a temporary file's name");
    const auto host = makeFileHost();
    const std::string folder = tree.path(*host, "game/cstrike");
    auto expected = tree.snapshot("game");
    EXPECT_TRUE(host->removeLeftovers(folder).empty()) << "outside a run";
    ASSERT_EQ(host->beginChanges(tree.path(*host, "game"), {}), RunStart::Begun);
    EXPECT_TRUE(host->removeLeftovers(tree.path(*host, "game/cstrike_russian")).empty());
    std::vector<Leftover> removed = host->removeLeftovers(folder);
    host->endChanges();
    std::sort(removed.begin(), removed.end(),
              [](const Leftover& a, const Leftover& b) { return a.path > b.path; });
    ASSERT_EQ(removed.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(removed[i].path, tree.path(*host, std::string("game/") + left[i]));
        EXPECT_TRUE(removed[i].removed.succeeded) << removed[i].removed.reason.english();
        expected.erase(left[i]);
    }
    EXPECT_EQ(tree.snapshot("game"), expected);
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

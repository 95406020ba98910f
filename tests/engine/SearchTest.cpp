// The ad search over a real game folder, watched through a recording host.
#include "Search.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineRecord.h"
#include "FaultyHost.h"
#include "GameFolder.h"
#include "PosixFileHost.h"

namespace morvane {
namespace {

using test::FaultyHost;
using test::GameFolder;
using ::testing::ElementsAreArray;

using enum Slot;

// The lookups of a search with every group chosen, in the order they must be made.
const std::vector<std::string> kSearchOrder = {
    "cstrike_russian/resource/GameMenu.res",
    "cstrike/resource/GameMenu.res",
    "cstrike_russian/resource/LoadingDialog.res",
    "cstrike_russian/resource/LoadingDialogNoBanner.res",
    "cstrike_russian/resource/LoadingDialogVAC.res",
    "cstrike/resource/LoadingDialog.res",
    "cstrike/resource/LoadingDialogNoBanner.res",
    "cstrike/resource/LoadingDialogVAC.res",
    "cstrike_russian/resource/UI/ScoreBoard.res",
    "cstrike/resource/UI/ScoreBoard.res",
    "cstrike_russian/config.cfg",
    "cstrike/config.cfg",
    "cstrike_russian/userconfig.cfg",
    "cstrike/userconfig.cfg",
    "cstrike_russian/motd.txt",
    "cstrike/motd.txt",
    "cstrike_russian/autobuy.txt",
    "cstrike/autobuy.txt",
};

// Where each group's lookups start in kSearchOrder.
constexpr std::size_t kFirstLookup[] = {0, 2, 8, 10, 14, 16};

constexpr std::array<bool, kGroupCount> kAll{true, true, true, true, true, true};
constexpr std::array<bool, kGroupCount> kNone{};

std::array<bool, kGroupCount> only(Group group) {
    std::array<bool, kGroupCount> flags{};
    flags[static_cast<std::size_t>(group)] = true;
    return flags;
}

std::vector<std::string> lookedUp(const FaultyHost& host) {
    std::vector<std::string> paths;
    for (const FaultyHost::Call& call : host.calls()) {
        EXPECT_EQ(call.op, FaultyHost::Op::Lookup) << "the search changes nothing: " << call.path;
        paths.push_back(call.path);
    }
    return paths;
}

std::vector<std::string> under(const std::string& folder,
                               const std::vector<std::string>& relative) {
    std::vector<std::string> paths;
    for (const std::string& path : relative)
        paths.push_back(folder + "/" + path);
    return paths;
}

// Keeps a copy of the record's slots as they stand at every lookup.
class SlotWatcher : public FaultyHost {
  public:
    SlotWatcher(FileHost& real, const EngineRecord& record) : FaultyHost(real), record_(record) {}
    Lookup lookupFile(const std::string& path) override {
        atLookup.push_back(record_.slots);
        return FaultyHost::lookupFile(path);
    }
    std::vector<std::array<std::string, kSlotCount>> atLookup;

  private:
    const EngineRecord& record_;
};

class SearchTest : public ::testing::Test {
  protected:
    std::array<bool, kGroupCount> searchWith(std::array<bool, kGroupCount> options) {
        record.gameFolder = game.path();
        record.options = options;
        return search(record, host);
    }

    GameFolder game;
    PosixFileHost real;
    FaultyHost host{real};
    EngineRecord record;
};

// --- Order and slots
// ------------------------------------------------------------------------------

TEST_F(SearchTest, VisitsEveryChosenSlotInOrderAndMakesEveryLookupEvenAfterAHit) {
    for (std::size_t i = 0; i < kSlotCount; ++i)
        game.putAd(static_cast<Slot>(i));
    EXPECT_EQ(searchWith(kAll), kAll);
    EXPECT_THAT(lookedUp(host), ElementsAreArray(under(game.path(), kSearchOrder)));
}

TEST_F(SearchTest, FillsTheChosenGroupsSlotsFromTheGameFolderAndNeverTheTempSlots) {
    record.slot(motdTempPath) = "earlier temp";
    record.slot(motdTempRuPath) = "earlier temp ru";
    searchWith(kAll);
    for (std::size_t i = 0; i < kSlotCount; ++i) {
        const auto slot = static_cast<Slot>(i);
        if (slot == motdTempPath || slot == motdTempRuPath)
            continue;
        EXPECT_EQ(record.slot(slot), game.path(slot)) << slotInfo(slot).name;
    }
    EXPECT_EQ(record.slot(motdTempPath), "earlier temp");
    EXPECT_EQ(record.slot(motdTempRuPath), "earlier temp ru");
}

TEST_F(SearchTest, FillsAllOfAGroupsSlotsBeforeItsFirstLookupAndNoLaterGroupsSlots) {
    record.slots.fill("stale");
    SlotWatcher watcher(real, record);
    record.gameFolder = game.path();
    record.options = kAll;
    search(record, watcher);
    ASSERT_EQ(watcher.atLookup.size(), kSearchOrder.size());

    // At the first lookup of each group, every slot of that group and of the groups before it
    // already holds its path, and no slot of a later group does.
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        const auto& slots = watcher.atLookup[kFirstLookup[g]];
        for (std::size_t h = 0; h < kGroupCount; ++h) {
            for (Slot slot : searchSlots(static_cast<Group>(h))) {
                const std::string& held = slots[static_cast<std::size_t>(slot)];
                if (h <= g) {
                    EXPECT_EQ(held, game.path(slot))
                        << "group " << g << ", " << slotInfo(slot).name;
                } else {
                    EXPECT_EQ(held, "stale") << "group " << g << ", " << slotInfo(slot).name;
                }
            }
        }
    }
}

TEST_F(SearchTest, UsesTheGameFolderAsGivenDoubledSeparatorAndEmptyFolderIncluded) {
    game.putAd(gameMenuPath);
    record.gameFolder = game.path() + "/";
    record.options = only(Group::Menu);
    EXPECT_TRUE(search(record, host)[0]);
    EXPECT_EQ(record.slot(gameMenuRuPath), game.path() + "//cstrike_russian/resource/GameMenu.res");
    EXPECT_EQ(record.slot(gameMenuPath), game.path() + "//cstrike/resource/GameMenu.res");

    record.gameFolder.clear();
    record.options = only(Group::Config);
    search(record, host);
    EXPECT_EQ(record.slot(configRuPath), "/cstrike_russian/config.cfg");
    EXPECT_EQ(record.slot(userConfigPath), "/cstrike/userconfig.cfg");
}

// --- Status flags
// ---------------------------------------------------------------------------------

TEST_F(SearchTest, WithNothingChosenClearsEveryStatusMakesNoLookupAndKeepsTheSlots) {
    record.status = kAll;
    record.slots.fill("earlier");
    EXPECT_EQ(searchWith(kNone), kNone);
    EXPECT_EQ(record.status, kNone);
    EXPECT_TRUE(host.calls().empty());
    for (const std::string& slot : record.slots)
        EXPECT_EQ(slot, "earlier");
}

TEST_F(SearchTest, RecomputesAllSixStatusFlagsOnEverySearch) {
    game.putAd(gameMenuRuPath);
    game.putAd(autobuyPath);
    record.status = kAll;
    EXPECT_EQ(searchWith(only(Group::Menu)), only(Group::Menu));
    EXPECT_EQ(record.status, only(Group::Menu));

    // A chosen group with no file in either edition gets a cleared flag too.
    EXPECT_EQ(searchWith(only(Group::Scoreboard)), kNone);
}

TEST_F(SearchTest, AnUnchosenGroupKeepsTheSlotsOfAnEarlierSearch) {
    game.putAd(gameMenuPath);
    searchWith(only(Group::Menu));
    const std::string firstFolder = record.gameFolder;

    record.gameFolder = "/elsewhere";
    record.options = only(Group::Loading);
    EXPECT_EQ(search(record, host), kNone);
    EXPECT_EQ(record.slot(gameMenuRuPath), firstFolder + "/cstrike_russian/resource/GameMenu.res");
    EXPECT_EQ(record.slot(gameMenuPath), firstFolder + "/cstrike/resource/GameMenu.res");
    EXPECT_EQ(record.slot(loadingVacPath), "/elsewhere/cstrike/resource/LoadingDialogVAC.res");
}

TEST_F(SearchTest, OneFileOfAGroupInEitherEditionIsEnough) {
    game.putAd(loadingVacPath);
    game.putAd(scoreBoardRuPath);
    game.putAd(userConfigPath);
    game.putAd(motdRuPath);
    game.putAd(autobuyPath);
    const std::array<bool, kGroupCount> expected{false, true, true, true, true, true};
    EXPECT_EQ(searchWith(kAll), expected);
}

TEST_F(SearchTest, AGameFolderWithOneEditionIsServedAndTheOtherEditionsSlotsStillFilled) {
    GameFolder russianOnly(GameFolder::Editions::RussianOnly);
    russianOnly.putAd(gameMenuRuPath);
    russianOnly.putAd(configRuPath);
    record.gameFolder = russianOnly.path();
    record.options = kAll;
    const std::array<bool, kGroupCount> expected{true, false, false, true, false, false};
    EXPECT_EQ(search(record, host), expected);
    EXPECT_EQ(record.slot(gameMenuPath), russianOnly.path(gameMenuPath));
    EXPECT_EQ(record.slot(autobuyPath), russianOnly.path(autobuyPath));
    EXPECT_EQ(host.count(FaultyHost::Op::Lookup), kSearchOrder.size());
}

TEST_F(SearchTest, WhatCountsAsPresent) {
    // A read-only file counts.
    game.putAd(gameMenuPath);
    game.chmod(gameMenuPath, 0444);
    // A folder bearing a target's name does not.
    game.tree().makeDir("game/cstrike/resource/UI/ScoreBoard.res");
    // A name that differs only in case does.
    game.put("cstrike/MOTD.TXT", "advert");
    // Paths through a file, or through a missing folder, name nothing.
    std::filesystem::remove_all(game.path("cstrike_russian/resource"));
    game.put("cstrike_russian/resource", "not a folder");

    const std::array<bool, kGroupCount> expected{true, false, false, false, true, false};
    EXPECT_EQ(searchWith(kAll), expected);
}

TEST_F(SearchTest, ChangesNoFile) {
    for (std::size_t i = 0; i < kSlotCount; ++i)
        game.putAd(static_cast<Slot>(i));
    game.chmod(configPath, 0400);
    const auto before = game.snapshot();
    const auto first = searchWith(kAll);
    EXPECT_EQ(searchWith(kAll), first);
    EXPECT_EQ(game.snapshot(), before);
}

// --- Failed lookups
// -------------------------------------------------------------------------------

TEST_F(SearchTest, AFailedLookupCountsAsFoundAndEndsOnlyThatGroupsLookups) {
    // Nothing exists at all: only the failure makes the loading group found.
    host.failCall(kFirstLookup[1] + 1);
    const std::array<bool, kGroupCount> expected{false, true, false, false, false, false};
    EXPECT_EQ(searchWith(kAll), expected);

    std::vector<std::string> expectedLookups(kSearchOrder.begin(), kSearchOrder.begin() + 4);
    expectedLookups.insert(expectedLookups.end(), kSearchOrder.begin() + 8, kSearchOrder.end());
    EXPECT_THAT(lookedUp(host), ElementsAreArray(under(game.path(), expectedLookups)));
}

TEST_F(SearchTest, AFailedFirstLookupOfTheLastGroupStillReportsIt) {
    host.failCall(kFirstLookup[5]);
    const std::array<bool, kGroupCount> expected{false, false, false, false, false, true};
    EXPECT_EQ(searchWith(kAll), expected);
    EXPECT_EQ(host.count(FaultyHost::Op::Lookup), kSearchOrder.size() - 1);
}

}  // namespace
}  // namespace morvane

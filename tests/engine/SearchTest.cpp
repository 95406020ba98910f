// The ad search over a real game folder, watched through a recording host.
#include "engine/Search.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/EngineRecord.h"
#include "platform/host/SystemHost.h"
#include "tests/support/FaultyHost.h"
#include "tests/support/GameFolder.h"

namespace morvane {
namespace {

using test::FaultyHost;
using test::GameFolder;
using test::kTargets;
using ::testing::ElementsAreArray;
using enum Slot;
using test::Flags;
using test::kAll;
using test::only;

class SearchTest : public ::testing::Test {
  protected:
    Flags searchWith(Flags options) {
        record.gameFolder = game.path();
        record.options = options;
        return search(record, host);
    }

    // The paths looked up, failing the test for any call that is not a lookup.
    std::vector<std::string> lookedUp() const {
        std::vector<std::string> paths;
        for (const FaultyHost::Call& call : host.calls()) {
            EXPECT_EQ(call.op, FaultyHost::Op::Lookup) << "the search changes nothing";
            paths.push_back(call.path);
        }
        return paths;
    }

    // The game folder paths of the targets with these indices, in that order.
    std::vector<std::string> paths(std::initializer_list<std::size_t> first,
                                   std::initializer_list<std::size_t> then = {}) const {
        std::vector<std::string> out;
        for (auto list : {first, then}) {
            for (std::size_t i : list)
                out.push_back(game.path(kTargets[i]));
        }
        return out;
    }

    GameFolder game;
    std::unique_ptr<FileHost> real = makeFileHost();
    FaultyHost host{*real};
    EngineRecord record;
};

TEST_F(SearchTest, LooksUpEveryChosenSlotInOrderEvenAfterAHitAndFillsAllButTheTempSlots) {
    game.putAllAds();
    record.slot(motdTempPath) = "earlier temp";
    EXPECT_EQ(searchWith(kAll), kAll);
    EXPECT_THAT(
        lookedUp(),
        ElementsAreArray(paths({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 18, 19})));
    for (std::size_t i = 0; i < kSlotCount; ++i) {
        if (i != 16 && i != 17) {
            EXPECT_EQ(record.slots[i], game.path(kTargets[i])) << i;
        }
    }
    EXPECT_EQ(record.slot(motdTempPath), "earlier temp");
    EXPECT_EQ(record.slot(motdTempRuPath), "");
}

TEST_F(SearchTest, RecomputesEveryStatusAndUnchosenGroupsKeepTheirSlots) {
    game.putAd(gameMenuRuPath);
    game.putAd(autobuyPath);
    record.status = kAll;
    EXPECT_EQ(searchWith(only(Group::Menu)), only(Group::Menu));
    EXPECT_EQ(record.status, only(Group::Menu));
    const std::string menuSlot = record.slot(gameMenuPath);

    // A chosen group with nothing to find is cleared too; the menu slots stay as they were.
    const char separator = real->separator();
    record.gameFolder = std::string(1, separator) + "elsewhere";
    record.options = only(Group::Scoreboard);
    EXPECT_EQ(search(record, host), Flags{});
    EXPECT_EQ(record.slot(gameMenuPath), menuSlot);
    EXPECT_EQ(record.slot(scoreBoardPath),
              record.gameFolder + separator + test::withSeparator(kTargets[9], separator));
    EXPECT_EQ(record.slot(loadingVacPath), "") << "never chosen, never filled";

    // Nothing chosen: no lookup at all.
    const std::size_t calls = host.calls().size();
    EXPECT_EQ(searchWith(Flags{}), Flags{});
    EXPECT_EQ(host.calls().size(), calls);
    EXPECT_EQ(record.slot(gameMenuPath), menuSlot);
}

TEST_F(SearchTest, OneFileInEitherEditionIsEnoughAndAMissingEditionIsStillLookedUp) {
    std::filesystem::remove_all(game.path("cstrike_russian"));
    game.putAd(loadingVacPath);
    game.putAd(scoreBoardPath);
    game.putAd(userConfigPath);
    game.putAd(autobuyPath);
    EXPECT_EQ(searchWith(kAll), (Flags{false, true, true, true, false, true}));
    EXPECT_EQ(lookedUp().size(), 18U);
    std::filesystem::create_directories(game.path("cstrike_russian"));
    game.putAd(motdRuPath);
    EXPECT_TRUE(searchWith(only(Group::Motd))[static_cast<std::size_t>(Group::Motd)]);
}

TEST_F(SearchTest, AFailedLookupCountsAsFoundAndEndsOnlyThatGroupsLookups) {
    // Nothing exists at all: only the failure makes the loading group found.
    host.failCall(3);
    EXPECT_EQ(searchWith(kAll), only(Group::Loading));
    EXPECT_THAT(lookedUp(),
                ElementsAreArray(paths({0, 1, 2, 3}, {8, 9, 10, 11, 12, 13, 14, 15, 18, 19})));
    // The group's slots were all filled before its first lookup.
    EXPECT_EQ(record.slot(loadingVacPath), game.path(kTargets[7]));
}

}  // namespace
}  // namespace morvane

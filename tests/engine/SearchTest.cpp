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
using test::ReplacementFolder;
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

    // The paths looked up, failing the test for any call that might change something. (A target
    // that is there is compared with its replacement, in the program's folder.)
    std::vector<std::string> lookedUp() const {
        std::vector<std::string> paths;
        for (const FaultyHost::Call& call : host.calls()) {
            if (call.op == FaultyHost::Op::SameContent || call.op == FaultyHost::Op::ProgramFolder)
                continue;
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

// Regression: after a run the search found the clean files the run had put in place, so that the
// player read the adverts as back.
TEST_F(SearchTest, ATargetThatIsByteForByteItsReplacementIsNotFound) {
    const ReplacementFolder files;
    const test::TempTree empty;
    const std::string menu = files.content("GameMenu.res");
    const std::string large(kMaxComparedReplacement + 1, 'x');
    empty.write("motd.txt", large);  // its only replacement
    struct Case {
        const char* name;
        Group group;
        Slot slot;
        std::string content;
        bool found;
        const test::TempTree* folder;  // the replacement folder
    };
    const Case cases[] = {
        {"its replacement", Group::Menu, gameMenuPath, menu, false, &files},
        {"its replacement, in the other edition", Group::Loading, loadingVacRuPath,
         files.content("LoadingDialogVAC.res"), false, &files},
        {"as long, one byte other", Group::Menu, gameMenuPath,
         menu.substr(0, menu.size() - 1) + "!", true, &files},
        {"its replacement and more", Group::Menu, gameMenuPath, menu + menu, true, &files},
        {"empty", Group::Menu, gameMenuPath, "", true, &files},
        {"another file's replacement", Group::Scoreboard, scoreBoardPath, menu, true, &files},
        {"a config file, which has none", Group::Config, configPath, "", true, &files},
        {"its replacement missing", Group::Autobuy, autobuyPath, "", true, &empty},
        {"a replacement too large to compare", Group::Motd, motdPath, large, true, &empty},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        game.write(test::target(c.slot), c.content);
        record.gameFolder = game.path();
        record.options = kAll;
        const Flags found = search(record, host, ReplacementSource{c.folder->path()});
        EXPECT_EQ(found, c.found ? only(c.group) : Flags{});
        std::filesystem::remove(game.path(c.slot));
    }
}

}  // namespace
}  // namespace morvane

// The removal run over a real game folder, watched through a recording host. What a run does when
// single steps fail, and on hostile trees, is covered by the fault tests.
#include "engine/RemovalRun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/EngineRecord.h"
#include "engine/Search.h"
#include "platform/host/posix/PosixFileHost.h"
#include "tests/support/FaultyHost.h"
#include "tests/support/GameFolder.h"
#include "tests/support/OwnRun.h"

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

std::string below(const std::string& path, const std::string& root) {
    if (path == root)
        return "";
    return path.rfind(root + "/", 0) == 0 ? path.substr(root.size() + 1) : path;
}

// The step that treats target `i` when its group was found.
std::string step(std::size_t i) {
    if (i >= 10 && i <= 13)
        return "delete " + kTargets[i];  // config files have no replacement
    const bool tempPage = i == 16 || i == 17;
    return "copy " + kTargets[i] + " <- " +
           (tempPage ? "motd.txt" : std::filesystem::path(kTargets[i]).filename().string());
}

// One sweep over the attribute set: slots 1 to 18, never the auto-buy files.
std::vector<std::string> sweep() {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < 18; ++i)
        out.push_back("attributes " + kTargets[i]);
    return out;
}

bool writable(mode_t mode) {
    return (mode & S_IWUSR) != 0;
}

class RemovalRunTest : public ::testing::Test {
  protected:
    // Searches the game folder with the chosen groups, as the options window does before a run.
    void searchFor(Flags options) {
        record.gameFolder = game.path();
        record.options = options;
        search(record, real);
    }
    RemovalReport run() {
        return test::removeInOwnRun(record, host, ReplacementSource{files.path()});
    }

    // The recorded calls as "op path [<- source]", the game and replacement folders left off.
    std::vector<std::string> calls() const {
        static const char* const kOps[] = {"lookup",         "attributes", "delete",
                                           "copy",           "size",       "program folder",
                                           "readable check", "permissions"};
        std::vector<std::string> out;
        for (const FaultyHost::Call& call : host.calls()) {
            std::string text = kOps[static_cast<int>(call.op)];
            if (!below(call.path, game.path()).empty())
                text += " " + below(call.path, game.path());
            if (!call.source.empty())
                text += " <- " + below(call.source, files.path());
            out.push_back(text);
        }
        return out;
    }

    GameFolder game;
    ReplacementFolder files;
    PosixFileHost real;
    FaultyHost host{real};
    EngineRecord record;
};

TEST_F(RemovalRunTest, MakesItsOperationsInStepOrderAndWritesOnlyTheTempSlots) {
    game.putAllAds();
    searchFor(kAll);
    record.blockServerMotd = true;
    record.readOnly = true;
    const EngineRecord searched = record;
    EXPECT_EQ(run().verdict, Verdict::PossiblyRemoved);

    std::vector<std::string> expected = sweep();
    expected.push_back("size");
    for (std::size_t i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 19, 18, 16, 17})
        expected.push_back(step(i));
    for (std::size_t i : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 14, 15, 16, 17})  // what it wrote
        expected.push_back("attributes " + kTargets[i]);
    expected.push_back("size");
    EXPECT_THAT(calls(), ElementsAreArray(expected));

    EXPECT_EQ(record.status, searched.status);
    for (std::size_t i = 0; i < kSlotCount; ++i) {
        if (i != 16 && i != 17) {
            EXPECT_EQ(record.slots[i], searched.slots[i]) << i;
        }
    }
}

TEST_F(RemovalRunTest, TreatsEveryTargetOfTheFoundGroupsOnlyAndChangesNoOtherFile) {
    game.putAllAds();
    std::filesystem::remove(game.path(motdRuPath));
    searchFor(kAll);
    record.status = only(Group::Motd);  // the other groups were found but then unticked
    auto before = game.snapshot();
    EXPECT_EQ(run().verdict, Verdict::PossiblyRemoved);

    std::vector<std::string> expected = sweep();
    expected.insert(expected.end(), {"size", step(14), step(15), "size"});
    EXPECT_THAT(calls(), ElementsAreArray(expected));
    EXPECT_EQ(game.read(motdRuPath), files.content("motd.txt")) << "found in one edition: both";
    EXPECT_EQ(game.read(motdPath), files.content("motd.txt"));
    auto after = game.snapshot();
    for (auto* tree : {&before, &after}) {
        tree->erase(kTargets[14]);
        tree->erase(kTargets[15]);
    }
    EXPECT_EQ(after, before);
}

TEST_F(RemovalRunTest, CopiesTheShippedFilesFromBesideTheProgramAskingForItsFolderEveryTime) {
    game.putAd(gameMenuPath);
    searchFor(only(Group::Menu));
    record.blockServerMotd = true;
    test::removeInOwnRun(record, host);

    const std::string shipped = *real.programFolder() + "/files/";
    std::vector<std::string> sources;
    for (std::size_t i = 1; i < host.calls().size(); ++i) {
        if (host.calls()[i].op == FaultyHost::Op::Copy) {
            EXPECT_EQ(host.calls()[i - 1].op, FaultyHost::Op::ProgramFolder);
            sources.push_back(host.calls()[i].source);
        }
    }
    EXPECT_THAT(sources, ElementsAreArray({shipped + "GameMenu.res", shipped + "GameMenu.res",
                                           shipped + "motd.txt", shipped + "motd.txt"}));
    EXPECT_EQ(game.read(gameMenuRuPath), test::contentOf(shipped + "GameMenu.res"));
    EXPECT_EQ(game.read(motdTempRuPath), test::contentOf(shipped + "motd.txt"));
}

// Regression: every file of the attribute set was marked, so adverts that the run had not replaced
// were locked in: a group passed over, the server's welcome page without the option to overwrite
// it, a target whose replacement failed. Only what the run wrote is marked; never the auto-buy
// files. A file the run unlocked and then did not change gets its mode back: the player's
// read-only scoreboard stays read-only.
TEST_F(RemovalRunTest, ReadOnlyMarksOnlyTheFilesOfTheAttributeSetThatTheRunWrote) {
    game.putAllAds();
    ::chmod(game.path(loadingVacPath).c_str(), 0755);
    ::chmod(game.path(scoreBoardRuPath).c_str(), 0440);
    searchFor(kAll);
    record.found(Group::Scoreboard) = false;  // not treated, but its files are in the set
    record.readOnly = true;
    host.failCall(20);  // after 18 attribute changes, a size and a copy: the copy of gameMenuPath
    run();
    ASSERT_EQ(calls()[20], step(1));

    for (std::size_t i = 0; i < 18; ++i) {
        if (i >= 10 && i <= 13)
            continue;  // the config files are gone
        const bool wrote = i != 1 && i != 8 && i != 9 && i != 16 && i != 17;
        EXPECT_EQ(writable(test::modeOf(game.path(kTargets[i]))), !wrote && i != 8) << kTargets[i];
    }
    EXPECT_EQ(game.mode(loadingVacPath), 0555U) << "other mode bits are kept";
    EXPECT_EQ(game.mode(scoreBoardRuPath), 0440U);
    EXPECT_EQ(game.read(scoreBoardPath), GameFolder::adContent(scoreBoardPath));
    EXPECT_EQ(game.read(gameMenuPath), GameFolder::adContent(gameMenuPath));
    EXPECT_EQ(game.read(motdTempPath), GameFolder::adContent(motdTempPath));
    EXPECT_TRUE(writable(game.mode(autobuyPath)));
    EXPECT_TRUE(writable(game.mode(autobuyRuPath)));
}

TEST_F(RemovalRunTest, WithoutASearchBothTempPagesAreFilledUnlockedAndOverwritten) {
    game.write(kTargets[16], "advert page");
    ::chmod(game.path(motdTempPath).c_str(), 0444);  // left by an earlier run with read-only
    record.gameFolder = game.path();
    record.blockServerMotd = true;
    EXPECT_EQ(run().verdict, Verdict::PossiblyRemoved);
    EXPECT_EQ(game.read(motdTempPath), files.content("motd.txt"));
    EXPECT_EQ(game.read(motdTempRuPath), files.content("motd.txt"));
    EXPECT_EQ(record.slot(motdTempPath), game.path(motdTempPath));
    EXPECT_EQ(record.slot(motdTempRuPath), game.path(motdTempRuPath));
}

TEST_F(RemovalRunTest, WithoutASearchOrFurtherOptionsNothingChanges) {
    game.putAllAds();
    const auto before = game.snapshot();
    record.gameFolder = game.path();
    EXPECT_EQ(run().verdict, Verdict::NotRemoved);
    EXPECT_EQ(game.snapshot(), before);
}

// Slots filled by a search of another folder lie outside the run's game folder.
TEST_F(RemovalRunTest, SlotsOutsideTheRunsGameFolderAreNotChanged) {
    game.putAllAds();
    searchFor(kAll);
    record.blockServerMotd = true;
    record.readOnly = true;
    const auto before = game.snapshot();
    GameFolder other;
    record.gameFolder = other.path();
    run();
    EXPECT_EQ(game.snapshot(), before);
    EXPECT_EQ(other.read(motdTempPath), files.content("motd.txt"));
}

// A host whose size readings are scripted.
class ScriptedSizes : public FaultyHost {
  public:
    ScriptedSizes(FileHost& real, std::deque<std::optional<std::uint64_t>> sizes)
        : FaultyHost(real), sizes_(std::move(sizes)) {}
    std::optional<std::uint64_t> folderSize(const std::string&) override {
        const auto size = sizes_.front();
        sizes_.pop_front();
        return size;
    }

  private:
    std::deque<std::optional<std::uint64_t>> sizes_;
};

TEST_F(RemovalRunTest, TheVerdictRestsOnTheTwoSizeReadingsAlone) {
    struct Case {
        std::optional<std::uint64_t> before, after;
        Verdict verdict;
    };
    const Case cases[] = {
        {100, 100, Verdict::NotRemoved},
        {100, 99, Verdict::PossiblyRemoved},
        {0, 1, Verdict::PossiblyRemoved},
        {std::nullopt, std::nullopt, Verdict::NotRemoved},
        {std::nullopt, 0, Verdict::PossiblyRemoved},
        {0, std::nullopt, Verdict::PossiblyRemoved},
    };
    game.putAd(gameMenuPath);
    for (const Case& c : cases) {
        searchFor(only(Group::Menu));  // a file is replaced every time: the readings decide
        ScriptedSizes sizes(real, {c.before, c.after});
        EXPECT_EQ(test::removeInOwnRun(record, sizes, ReplacementSource{files.path()}).verdict,
                  c.verdict)
            << (c.before ? std::to_string(*c.before) : "none") << " then "
            << (c.after ? std::to_string(*c.after) : "none");
    }
}

}  // namespace
}  // namespace morvane

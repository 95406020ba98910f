// The removal run over a real game folder, watched through a recording host.
#include "RemovalRun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "EngineRecord.h"
#include "FaultyHost.h"
#include "GameFolder.h"
#include "PosixFileHost.h"
#include "Search.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;
using test::FaultyHost;
using test::GameFolder;
using test::ReplacementFolder;
using ::testing::ElementsAreArray;

using enum Slot;

constexpr std::array<bool, kGroupCount> kAll{true, true, true, true, true, true};

std::array<bool, kGroupCount> only(Group group) {
    std::array<bool, kGroupCount> flags{};
    flags[static_cast<std::size_t>(group)] = true;
    return flags;
}

// Slots 1 to 18 in table order: what both attribute sweeps visit.
const std::vector<std::string> kAttributeSet = {
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
    "cstrike/motd_temp.html",
    "cstrike_russian/motd_temp.html",
};

// The group steps of a run with all six groups found, in order.
const std::vector<std::string> kGroupSteps = {
    "copy cstrike_russian/resource/GameMenu.res <- GameMenu.res",
    "copy cstrike/resource/GameMenu.res <- GameMenu.res",
    "copy cstrike_russian/resource/LoadingDialog.res <- LoadingDialog.res",
    "copy cstrike_russian/resource/LoadingDialogNoBanner.res <- LoadingDialogNoBanner.res",
    "copy cstrike_russian/resource/LoadingDialogVAC.res <- LoadingDialogVAC.res",
    "copy cstrike/resource/LoadingDialog.res <- LoadingDialog.res",
    "copy cstrike/resource/LoadingDialogNoBanner.res <- LoadingDialogNoBanner.res",
    "copy cstrike/resource/LoadingDialogVAC.res <- LoadingDialogVAC.res",
    "copy cstrike_russian/resource/UI/ScoreBoard.res <- ScoreBoard.res",
    "copy cstrike/resource/UI/ScoreBoard.res <- ScoreBoard.res",
    "delete cstrike_russian/config.cfg",
    "delete cstrike/config.cfg",
    "delete cstrike_russian/userconfig.cfg",
    "delete cstrike/userconfig.cfg",
    "copy cstrike_russian/motd.txt <- motd.txt",
    "copy cstrike/motd.txt <- motd.txt",
    "copy cstrike/autobuy.txt <- autobuy.txt",
    "copy cstrike_russian/autobuy.txt <- autobuy.txt",
};

std::string withoutPrefix(const std::string& text, const std::string& prefix) {
    if (text == prefix)
        return ".";
    return text.rfind(prefix + "/", 0) == 0 ? text.substr(prefix.size() + 1) : text;
}

// The recorded calls as "op path [<- source]", with the game and replacement folders left off.
std::vector<std::string> describe(const FaultyHost& host, const std::string& game,
                                  const std::string& files) {
    std::vector<std::string> out;
    for (const FaultyHost::Call& call : host.calls()) {
        std::string text;
        switch (call.op) {
            case FaultyHost::Op::Lookup:
                text = "lookup";
                break;
            case FaultyHost::Op::SetAttributes:
                text = "attributes";
                break;
            case FaultyHost::Op::Delete:
                text = "delete";
                break;
            case FaultyHost::Op::Copy:
                text = "copy";
                break;
            case FaultyHost::Op::FolderSize:
                text = "size";
                break;
            case FaultyHost::Op::ProgramFolder:
                text = "program folder";
                break;
        }
        if (call.op != FaultyHost::Op::ProgramFolder)
            text += " " + withoutPrefix(call.path, game);
        if (!call.source.empty())
            text += " <- " + withoutPrefix(call.source, files);
        out.push_back(text);
    }
    return out;
}

std::vector<std::string> attributeSweep() {
    std::vector<std::string> out;
    for (const std::string& path : kAttributeSet)
        out.push_back("attributes " + path);
    return out;
}

bool writable(mode_t mode) {
    return (mode & S_IWUSR) != 0;
}

class RemovalRunTest : public ::testing::Test {
  protected:
    // Searches `game` with the chosen groups, as the options window does before a run.
    void searchFor(std::array<bool, kGroupCount> options, const GameFolder& folder) {
        record.gameFolder = folder.path();
        record.options = options;
        search(record, real);
    }
    void searchFor(std::array<bool, kGroupCount> options) { searchFor(options, game); }

    RemovalReport runOn(FileHost& on) {
        return runRemoval(record, on, ReplacementSource{files.path()});
    }
    RemovalReport run() { return runOn(host); }

    std::vector<std::string> calls() const {
        return describe(host, record.gameFolder, files.path());
    }

    GameFolder game;
    ReplacementFolder files;
    PosixFileHost real;
    FaultyHost host{real};
    EngineRecord record;
};

// --- Step order
// -----------------------------------------------------------------------------------

TEST_F(RemovalRunTest, MakesItsOperationsInStepOrder) {
    for (std::size_t i = 0; i < kSlotCount; ++i)
        game.putAd(static_cast<Slot>(i));
    searchFor(kAll);
    record.blockServerMotd = true;
    record.readOnly = true;
    const EngineRecord searched = record;
    EXPECT_EQ(run().verdict, Verdict::PossiblyRemoved);

    // The run writes only the two temp slots.
    EXPECT_EQ(record.status, searched.status);
    EXPECT_EQ(record.options, searched.options);
    for (std::size_t i = 0; i < kSlotCount; ++i) {
        const auto slot = static_cast<Slot>(i);
        if (slot == motdTempPath || slot == motdTempRuPath)
            continue;
        EXPECT_EQ(record.slots[i], searched.slots[i]) << slotInfo(slot).name;
    }

    std::vector<std::string> expected = attributeSweep();
    expected.push_back("size .");
    expected.insert(expected.end(), kGroupSteps.begin(), kGroupSteps.end());
    expected.push_back("copy cstrike/motd_temp.html <- motd.txt");
    expected.push_back("copy cstrike_russian/motd_temp.html <- motd.txt");
    const std::vector<std::string> sweep = attributeSweep();
    expected.insert(expected.end(), sweep.begin(), sweep.end());
    expected.push_back("size .");
    EXPECT_THAT(calls(), ElementsAreArray(expected));
}

TEST_F(RemovalRunTest, TreatsOnlyTheFoundGroupsAndChangesNoOtherFile) {
    for (std::size_t i = 0; i < kSlotCount; ++i)
        game.putAd(static_cast<Slot>(i));
    searchFor(kAll);
    record.status = only(Group::Motd);  // found by the search, but only motd stays ticked
    auto expectedTree = game.snapshot();
    for (const char* replaced : {"cstrike/motd.txt", "cstrike_russian/motd.txt"}) {
        std::string& entry = expectedTree[replaced];
        entry = entry.substr(0, entry.find(" file ")) + " file " + files.content("motd.txt");
    }

    EXPECT_EQ(run().verdict, Verdict::PossiblyRemoved);
    std::vector<std::string> expected = attributeSweep();
    expected.push_back("size .");
    expected.push_back("copy cstrike_russian/motd.txt <- motd.txt");
    expected.push_back("copy cstrike/motd.txt <- motd.txt");
    expected.push_back("size .");
    EXPECT_THAT(calls(), ElementsAreArray(expected));
    EXPECT_EQ(game.snapshot(), expectedTree);
}

TEST_F(RemovalRunTest, CopiesTheShippedFilesFromBesideTheProgramByDefault) {
    game.putAd(gameMenuPath);
    game.putAd(autobuyRuPath);
    auto options = only(Group::Menu);
    options[static_cast<std::size_t>(Group::Autobuy)] = true;
    searchFor(options);
    record.blockServerMotd = true;
    runRemoval(record, host);

    const std::optional<std::string> program = real.programFolder();
    ASSERT_TRUE(program);
    const std::string shipped = *program + "/files";
    ASSERT_TRUE(fs::is_regular_file(shipped + "/GameMenu.res")) << "replacement files not staged";

    std::size_t copies = 0;
    const auto& log = host.calls();
    for (std::size_t i = 0; i < log.size(); ++i) {
        if (log[i].op != FaultyHost::Op::Copy)
            continue;
        ++copies;
        ASSERT_GT(i, 0U);
        EXPECT_EQ(log[i - 1].op, FaultyHost::Op::ProgramFolder) << "program folder asked afresh";
        EXPECT_EQ(fs::path(log[i].source).parent_path().string(), shipped);
    }
    EXPECT_EQ(copies, 6U);
    EXPECT_EQ(host.count(FaultyHost::Op::ProgramFolder), copies);

    const auto shippedContent = [&](const std::string& name) {
        std::ifstream in(shipped + "/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    EXPECT_EQ(game.read(gameMenuRuPath), shippedContent("GameMenu.res"));
    EXPECT_EQ(game.read(gameMenuPath), shippedContent("GameMenu.res"));
    EXPECT_EQ(game.read(autobuyRuPath), shippedContent("autobuy.txt"));
    EXPECT_EQ(game.read("cstrike_russian/motd_temp.html"), shippedContent("motd.txt"));
}

// --- Groups
// ---------------------------------------------------------------------------------------

TEST_F(RemovalRunTest, AGroupFoundOnlyInCstrikeAlsoGetsTheRussianCopy) {
    game.putAd(scoreBoardPath);
    searchFor(only(Group::Scoreboard));
    run();
    EXPECT_EQ(game.read(scoreBoardPath), files.content("ScoreBoard.res"));
    EXPECT_EQ(game.read(scoreBoardRuPath), files.content("ScoreBoard.res"));
}

TEST_F(RemovalRunTest, WithOneEditionTheCopiesIntoTheMissingOneFailAndCreateNothing) {
    GameFolder cstrikeOnly(GameFolder::Editions::CstrikeOnly);
    cstrikeOnly.putAd(gameMenuPath);
    cstrikeOnly.putAd(motdPath);
    searchFor(kAll, cstrikeOnly);
    record.blockServerMotd = true;
    const RemovalReport report = run();

    EXPECT_EQ(report.verdict, Verdict::PossiblyRemoved);
    EXPECT_GT(report.steps.failed(), 0U);
    EXPECT_EQ(cstrikeOnly.read(gameMenuPath), files.content("GameMenu.res"));
    EXPECT_EQ(cstrikeOnly.read(motdPath), files.content("motd.txt"));
    EXPECT_EQ(cstrikeOnly.read("cstrike/motd_temp.html"), files.content("motd.txt"));
    EXPECT_FALSE(cstrikeOnly.exists(test::kRussian));
}

TEST_F(RemovalRunTest, TheConfigGroupLeavesNoConfigFileInEitherEdition) {
    for (Slot slot : {configRuPath, configPath, userConfigRuPath, userConfigPath})
        game.putAd(slot);
    game.chmod(userConfigPath, 0444);  // made writable by the first sweep, then deleted
    searchFor(only(Group::Config));
    EXPECT_EQ(run().verdict, Verdict::PossiblyRemoved);
    for (Slot slot : {configRuPath, configPath, userConfigRuPath, userConfigPath}) {
        EXPECT_FALSE(game.exists(slot)) << slotInfo(slot).name;
    }
}

TEST_F(RemovalRunTest, AReplacementThatCannotBeReadLeavesItsTargetAsItWas) {
    game.putAd(gameMenuRuPath);
    game.putAd(gameMenuPath);
    game.putAd(loadingDialogPath);
    files.remove("GameMenu.res");
    searchFor(kAll);
    const RemovalReport report = run();

    EXPECT_EQ(game.read(gameMenuRuPath), GameFolder::adContent(gameMenuRuPath));
    EXPECT_EQ(game.read(gameMenuPath), GameFolder::adContent(gameMenuPath));
    EXPECT_EQ(game.read(loadingDialogPath), files.content("LoadingDialog.res"));
    EXPECT_GE(report.steps.failed(), 2U);
}

TEST_F(RemovalRunTest, AFailedStepIsSkippedAndTheRunGoesOn) {
    game.putAd(gameMenuRuPath);
    game.putAd(gameMenuPath);
    searchFor(only(Group::Menu));
    record.readOnly = true;
    // Calls: 18 attribute changes, the first size reading, then the first menu copy.
    host.failCall(kAttributeSet.size() + 1);
    run();

    EXPECT_EQ(game.read(gameMenuRuPath), GameFolder::adContent(gameMenuRuPath));
    EXPECT_EQ(game.read(gameMenuPath), files.content("GameMenu.res"));
    EXPECT_FALSE(writable(game.mode(gameMenuPath)));
    EXPECT_FALSE(writable(game.mode(gameMenuRuPath)));
    EXPECT_EQ(host.count(FaultyHost::Op::FolderSize), 2U);
}

TEST_F(RemovalRunTest, WithoutAProgramFolderTheCopiesFailAndTheRunGoesOn) {
    game.putAd(gameMenuPath);
    game.putAd(configPath);
    searchFor(kAll);
    record.blockServerMotd = true;
    record.readOnly = true;
    host.failEvery(FaultyHost::Op::ProgramFolder);
    const RemovalReport report = runRemoval(record, host);

    EXPECT_EQ(report.verdict, Verdict::PossiblyRemoved);  // the config file went
    EXPECT_EQ(game.read(gameMenuPath), GameFolder::adContent(gameMenuPath));
    EXPECT_FALSE(writable(game.mode(gameMenuPath)));
    EXPECT_FALSE(game.exists(configPath));
    EXPECT_FALSE(game.exists("cstrike/motd_temp.html"));
    EXPECT_FALSE(game.exists(gameMenuRuPath));
    EXPECT_EQ(host.count(FaultyHost::Op::FolderSize), 2U);
}

TEST_F(RemovalRunTest, AFolderAtATargetPathIsNeitherFoundNorChanged) {
    game.putAd(gameMenuRuPath);
    game.tree().write("game/cstrike/resource/GameMenu.res/inside.txt", "keep");
    game.tree().write("game/cstrike/config.cfg/inside.txt", "keep");
    game.tree().write("game/cstrike/motd_temp.html/inside.txt", "keep");
    ::chmod(game.path("cstrike/config.cfg").c_str(), 0755);
    searchFor(kAll);
    EXPECT_TRUE(record.found(Group::Menu));
    EXPECT_FALSE(record.found(Group::Config));
    record.found(Group::Config) = true;
    record.blockServerMotd = true;
    record.readOnly = true;
    const auto folders = [&] {
        return std::vector{test::snapshot(game.path("cstrike/resource/GameMenu.res")),
                           test::snapshot(game.path("cstrike/config.cfg")),
                           test::snapshot(game.path("cstrike/motd_temp.html"))};
    };
    const auto before = folders();
    const mode_t folderMode = test::modeOf(game.path("cstrike/config.cfg"));
    run();

    EXPECT_TRUE(fs::is_directory(game.path("cstrike/resource/GameMenu.res")));
    EXPECT_TRUE(fs::is_directory(game.path("cstrike/config.cfg")));
    EXPECT_TRUE(fs::is_directory(game.path("cstrike/motd_temp.html")));
    EXPECT_EQ(folders(), before);
    EXPECT_EQ(test::modeOf(game.path("cstrike/config.cfg")), folderMode);
    EXPECT_EQ(game.read(gameMenuRuPath), files.content("GameMenu.res"));
}

// --- Attributes
// -----------------------------------------------------------------------------------

TEST_F(RemovalRunTest, ReadOnlyRoundTrip) {
    for (std::size_t i = 0; i < kSlotCount; ++i)
        game.putAd(static_cast<Slot>(i));
    game.put("cstrike/motd_temp.html", "advert page");
    game.chmod(loadingVacPath, 0755);
    searchFor(kAll);
    record.found(Group::Scoreboard) = false;  // not treated, but its files are in the attribute set
    record.blockServerMotd = true;
    record.readOnly = true;
    run();

    for (std::size_t i = 0; i < kAttributeSetSize; ++i) {
        const auto slot = static_cast<Slot>(i);
        if (!game.exists(slot))
            continue;
        EXPECT_EQ(game.mode(slot) & 0222, 0U) << slotInfo(slot).name;
    }
    EXPECT_EQ(game.mode(loadingVacPath), 0555U) << "other mode bits are kept";
    EXPECT_EQ(game.read(scoreBoardPath), GameFolder::adContent(scoreBoardPath));
    EXPECT_EQ(game.read("cstrike/motd_temp.html"), files.content("motd.txt"));
    EXPECT_TRUE(writable(game.mode(autobuyPath)));
    EXPECT_TRUE(writable(game.mode(autobuyRuPath)));

    // A later run makes them writable again first, then replaces them.
    ReplacementFolder newer("newer");
    record.readOnly = false;
    record.found(Group::Scoreboard) = true;
    runRemoval(record, host, ReplacementSource{newer.path()});
    for (Slot slot :
         {gameMenuRuPath, loadingVacPath, scoreBoardPath, motdPath, motdTempPath, motdTempRuPath}) {
        EXPECT_TRUE(writable(game.mode(slot))) << slotInfo(slot).name;
    }
    EXPECT_EQ(game.mode(loadingVacPath), 0755U);
    EXPECT_EQ(game.read(gameMenuRuPath), newer.content("GameMenu.res"));
    EXPECT_EQ(game.read(loadingVacPath), newer.content("LoadingDialogVAC.res"));
    EXPECT_EQ(game.read(scoreBoardPath), newer.content("ScoreBoard.res"));
    EXPECT_EQ(game.read("cstrike/motd_temp.html"), newer.content("motd.txt"));
    EXPECT_EQ(game.read("cstrike_russian/motd_temp.html"), newer.content("motd.txt"));
}

TEST_F(RemovalRunTest, AReadOnlyTempPageFromAnEarlierStartIsReplacedOnTheFirstRun) {
    game.put("cstrike/motd_temp.html", "advert page");
    game.put("cstrike_russian/motd_temp.html", "advert page");
    ::chmod(game.path("cstrike/motd_temp.html").c_str(), 0444);
    ::chmod(game.path("cstrike_russian/motd_temp.html").c_str(), 0444);
    record.gameFolder = game.path();  // no search in this window yet
    record.blockServerMotd = true;
    EXPECT_EQ(run().verdict, Verdict::PossiblyRemoved);
    EXPECT_EQ(game.read("cstrike/motd_temp.html"), files.content("motd.txt"));
    EXPECT_EQ(game.read("cstrike_russian/motd_temp.html"), files.content("motd.txt"));
}

TEST_F(RemovalRunTest, NeverTouchesTheAutobuyAttributes) {
    game.putAd(autobuyPath);
    game.putAd(autobuyRuPath);
    game.chmod(autobuyPath, 0444);
    searchFor(only(Group::Autobuy));
    record.readOnly = true;
    record.blockServerMotd = true;
    const RemovalReport report = run();

    // The read-only cstrike file stays as it was; the russian one is replaced and stays writable.
    EXPECT_EQ(game.read(autobuyPath), GameFolder::adContent(autobuyPath));
    EXPECT_EQ(game.mode(autobuyPath), 0444U);
    EXPECT_EQ(game.read(autobuyRuPath), files.content("autobuy.txt"));
    EXPECT_TRUE(writable(game.mode(autobuyRuPath)));
    EXPECT_GT(report.steps.failed(), 0U);
    // The run went on past the failed copy.
    EXPECT_EQ(game.read("cstrike_russian/motd_temp.html"), files.content("motd.txt"));
    for (const std::string& call : calls()) {
        EXPECT_EQ(call.find("attributes cstrike/autobuy"), std::string::npos);
        EXPECT_EQ(call.find("attributes cstrike_russian/autobuy"), std::string::npos);
    }
}

// --- Verdict
// --------------------------------------------------------------------------------------

// A host whose size readings are scripted.
class ScriptedSizes : public FaultyHost {
  public:
    ScriptedSizes(FileHost& real, std::deque<std::optional<std::uint64_t>> sizes)
        : FaultyHost(real), sizes_(std::move(sizes)) {}
    std::optional<std::uint64_t> folderSize(const std::string& folder) override {
        FaultyHost::folderSize(folder);
        const auto size = sizes_.front();
        sizes_.pop_front();
        return size;
    }

  private:
    std::deque<std::optional<std::uint64_t>> sizes_;
};

TEST_F(RemovalRunTest, TheVerdictComparesTheTwoSizeReadings) {
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
    for (const Case& c : cases) {
        ScriptedSizes sizes(real, {c.before, c.after});
        EngineRecord fresh;
        fresh.gameFolder = game.path();
        EXPECT_EQ(runRemoval(fresh, sizes, ReplacementSource{files.path()}).verdict, c.verdict)
            << (c.before ? std::to_string(*c.before) : "none") << " then "
            << (c.after ? std::to_string(*c.after) : "none");
    }
}

TEST_F(RemovalRunTest, AFirstRunWithoutSearchOrFurtherOptionsChangesNothing) {
    for (std::size_t i = 0; i < kSlotCount; ++i)
        game.putAd(static_cast<Slot>(i));
    const auto before = game.snapshot();
    record.gameFolder = game.path();
    EXPECT_EQ(run().verdict, Verdict::NotRemoved);
    EXPECT_EQ(game.snapshot(), before);
}

TEST_F(RemovalRunTest, ARunWithoutSearchStillWritesBothTempPages) {
    record.gameFolder = game.path();
    record.blockServerMotd = true;
    EXPECT_EQ(run().verdict, Verdict::PossiblyRemoved);
    EXPECT_EQ(game.read("cstrike/motd_temp.html"), files.content("motd.txt"));
    EXPECT_EQ(game.read("cstrike_russian/motd_temp.html"), files.content("motd.txt"));
    EXPECT_EQ(record.slot(motdTempPath), game.path("cstrike/motd_temp.html"));
    EXPECT_EQ(record.slot(motdTempRuPath), game.path("cstrike_russian/motd_temp.html"));
}

TEST_F(RemovalRunTest, AReplacementOfTheSameSizeIsNotRemovedThoughReplaced) {
    const std::string clean = files.content("GameMenu.res");
    game.put(gameMenuRuPath, std::string(clean.size(), 'x'));
    game.put(gameMenuPath, std::string(clean.size(), 'y'));
    searchFor(only(Group::Menu));
    EXPECT_EQ(run().verdict, Verdict::NotRemoved);
    EXPECT_EQ(game.read(gameMenuRuPath), clean);
    EXPECT_EQ(game.read(gameMenuPath), clean);
}

TEST_F(RemovalRunTest, ASecondRunTreatsTheSameGroupsAgainAndIsNotRemoved) {
    game.putAd(gameMenuPath);
    game.putAd(configRuPath);
    searchFor(kAll);
    record.blockServerMotd = true;
    EXPECT_EQ(run().verdict, Verdict::PossiblyRemoved);
    const auto firstCalls = calls();

    FaultyHost second(real);
    EXPECT_EQ(runOn(second).verdict, Verdict::NotRemoved);
    EXPECT_EQ(describe(second, record.gameFolder, files.path()), firstCalls);
}

// --- Where changes may happen
// ---------------------------------------------------------------------

TEST_F(RemovalRunTest, TheGameFolderIsUsedAsGivenWithADoubledSeparator) {
    game.putAd(gameMenuPath);
    record.gameFolder = game.path() + "/";
    record.options = only(Group::Menu);
    search(record, real);
    EXPECT_EQ(runRemoval(record, host, ReplacementSource{files.path()}).verdict,
              Verdict::PossiblyRemoved);
    EXPECT_EQ(record.slot(motdTempPath), game.path() + "//cstrike/motd_temp.html");
    EXPECT_EQ(game.read(gameMenuPath), files.content("GameMenu.res"));
    EXPECT_EQ(game.read(gameMenuRuPath), files.content("GameMenu.res"));
}

TEST_F(RemovalRunTest, SlotsOutsideTheRunsGameFolderAreNotChanged) {
    for (std::size_t i = 0; i < kSlotCount; ++i)
        game.putAd(static_cast<Slot>(i));
    searchFor(kAll);
    const auto before = game.snapshot();
    record.blockServerMotd = true;
    record.readOnly = true;

    // The game folder was changed to another one after the search.
    GameFolder other;
    record.gameFolder = other.path();
    runRemoval(record, host, ReplacementSource{files.path()});
    EXPECT_EQ(game.snapshot(), before);
    EXPECT_EQ(other.read("cstrike/motd_temp.html"), files.content("motd.txt"));

    // With an empty game folder nothing may change at all: every step fails.
    record.gameFolder.clear();
    record.status = kAll;
    const RemovalReport report = runRemoval(record, real, ReplacementSource{files.path()});
    EXPECT_EQ(report.verdict, Verdict::NotRemoved);
    EXPECT_EQ(report.steps.failed(), report.steps.attempted());
    EXPECT_EQ(game.snapshot(), before);
}

TEST_F(RemovalRunTest, AnEditionFolderLinkedOutsideTheGameFolderIsNotChanged) {
    const test::TempTree& tree = game.tree();
    tree.write("outside/resource/GameMenu.res", "outside menu");
    tree.write("outside/config.cfg", "outside config");
    tree.write("outside/motd_temp.html", "outside page");
    ::chmod(tree.path("outside/resource/GameMenu.res").c_str(), 0644);
    fs::remove_all(game.path(test::kCstrike));
    fs::create_directory_symlink(tree.path("outside"), game.path(test::kCstrike));
    game.putAd(gameMenuRuPath);
    searchFor(kAll);
    EXPECT_TRUE(record.found(Group::Config)) << "lookups are not confined";
    record.blockServerMotd = true;
    record.readOnly = true;
    const auto outside = test::snapshot(tree.path("outside"));
    run();

    EXPECT_EQ(test::snapshot(tree.path("outside")), outside);
    EXPECT_EQ(game.read(gameMenuRuPath), files.content("GameMenu.res"));
    EXPECT_EQ(game.read("cstrike_russian/motd_temp.html"), files.content("motd.txt"));
}

TEST_F(RemovalRunTest, LinksAtTargetPathsAreReplacedOrDeletedNeverFollowed) {
    const test::TempTree& tree = game.tree();
    tree.write("outside/menu.res", "outside menu");
    tree.write("outside/config.cfg", "outside config");
    ::chmod(tree.path("outside/menu.res").c_str(), 0444);
    fs::create_symlink(tree.path("outside/menu.res"), game.path(gameMenuPath));
    fs::create_symlink(tree.path("outside/config.cfg"), game.path(configPath));
    searchFor(kAll);
    EXPECT_TRUE(record.found(Group::Menu));
    EXPECT_TRUE(record.found(Group::Config));
    const auto outside = test::snapshot(tree.path("outside"));
    run();

    EXPECT_EQ(test::snapshot(tree.path("outside")), outside);
    EXPECT_TRUE(game.isRegularFile(gameMenuPath));
    EXPECT_EQ(game.read(gameMenuPath), files.content("GameMenu.res"));
    EXPECT_FALSE(game.exists(configPath));
}

}  // namespace
}  // namespace morvane

// The command-line driver: its argument parsing, and the built program run on real game folders.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <variant>
#include <vector>

#include "CliOptions.h"
#include "GameFolder.h"
#include "TempTree.h"

extern char** environ;

namespace morvane {
namespace {

namespace fs = std::filesystem;
using cli::CliOptions;
using cli::Command;
using cli::parseArguments;
using cli::UsageError;
using test::GameFolder;
using test::ReplacementFolder;

using enum Slot;

// --- Parsing
// --------------------------------------------------------------------------------------

CliOptions parsed(const std::vector<std::string>& args) {
    const auto result = parseArguments(args);
    if (const auto* error = std::get_if<UsageError>(&result)) {
        ADD_FAILURE() << "rejected: " << error->message;
        return {};
    }
    return std::get<CliOptions>(result);
}

bool rejected(const std::vector<std::string>& args) {
    return std::holds_alternative<UsageError>(parseArguments(args));
}

TEST(CliParse, ReadsTheCommandTheFolderAndTheGroups) {
    const CliOptions search = parsed({"search", "/games/cs", "menu", "motd"});
    EXPECT_EQ(search.command, Command::Search);
    EXPECT_EQ(search.folder, "/games/cs");
    const std::array<bool, kGroupCount> menuAndMotd{true, false, false, false, true, false};
    EXPECT_EQ(search.groups, menuAndMotd);
    EXPECT_FALSE(search.json);

    const CliOptions all = parsed({"search", "/games/cs", "all", "--json"});
    EXPECT_EQ(all.groups, (std::array<bool, kGroupCount>{true, true, true, true, true, true}));
    EXPECT_TRUE(all.json);

    const CliOptions none = parsed({"search", "/games/cs"});
    EXPECT_EQ(none.groups, (std::array<bool, kGroupCount>{}));

    const CliOptions size = parsed({"size", "/games/cs"});
    EXPECT_EQ(size.command, Command::Size);
    EXPECT_EQ(size.folder, "/games/cs");
}

TEST(CliParse, ReadsTheOptionsOfClean) {
    const CliOptions plain = parsed({"clean", "/g", "scoreboard"});
    EXPECT_FALSE(plain.blockServerMotd || plain.readOnly || plain.force || plain.json);
    EXPECT_FALSE(plain.filesFolder);

    const CliOptions full = parsed({"clean", "--json", "/g", "--block-server-motd", "config",
                                    "--read-only", "--files", "/f", "--force", "autobuy"});
    EXPECT_EQ(full.command, Command::Clean);
    EXPECT_EQ(full.folder, "/g");
    EXPECT_EQ(full.groups, (std::array<bool, kGroupCount>{false, false, false, true, false, true}));
    EXPECT_TRUE(full.blockServerMotd);
    EXPECT_TRUE(full.readOnly);
    EXPECT_TRUE(full.force);
    EXPECT_TRUE(full.json);
    EXPECT_EQ(full.filesFolder, "/f");
}

TEST(CliParse, RejectsWhatItDoesNotKnow) {
    EXPECT_TRUE(rejected({}));
    EXPECT_TRUE(rejected({"wipe", "/g"}));
    EXPECT_TRUE(rejected({"search"}));
    EXPECT_TRUE(rejected({"clean", "--force"}));
    EXPECT_TRUE(rejected({"search", "/g", "menus"}));
    EXPECT_TRUE(rejected({"search", "/g", "Menu"}));
    EXPECT_TRUE(rejected({"clean", "/g", "menu", "--readonly"}));
    EXPECT_TRUE(rejected({"clean", "/g", "--files"}));
    // Options of clean belong to clean only; size takes a folder and nothing else.
    EXPECT_TRUE(rejected({"search", "/g", "--read-only"}));
    EXPECT_TRUE(rejected({"search", "/g", "--force"}));
    EXPECT_TRUE(rejected({"search", "/g", "--files", "/f"}));
    EXPECT_TRUE(rejected({"size", "/g", "--json"}));
    EXPECT_TRUE(rejected({"size", "/g", "menu"}));
}

// --- The built program
// ----------------------------------------------------------------------------

struct Outcome {
    int exit = -1;
    std::string out;
    std::string err;
};

// Runs morvane-cli with `args`, its output caught in files of a scratch folder.
Outcome runCli(const std::vector<std::string>& args) {
    test::TempTree scratch;
    const std::string outFile = scratch.path("out");
    const std::string errFile = scratch.path("err");
    std::vector<std::string> argv{MORVANE_CLI};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& arg : argv)
        pointers.push_back(arg.data());
    pointers.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    pid_t pid = 0;
    Outcome outcome;
    if (posix_spawn(&pid, MORVANE_CLI, &actions, nullptr, pointers.data(), environ) == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        outcome.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    outcome.out = scratch.read("out");
    outcome.err = scratch.read("err");
    return outcome;
}

std::string statusJson(bool menu, bool loading, bool scoreboard, bool config, bool motd,
                       bool autobuy) {
    const auto flag = [](bool value) { return value ? "true" : "false"; };
    return std::string("{\"status\":{\"menu\":") + flag(menu) + ",\"loading\":" + flag(loading) +
           ",\"scoreboard\":" + flag(scoreboard) + ",\"config\":" + flag(config) +
           ",\"motd\":" + flag(motd) + ",\"autobuy\":" + flag(autobuy) + "}";
}

TEST(CliRun, SizePrintsTheBareTotal) {
    GameFolder game;
    game.put(gameMenuPath, std::string(40, 'a'));
    game.put(motdRuPath, std::string(2, 'b'));
    const Outcome outcome = runCli({"size", game.path()});
    EXPECT_EQ(outcome.exit, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "50\n");  // with the 8 bytes of hl.exe
    EXPECT_EQ(outcome.err, "");
}

TEST(CliRun, SearchReportsAndChangesNothing) {
    GameFolder game;
    game.putAd(gameMenuRuPath);
    game.putAd(autobuyPath);
    game.putAd(configPath);
    const auto before = game.snapshot();

    const Outcome json = runCli({"search", game.path(), "menu", "loading", "autobuy", "--json"});
    EXPECT_EQ(json.exit, 0) << json.err;
    EXPECT_EQ(json.out, statusJson(true, false, false, false, false, true) + "}\n");

    const Outcome text = runCli({"search", game.path(), "all"});
    EXPECT_EQ(text.exit, 0) << text.err;
    EXPECT_EQ(text.out,
              "menu: found\nloading: not found\nscoreboard: not found\nconfig: found\n"
              "motd: not found\nautobuy: found\n");
    EXPECT_EQ(game.snapshot(), before);
}

TEST(CliRun, CleanRemovesTheFoundAdvertsAndJudgesBySize) {
    GameFolder game;
    ReplacementFolder files;
    game.putAd(gameMenuPath);
    game.putAd(userConfigRuPath);
    const std::vector<std::string> args{
        "clean",      game.path(),           "menu",        "config", "--files",
        files.path(), "--block-server-motd", "--read-only", "--json"};

    const Outcome first = runCli(args);
    EXPECT_EQ(first.exit, 0) << first.err;
    EXPECT_EQ(first.out, statusJson(true, false, false, true, false, false) +
                             ",\"verdict\":\"possibly removed\"}\n");
    EXPECT_EQ(game.read(gameMenuPath), files.content("GameMenu.res"));
    EXPECT_EQ(game.read(gameMenuRuPath), files.content("GameMenu.res"));
    EXPECT_FALSE(game.exists(userConfigRuPath));
    EXPECT_EQ(game.read("cstrike/motd_temp.html"), files.content("motd.txt"));
    EXPECT_EQ(game.read("cstrike_russian/motd_temp.html"), files.content("motd.txt"));
    EXPECT_EQ(game.mode(gameMenuPath) & 0222, 0U);
    EXPECT_EQ(game.mode(motdTempRuPath) & 0222, 0U);

    // Run again: the same groups are treated (the menu files are found again), nothing changes
    // size.
    const Outcome second = runCli(args);
    EXPECT_EQ(second.exit, 0) << second.err;
    EXPECT_EQ(second.out, statusJson(true, false, false, false, false, false) +
                              ",\"verdict\":\"not removed\"}\n");
}

TEST(CliRun, CleanTakesTheShippedFilesFromBesideTheProgram) {
    GameFolder game(GameFolder::Editions::Both, "hl_linux");
    game.putAd(scoreBoardRuPath);
    const Outcome outcome = runCli({"clean", game.path(), "scoreboard"});
    EXPECT_EQ(outcome.exit, 0) << outcome.err;
    EXPECT_EQ(outcome.out,
              "menu: not found\nloading: not found\nscoreboard: found\nconfig: not found\n"
              "motd: not found\nautobuy: not found\nРеклама возможно удалена\n");

    const fs::path shipped = fs::path(MORVANE_CLI).parent_path() / "files" / "ScoreBoard.res";
    std::ifstream in(shipped, std::ios::binary);
    const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(content.empty());
    EXPECT_EQ(game.read(scoreBoardRuPath), content);
    EXPECT_EQ(game.read(scoreBoardPath), content);
}

TEST(CliRun, BadInputIsRefusedWithExitTwoAndChangesNothing) {
    GameFolder game;
    GameFolder noLauncher(GameFolder::Editions::Both, "");
    ReplacementFolder files;
    for (const GameFolder* folder : {&game, &noLauncher}) {
        for (std::size_t i = 0; i < kSlotCount; ++i)
            folder->putAd(static_cast<Slot>(i));
    }
    const auto gameBefore = game.snapshot();
    const auto noLauncherBefore = noLauncher.snapshot();
    const std::string filesPath = files.path();

    const std::vector<std::vector<std::string>> bad = {
        {},
        {"purge", game.path(), "all"},
        {"clean", game.path(), "all", "adverts"},
        {"clean", game.path(), "all", "--readonly"},
        {"clean", game.path(), "all", "--files"},
        {"clean", game.path(), "all", "--files", game.tree().path("nowhere")},
        {"clean", game.path(), "all", "--files", files.path("motd.txt")},
        {"clean", game.tree().path("nowhere"), "all", "--force"},
        {"clean", game.path("hl.exe"), "all", "--force"},
        {"clean", "", "all", "--force"},
        {"clean"},
        {"clean", noLauncher.path(), "all", "--files", filesPath, "--block-server-motd"},
        {"search", game.path(), "all", "--force"},
        {"size", game.tree().path("nowhere")},
        {"size", game.path("hl.exe")},
    };
    for (const auto& args : bad) {
        std::string shown;
        for (const std::string& arg : args)
            shown += " '" + arg + "'";
        const Outcome outcome = runCli(args);
        EXPECT_EQ(outcome.exit, 2) << shown;
        EXPECT_NE(outcome.err, "") << shown;
        EXPECT_EQ(outcome.out, "") << shown;
    }
    EXPECT_EQ(game.snapshot(), gameBefore);
    EXPECT_EQ(noLauncher.snapshot(), noLauncherBefore);

    // --force lets a folder without a launcher be cleaned.
    const Outcome forced =
        runCli({"clean", noLauncher.path(), "menu", "--files", filesPath, "--force"});
    EXPECT_EQ(forced.exit, 0) << forced.err;
    EXPECT_EQ(noLauncher.read(gameMenuPath), files.content("GameMenu.res"));
}

}  // namespace
}  // namespace morvane

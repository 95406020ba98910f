// The command-line driver: its argument parsing, and the built program run on real game folders.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <variant>
#include <vector>

#include "cli/Json.h"
#include "cli/Options.h"
#include "core/clean/FileOutcomes.h"
#include "tests/cli/CliRun.h"
#include "tests/support/GameFolder.h"

namespace morvane {
namespace {

using cli::CliOptions;
using cli::parseArguments;
using cli::UsageError;
using test::GameFolder;
using test::Outcome;
using test::ReplacementFolder;
using test::runCli;
using enum Slot;
using Flags = std::array<bool, kGroupCount>;

CliOptions parsed(const std::vector<std::string>& args) {
    const auto result = parseArguments(args);
    if (const auto* error = std::get_if<UsageError>(&result)) {
        ADD_FAILURE() << "rejected: " << error->message;
        return {};
    }
    return std::get<CliOptions>(result);
}

TEST(CliParse, ReadsTheCommandTheFolderTheGroupsAndTheOptions) {
    const CliOptions search = parsed({"search", "/games/cs", "menu", "motd"});
    EXPECT_EQ(search.command, cli::Command::Search);
    EXPECT_EQ(search.folder, "/games/cs");
    EXPECT_EQ(search.groups, (Flags{true, false, false, false, true, false}));
    EXPECT_FALSE(search.json);
    const CliOptions all = parsed({"search", "/g", "all", "--json"});
    EXPECT_EQ(all.groups, (Flags{true, true, true, true, true, true}));
    EXPECT_TRUE(all.json);
    EXPECT_EQ(parsed({"size", "/g"}).command, cli::Command::Size);
    EXPECT_EQ(parsed({"find", "--json"}).command, cli::Command::Find);
    EXPECT_EQ(parsed({"scan", "/g"}).folder, "/g");
    EXPECT_TRUE(parsed({"scan", "--all-found", "--json"}).allFound);

    const CliOptions plain = parsed({"clean", "/g"});
    EXPECT_FALSE(plain.blockServerMotd || plain.readOnly || plain.force || plain.filesFolder);
    EXPECT_EQ(plain.groups, Flags{});
    const CliOptions full = parsed({"clean", "--json", "/g", "--block-server-motd", "config",
                                    "--read-only", "--files", "/f", "--force", "autobuy"});
    EXPECT_EQ(full.command, cli::Command::Clean);
    EXPECT_EQ(full.folder, "/g");
    EXPECT_EQ(full.groups, (Flags{false, false, false, true, false, true}));
    EXPECT_TRUE(full.blockServerMotd && full.readOnly && full.force && full.json);
    EXPECT_EQ(full.filesFolder, "/f");
}

TEST(CliParse, RejectsWhatItDoesNotKnow) {
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"wipe", "/g"},
        {"search"},
        {"clean", "--force"},
        {"search", "/g", "menus"},
        {"search", "/g", "Menu"},
        {"clean", "/g", "menu", "--readonly"},
        {"clean", "/g", "--files"},
        // Options of clean belong to clean only; size takes a folder and nothing else.
        {"search", "/g", "--read-only"},
        {"search", "/g", "--force"},
        {"search", "/g", "--files", "/f"},
        {"size", "/g", "--json"},
        {"size", "/g", "menu"},
        // find looks for the games itself; scan takes one game or every one found, and no groups.
        {"find", "/g"},
        {"scan"},
        {"scan", "/g", "menu"},
        {"search", "/g", "--all-found"},
    };
    for (std::size_t i = 0; i < bad.size(); ++i)
        EXPECT_TRUE(std::holds_alternative<UsageError>(parseArguments(bad[i]))) << i;
}

// What each target's operations, in the run's order, make of it in the report, its reason worded
// as JSON words it.
TEST(CliReport, EachTargetIsReportedByWhatItsOperationsCameTo) {
    using enum Operation;
    auto step = [](Operation what, const char* path, const ChangeResult& result) {
        return Step{what, path, result.succeeded, result.absent, result.reason};
    };
    const auto missing = [](const char* why) { return ChangeResult::missing(Reason::text(why)); };
    const auto failure = [](const char* why) { return ChangeResult::failure(Reason::text(why)); };
    const ChangeResult done = ChangeResult::done();
    const std::vector<Step> steps = {
        step(SetAttributes, "a", done),
        step(SetAttributes, "b", missing("none")),
        step(SetAttributes, "c", failure("a link")),
        step(SetAttributes, "d", failure("other links")),
        step(SetAttributes, "e", done),
        step(SetAttributes, "g", failure("busy")),
        step(FolderSize, "game", ChangeResult::failure({})),
        step(Copy, "a", done),
        step(Delete, "b", missing("none")),
        step(Copy, "c", done),
        step(Copy, "d", failure("read-only")),
        step(Copy, "f", done),
        step(Delete, "h", done),
        step(ProgramFolder, "i", ChangeResult::failure({})),
        step(SetAttributes, "a", done),
        step(SetAttributes, "f", failure("EROFS")),
        step(SetAttributes, "h", missing("none")),
        step(Delete, "j", failure("in use")),
    };
    std::vector<std::string> report;
    for (const morvane::Outcome& file : fileOutcomes(steps)) {
        report.push_back(file.path + " " + std::to_string(static_cast<int>(file.done)) + " " +
                         reasonOf(file).english());
    }

    auto line = [](const char* path, Done what, const char* reason = "") {
        return std::string(path) + " " + std::to_string(static_cast<int>(what)) + " " + reason;
    };
    EXPECT_EQ(report, (std::vector<std::string>{
                          line("c", Done::Replaced),  // a copy replaces what it could not
                          line("d", Done::Failed, "attributes: other links"),
                          line("g", Done::Failed, "attributes: busy"),
                          line("a", Done::Replaced),
                          line("b", Done::Absent, "none"),
                          line("f", Done::Failed, "attributes: EROFS"),
                          line("h", Done::Deleted),
                          line("i", Done::Failed, "copy: the program's folder is unknown"),
                          line("j", Done::Failed, "delete: in use"),
                      }));
}

TEST(CliReport, JsonStringsEscapeWhatJsonCannotHoldAndKeepOnlyWellFormedUtf8) {
    const std::pair<std::string, std::string> cases[] = {
        {"/games/cs", "\"/games/cs\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"tab\tline\n\x01", "\"tab\\u0009line\\u000a\\u0001\""},
        {"Мои игры", "\"Мои игры\""},
        {"bad\xff\xc3(\xed\xa0\x80"
         "end\xe2\x82",
         "\"bad\\ufffd\\ufffd(\\ufffd\\ufffd\\ufffdend\\ufffd\\ufffd\""},
    };
    for (const auto& [text, json] : cases)
        EXPECT_EQ(cli::jsonString(text), json);
}

TEST(CliRun, SearchReportsInTextOrJsonAndChangesNothing) {
    GameFolder game;
    game.putAd(gameMenuRuPath);
    game.putAd(autobuyPath);
    game.putAd(configPath);
    const auto before = game.snapshot();

    const Outcome json = runCli({"search", game.path(), "menu", "loading", "autobuy", "--json"});
    EXPECT_EQ(json.exit, 0) << json.err;
    EXPECT_EQ(json.out,
              "{\"status\":{\"menu\":true,\"loading\":false,\"scoreboard\":null,\"config\":null,"
              "\"motd\":null,\"autobuy\":true}}\n");
    const Outcome text = runCli({"search", game.path(), "all"});
    EXPECT_EQ(text.exit, 0) << text.err;
    EXPECT_EQ(text.out,
              "menu: found\nloading: not found\nscoreboard: not found\nconfig: found\n"
              "motd: not found\nautobuy: found\n");
    EXPECT_EQ(game.snapshot(), before);
}

TEST(CliRun, CleanPassesItsOptionsOn) {
    GameFolder game;
    ReplacementFolder files;
    game.putAd(gameMenuPath);
    game.putAd(userConfigRuPath);
    const Outcome first = runCli({"clean", game.path(), "menu", "config", "--no-backup", "--files",
                                  files.path(), "--block-server-motd", "--read-only", "--json"});
    EXPECT_EQ(first.exit, 0) << first.err;
    // Every target treated, in the run's order: what became of it, and the host's word on an
    // absent one.
    auto file = [&](Slot slot, const char* action, const char* reason = "") {
        return "{\"path\":\"" + game.path(slot) + "\",\"action\":\"" + action + "\",\"reason\":\"" +
               reason + "\"}";
    };
    const char* const kNone = "No such file or directory";
    EXPECT_EQ(first.out,
              "{\"game\":\"" + game.path() +
                  "\",\"status\":{\"menu\":true,\"loading\":null,\"scoreboard\":null,"
                  "\"config\":true,\"motd\":null,\"autobuy\":null},\"verdict\":\"possibly "
                  "removed\",\"files\":[" +
                  file(gameMenuRuPath, "replaced") + "," + file(gameMenuPath, "replaced") + "," +
                  file(configRuPath, "absent", kNone) + "," + file(configPath, "absent", kNone) +
                  "," + file(userConfigRuPath, "deleted") + "," +
                  file(userConfigPath, "absent", kNone) + "," + file(motdTempPath, "replaced") +
                  "," + file(motdTempRuPath, "replaced") + "]}\n");
    EXPECT_EQ(game.read(gameMenuRuPath), files.content("GameMenu.res"));
    EXPECT_FALSE(game.exists(test::target(userConfigRuPath)));
    EXPECT_EQ(game.read(motdTempRuPath), files.content("motd.txt"));
    EXPECT_EQ(game.mode(gameMenuPath) & 0222, 0U);
    // What it put in place is no advert to the next clean with the same replacement files.
    const Outcome again =
        runCli({"clean", game.path(), "menu", "--no-backup", "--files", files.path(), "--json"});
    EXPECT_NE(again.out.find("\"menu\":false"), std::string::npos) << again.out;
}

TEST(CliRun, CleanTakesTheShippedFilesFromBesideTheProgramAndAcceptsTheLinuxLauncher) {
    GameFolder game("hl_linux");
    game.putAd(scoreBoardRuPath);
    const Outcome outcome = runCli({"clean", game.path(), "scoreboard", "--no-backup"});
    EXPECT_EQ(outcome.exit, 0) << outcome.err;
    EXPECT_EQ(outcome.out,
              "menu: not searched\nloading: not searched\nscoreboard: found\nconfig: not searched\n"
              "motd: not searched\nautobuy: not searched\n" +
                  game.path(scoreBoardRuPath) + ": replaced\n" + game.path(scoreBoardPath) +
                  ": replaced\nAdvertising possibly removed\n");
    const std::string shipped = test::contentOf(std::filesystem::path(MORVANE_CLI).parent_path() /
                                                "files" / "ScoreBoard.res");
    ASSERT_FALSE(shipped.empty());
    EXPECT_EQ(game.read(scoreBoardPath), shipped);
    EXPECT_NE(runCli({"search", game.path(), "scoreboard"}).out.find("scoreboard: not found\n"),
              std::string::npos)
        << "what it put in place is no advert";
}

// A folder that is missing or a file is refused by the fault tests.
TEST(CliRun, BadInputIsRefusedWithExitTwoAndChangesNothing) {
    GameFolder noLauncher("");
    ReplacementFolder files;
    noLauncher.putAllAds();
    const auto before = noLauncher.snapshot();
    const std::string game = noLauncher.path();
    const std::vector<std::vector<std::string>> bad = {
        {"clean", game, "all", "--readonly", "--force"},
        {"clean", game, "all", "--files", files.path("missing"), "--force"},
        {"clean", game, "all", "--files", files.path("motd.txt"), "--force"},
        {"clean", game, "all", "--files", files.path(), "--block-server-motd"},
    };
    for (std::size_t i = 0; i < bad.size(); ++i) {
        const Outcome outcome = runCli(bad[i]);
        EXPECT_EQ(outcome.exit, 2) << i;
        EXPECT_NE(outcome.err, "") << i;
        EXPECT_EQ(outcome.out, "") << i;
    }
    EXPECT_EQ(noLauncher.snapshot(), before);

    // --force lets a folder without a launcher be cleaned.
    const Outcome forced = runCli({"clean", game, "menu", "--files", files.path(), "--force"});
    EXPECT_EQ(forced.exit, 0) << forced.err;
    EXPECT_EQ(noLauncher.read(gameMenuPath), files.content("GameMenu.res"));
}

}  // namespace
}  // namespace morvane

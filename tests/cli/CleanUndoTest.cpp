// clean with backups and --keep-settings, undo and protect, as the built program runs them on demo
// game folders.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/scan/Family.h"
#include "core/scan/Scanner.h"
#include "platform/host/posix/PosixTreeReader.h"
#include "tests/cli/CliRun.h"
#include "tests/support/GameFolder.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;
using test::contentOf;
using test::count;
using test::makeDemo;
using test::Outcome;
using test::runCli;
using test::snapshot;
using test::TempTree;
using Env = std::map<std::string, std::string>;

// `content` without the lines numbered `lines`, each with its end.
std::string dropLines(const std::string& content, const std::set<int>& lines) {
    std::string kept;
    int number = 0;
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t end = std::min(content.find('\n', start), content.size() - 1);
        if (!lines.contains(++number))
            kept += content.substr(start, end + 1 - start);
        start = end + 1;
    }
    return kept;
}

TEST(CleanUndo, KeepSettingsTakesOutOnlyWhatScanFlagsAndUndoGivesTheTreeBackExactly) {
    const TempTree home;
    const Env env{{"HOME", home.path()}, {"XDG_STATE_HOME", home.path("state")}};
    const std::string game = home.path(".local/share/Steam/steamapps/common/Half-Life");
    makeDemo(game);
    // A player's file with Windows line ends; files of unusual modes, rewritten and deleted.
    home.write(fs::path(game).lexically_relative(home.root()).string() + "/cstrike/userconfig.cfg",
               "// mine\r\nbind \"F5\" \"say visit www.example.net\"\r\ncl_timeout \"60\"\r\n");
    fs::permissions(game + "/cstrike_russian/config.cfg", fs::perms(0600));
    fs::permissions(game + "/cstrike/config.cfg", fs::perms(0444));
    fs::permissions(game + "/cstrike_downloads/config.cfg", fs::perms(0604));
    const auto before = snapshot(game);

    PosixTreeReader reader;
    std::map<std::string, std::set<int>> flagged;  // config files, by the lines taken out
    std::set<std::string> rewritten;               // and the settings' files besides
    for (const scan::Finding& finding : scan::scanGame(reader, game).findings) {
        const scan::Keep keep = finding.place->keep;
        if (finding.level() != scan::Level::Planted || keep == scan::Keep::Leave ||
            keep == scan::Keep::Delete)
            continue;
        rewritten.insert(finding.file);
        if (keep == scan::Keep::Lines)
            flagged[finding.file].insert(finding.line);
    }
    ASSERT_EQ(flagged.size(), 9u);
    ASSERT_EQ(rewritten.size(), 13u) << "two master lists, the favourites, the emulator's settings";

    const Outcome clean =
        runCli({"clean", "--all-found", "all", "--keep-settings", "--read-only", "--json"}, env);
    EXPECT_EQ(clean.exit, 0) << clean.err;
    EXPECT_EQ(count(clean.out, "\"action\":\"rewritten\""), rewritten.size()) << clean.out;
    EXPECT_EQ(count(clean.out, "\"backup\":\"20"), 1u) << clean.out;
    const Outcome rescan = runCli({"scan", "--all-found"}, env);
    EXPECT_EQ(rescan.exit, 0) << rescan.out;
    for (const auto& [file, lines] : flagged) {
        const std::string original = before.at(file).substr(before.at(file).find(" file ") + 6);
        EXPECT_EQ(contentOf(game + "/" + file), dropLines(original, lines)) << file;
    }
    EXPECT_EQ(test::modeOf(game + "/cstrike/config.cfg") & 0222, 0u);
    // The server's page, not overwritten without --block-server-motd, is not locked in: a planted
    // one is deleted with the settings kept, any other stays writable.
    const std::string page = game + "/cstrike/motd_temp.html";
    EXPECT_TRUE(!fs::exists(page) || (test::modeOf(page) & 0200) != 0u);

    const Outcome undo = runCli({"undo", game}, env);
    EXPECT_EQ(undo.exit, 0) << undo.err;
    EXPECT_EQ(snapshot(game), before);
}

TEST(CleanUndo, UndoRefusesFilesChangedSinceTheCleanUnlessForced) {
    const TempTree tree;
    const Env env{{"XDG_STATE_HOME", tree.path("state")}};
    const std::string game = tree.path("game");
    makeDemo(game);
    const auto original = snapshot(game);
    ASSERT_EQ(runCli({"clean", game, "all"}, env).exit, 0);
    tree.write("game/cstrike/resource/GameMenu.res", "edited by the player");
    fs::remove(game + "/cstrike/motd.txt");
    const auto changed = snapshot(game);

    const Outcome refused = runCli({"undo", game}, env);
    EXPECT_EQ(refused.exit, 1);
    EXPECT_EQ(count(refused.err, " changed since the clean"), 2u) << refused.err;
    EXPECT_EQ(count(refused.err, game + "/cstrike/resource/GameMenu.res"), 1u);
    EXPECT_EQ(count(refused.err, game + "/cstrike/motd.txt"), 1u);
    EXPECT_EQ(snapshot(game), changed);

    EXPECT_EQ(runCli({"undo", game, "--force"}, env).exit, 0);
    EXPECT_EQ(snapshot(game), original);
}

TEST(CleanUndo, ABackupThatCannotBeWrittenStopsTheCleanWithNothingChanged) {
    const TempTree tree;
    const std::string game = tree.path("game");
    makeDemo(game);
    tree.write("state-is-a-file", "");
    const auto before = snapshot(game);
    // The state folder cannot be made. (A file that cannot be read into the backup is another
    // matter: BackupScopeAndPruning.)
    Outcome outcome =
        runCli({"clean", game, "all"}, {{"XDG_STATE_HOME", tree.path("state-is-a-file")}});
    EXPECT_EQ(outcome.exit, 1);
    EXPECT_EQ(count(outcome.err, "the backup cannot be made"), 1u) << outcome.err;
    EXPECT_EQ(snapshot(game), before);
}

TEST(CleanUndo, OnlyTheTenNewestBackupsOfAGameFolderAreKept) {
    const TempTree tree;
    const Env env{{"XDG_STATE_HOME", tree.path("state")}};
    const std::string game = tree.path("game");
    makeDemo(game);
    const std::string advert = contentOf(game + "/cstrike/resource/GameMenu.res");
    std::string last;
    for (int i = 0; i < 12; ++i) {
        tree.write("game/cstrike/resource/GameMenu.res", advert);
        const Outcome clean = runCli({"clean", game, "menu", "--json"}, env);
        ASSERT_EQ(clean.exit, 0) << clean.err;
        last = clean.out.substr(clean.out.find("\"backup\":\"") + 10, 16);
    }
    // Neither a clean without a backup nor one that changes nothing pushes one out.
    tree.write("game/cstrike/resource/GameMenu.res", advert);
    EXPECT_EQ(runCli({"clean", game, "menu", "--no-backup"}, env).exit, 0);
    const Outcome idle = runCli({"clean", game, "menu", "--json"}, env);
    EXPECT_EQ(count(idle.out, "\"backup\""), 0u) << idle.out;
    const Outcome list = runCli({"undo", game, "--list"}, env);
    EXPECT_EQ(count(list.out, "\n"), 10u) << list.out;
    EXPECT_EQ(list.out.rfind(last, 0), 0u) << list.out;
}

TEST(Protect, TurnsTheGuardOnInEachEditionFolderOnce) {
    const TempTree tree;
    const Env env{{"XDG_STATE_HOME", tree.path("state")}};
    const std::string game = tree.path("game");
    makeDemo(game);  // its userconfig.cfg files turn the guard off
    fs::remove(game + "/cstrike_russian/userconfig.cfg");
    const std::string mine = contentOf(game + "/cstrike/userconfig.cfg");

    const Outcome first = runCli({"protect", game}, env);
    EXPECT_EQ(first.exit, 0) << first.err;
    EXPECT_EQ(count(first.out, "cl_filterstuffcmd \"1\" added"), 2u) << first.out;
    EXPECT_EQ(contentOf(game + "/cstrike/userconfig.cfg"), mine + "cl_filterstuffcmd \"1\"\n");
    EXPECT_EQ(contentOf(game + "/cstrike_russian/userconfig.cfg"), "cl_filterstuffcmd \"1\"\n");
    const Outcome scanned = runCli({"scan", game, "--json"});
    EXPECT_EQ(count(scanned.out, "\"protection\":{\"cstrike\":\"on\",\"cstrike_russian\":\"on\"}"),
              1u)
        << scanned.out;

    const auto protectedTree = snapshot(game);
    const Outcome again = runCli({"protect", game}, env);
    EXPECT_EQ(again.exit, 0);
    EXPECT_EQ(count(again.out, "left alone"), 2u) << again.out;
    EXPECT_EQ(snapshot(game), protectedTree);

    // A config file run after userconfig.cfg that turns it off again is named.
    tree.write("game/cstrike/autoexec.cfg", "cl_filterstuffcmd 0\n");
    const Outcome undone = runCli({"protect", game}, env);
    EXPECT_EQ(undone.exit, 1);
    EXPECT_EQ(count(undone.err, "cl_filterstuffcmd is off in cstrike"), 1u) << undone.err;
}

}  // namespace
}  // namespace morvane

// Game folders that try to trick the run: links out of the folder, folders where files belong,
// names in Cyrillic with spaces, paths near PATH_MAX, and no game folder at all.
#include <gtest/gtest.h>
#include <limits.h>
#include <sys/stat.h>

#include <filesystem>

#include "CliProcess.h"
#include "DeepPaths.h"
#include "DemoGame.h"
#include "PosixFileHost.h"
#include "RemovalRun.h"
#include "Search.h"
#include "TreeSnapshot.h"
#include "TreesInMemory.h"

namespace morvane::test {
namespace {

namespace fs = std::filesystem;

class HostileTree : public ::testing::Test {
  protected:
    // Searches `game` with every group chosen, marks `alsoFound` as found whatever the search said,
    // and cleans with both further options set.
    static Verdict cleanAll(const std::string& game, std::vector<Group> alsoFound = {}) {
        PosixFileHost host;
        EngineRecord record;
        record.gameFolder = game;
        record.options.fill(true);
        record.blockServerMotd = true;
        record.readOnly = true;
        search(record, host);
        for (Group group : alsoFound)
            record.found(group) = true;
        return runRemoval(record, host).verdict;
    }

    static std::string replacement(const std::string& name) {
        return fileContent(*PosixFileHost().programFolder() + "/files/" + name);
    }

    static bool isLink(const std::string& path) { return fs::is_symlink(fs::symlink_status(path)); }

    TreesInMemory inMemory_;
    TempTree tree_;
};

TEST_F(HostileTree, LinkAtATargetIsReplacedAndWhatItPointsAtIsNeverTouched) {
    const DemoGame game(tree_);
    tree_.write("outside/secret.res", "secret");
    ::chmod(tree_.path("outside/secret.res").c_str(), 0640);
    tree_.write("outside/readonly.html", "read-only page");
    ::chmod(tree_.path("outside/readonly.html").c_str(), 0444);
    tree_.write("outside/user.cfg", "bind w +forward");
    auto linkTo = [&](const std::string& target, const std::string& outside) {
        fs::remove(game.folder() + "/" + target);
        fs::create_symlink(tree_.path(outside), game.folder() + "/" + target);
    };
    linkTo("cstrike/resource/GameMenu.res", "outside/secret.res");
    linkTo("cstrike/motd_temp.html", "outside/readonly.html");
    linkTo("cstrike/config.cfg", "outside/user.cfg");
    const Snapshot outside = snapshotOf(tree_.path("outside"));

    EXPECT_EQ(cleanAll(game.folder()), Verdict::PossiblyRemoved);

    EXPECT_EQ(differences(outside, snapshotOf(tree_.path("outside"))), "");
    const Snapshot after = snapshotOf(game.folder());
    const EntryState& menu = after.at("cstrike/resource/GameMenu.res");
    EXPECT_EQ(menu.kind, 'f');
    EXPECT_EQ(menu.content, replacement("GameMenu.res"));
    EXPECT_EQ(menu.mode & 0222, 0u) << "the read-only option applies to the new file";
    EXPECT_EQ(after.at("cstrike/motd_temp.html").kind, 'f');
    EXPECT_EQ(after.at("cstrike/motd_temp.html").content, replacement("motd.txt"));
    EXPECT_FALSE(after.contains("cstrike/config.cfg")) << "the link is deleted, not its target";
}

TEST_F(HostileTree, LinkedFolderAboveTargetsKeepsTheRunOutOfIt) {
    const DemoGame game(tree_);
    fs::rename(game.folder() + "/cstrike_russian/resource", tree_.path("outside/resource"));
    fs::create_symlink(tree_.path("outside/resource"), game.folder() + "/cstrike_russian/resource");
    const Snapshot outside = snapshotOf(tree_.path("outside"));

    EXPECT_EQ(cleanAll(game.folder()), Verdict::PossiblyRemoved);

    EXPECT_EQ(differences(outside, snapshotOf(tree_.path("outside"))), "");
    EXPECT_TRUE(isLink(game.folder() + "/cstrike_russian/resource"));
    EXPECT_EQ(tree_.read(game.relative("cstrike/resource/GameMenu.res")),
              replacement("GameMenu.res"));
}

TEST_F(HostileTree, FolderAtATargetPathIsNotFoundAndNotChanged) {
    const DemoGame game(tree_);
    for (const char* target : {"cstrike/resource/GameMenu.res", "cstrike/config.cfg",
                               "cstrike_russian/motd_temp.html"}) {
        fs::remove(game.folder() + "/" + target);
        tree_.write(game.relative(std::string(target) + "/inside.txt"), "kept");
    }
    fs::remove(game.folder() + "/cstrike_russian/resource/GameMenu.res");
    PosixFileHost host;
    EngineRecord record;
    record.gameFolder = game.folder();
    record.option(Group::Menu) = true;
    EXPECT_FALSE(search(record, host)[static_cast<std::size_t>(Group::Menu)]);
    const Snapshot before = snapshotOf(game.folder());

    cleanAll(game.folder(), {Group::Menu});

    const Snapshot after = snapshotOf(game.folder());
    for (const char* target : {"cstrike/resource/GameMenu.res", "cstrike/config.cfg",
                               "cstrike_russian/motd_temp.html"}) {
        const std::string inside = std::string(target) + "/inside.txt";
        EXPECT_EQ(after.at(target), before.at(target)) << target;
        EXPECT_EQ(after.at(inside), before.at(inside)) << inside;
    }
    // Where the folder for it exists, the missing file is created from the replacement.
    EXPECT_EQ(after.at("cstrike_russian/resource/GameMenu.res").content,
              replacement("GameMenu.res"));
}

TEST_F(HostileTree, CyrillicFolderNamesWithSpacesWorkThroughTheDriver) {
    const DemoGame game(tree_, "Мои игры/Counter Strike 1.6");
    const CliResult found = runCli({"search", game.folder(), "all", "--json"});
    EXPECT_EQ(found.exitCode, 0) << found.err;
    EXPECT_NE(found.out.find("\"menu\":true"), std::string::npos) << found.out;

    const CliResult cleaned = runCli({"clean", game.folder(), "all", "--block-server-motd"});
    EXPECT_EQ(cleaned.exitCode, 0) << cleaned.err;
    EXPECT_NE(cleaned.out.find("Реклама возможно удалена"), std::string::npos) << cleaned.out;
    EXPECT_EQ(tree_.read(game.relative("cstrike_russian/resource/UI/ScoreBoard.res")),
              replacement("ScoreBoard.res"));

    const CliResult size = runCli({"size", game.folder()});
    std::uint64_t total = 0;
    for (const auto& [path, state] : snapshotOf(game.folder())) {
        if (state.kind == 'f')
            total += state.content.size();
    }
    EXPECT_EQ(size.out, std::to_string(total) + "\n");
}

TEST_F(HostileTree, UnreadableSubfolderLeavesBothReadingsAlike) {
    const DemoGame game(tree_);
    tree_.write(game.relative("cstrike/locked/inner.wav"), std::string(999, 'w'));
    ::chmod((game.folder() + "/cstrike/locked").c_str(), 0);
    // Whether or not this user can read it (root can), both readings of a run must agree.
    EXPECT_EQ(cleanAll(game.folder()), Verdict::PossiblyRemoved);
    EXPECT_EQ(cleanAll(game.folder()), Verdict::NotRemoved);
}

// A game folder so deep that some target paths, or the temporary files beside them, pass
// PATH_MAX. Those files cannot be reached by path and are left as they are; the rest is cleaned
// and the folder total still counts everything.
TEST_F(HostileTree, GameFolderNearPathMaxCleansWhatItCanReachAndChangesNothingElse) {
    constexpr std::size_t kGameLength = PATH_MAX - 36;
    const DeepRemoval removal(tree_.path("deep"));
    std::string relative = "deep";
    while (tree_.path(relative).size() + 201 < kGameLength)
        relative += "/" + std::string(200, 'd');
    relative += "/" + std::string(kGameLength - tree_.path(relative).size() - 1, 'g');
    const std::string game = tree_.path(relative);
    ASSERT_EQ(game.size(), kGameLength);

    std::uint64_t total = 2;
    writeFileAt(makeFolders(tree_.path(), relative), "hl.exe", "MZ");
    for (const std::string& target : DemoGame::targets()) {
        const auto slash = target.rfind('/');
        writeFileAt(makeFolders(game, target.substr(0, slash)), target.substr(slash + 1),
                    DemoGame::advertFor(target));
        total += DemoGame::advertFor(target).size();
    }
    EXPECT_EQ(PosixFileHost().folderSize(game), total);

    EXPECT_EQ(cleanAll(game), Verdict::PossiblyRemoved);

    int replaced = 0;
    int untouched = 0;
    for (const std::string& target : DemoGame::targets()) {
        const auto slash = target.rfind('/');
        const std::string name = target.substr(slash + 1);
        const std::string now = readFileAt(makeFolders(game, target.substr(0, slash)), name);
        const std::string replacementName = replacementNameFor(target);
        // A copy goes through a temporary file beside the target, whose path is longer still.
        const std::size_t pathNeeded =
            game.size() + 1 + target.size() + (replacementName.empty() ? 0 : 1 + 16);
        if (pathNeeded < PATH_MAX) {
            EXPECT_EQ(now, replacementName.empty() ? "<missing>" : replacement(replacementName))
                << target;
            ++replaced;
        } else {
            EXPECT_EQ(now, DemoGame::advertFor(target)) << target;
            ++untouched;
        }
    }
    EXPECT_GT(replaced, 0);
    EXPECT_GT(untouched, 0);
    EXPECT_EQ(runCli({"size", game}).exitCode, 0);
}

TEST_F(HostileTree, GameFolderThatIsAFileOrMissingIsRefusedAndNothingChanges) {
    tree_.write("hl.exe", "MZ");
    const Snapshot before = snapshotOf(tree_.path());
    for (const std::string& folder : {tree_.path("hl.exe"), tree_.path("missing")}) {
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"clean", folder, "all", "--force"},
              std::vector<std::string>{"search", folder, "all"},
              std::vector<std::string>{"size", folder}}) {
            const CliResult result = runCli(args);
            EXPECT_EQ(result.exitCode, 2) << args[0] << " " << folder;
            EXPECT_NE(result.err.find("does not exist or is not a folder"), std::string::npos)
                << result.err;
            EXPECT_EQ(result.out, "");
        }
    }
    EXPECT_EQ(differences(before, snapshotOf(tree_.path())), "");
}

}  // namespace
}  // namespace morvane::test

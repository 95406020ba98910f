// Game folders that try to trick the run: links out of the folder, folders where files belong,
// unreadable folders, names in Cyrillic with spaces, paths near PATH_MAX, and no game folder at
// all.
#include <gtest/gtest.h>
#include <limits.h>

#include "engine/RemovalRun.h"
#include "engine/Search.h"
#include "tests/faults/FaultSupport.h"
#include "tests/support/OwnRun.h"

namespace morvane::test {
namespace {

class HostileTree : public ::testing::Test {
  protected:
    // Searches `game` with every group chosen and cleans with both further options set.
    static Verdict cleanAll(const std::string& game) {
        PosixFileHost host;
        EngineRecord record = everything(game);
        search(record, host);
        return test::removeInOwnRun(record, host).verdict;
    }

    static std::string shipped(const std::string& name) {
        return contentOf(*PosixFileHost().programFolder() + "/files/" + name);
    }

    static std::uint64_t regularBytes(const std::string& folder) {
        std::uint64_t total = 0;
        for (const auto& [path, entry] : snapshotOf(folder))
            total += entry.kind == 'f' ? entry.content.size() : 0;
        return total;
    }

    TreesInMemory inMemory_;
    TempTree tree_;
};

TEST_F(HostileTree, LinksAndFoldersWhereTargetsBelongLetNothingOutsideTheGameChange) {
    const DemoGame game(tree_);
    // Links at a copy target, a temp page and a deleted config file to files outside, two of them
    // read-only; and a linked folder above targets.
    for (const auto& [target, outside, mode] :
         {std::tuple{"cstrike/resource/GameMenu.res", "secret.res", 0640},
          std::tuple{"cstrike/motd_temp.html", "page.html", 0444},
          std::tuple{"cstrike/config.cfg", "user.cfg", 0444}}) {
        const std::string victim = tree_.write(std::string("outside/") + outside, outside);
        ::chmod(victim.c_str(), mode);
        fs::remove(game.path(target));
        fs::create_symlink(victim, game.path(target));
    }
    fs::rename(game.path("cstrike_russian/resource"), tree_.path("outside/resource"));
    fs::create_symlink(tree_.path("outside/resource"), game.path("cstrike_russian/resource"));
    // Folders at the paths of a copy target, a deleted config file and a temp page.
    const char* const folders[] = {"cstrike/resource/LoadingDialogVAC.res",
                                   "cstrike/userconfig.cfg", "cstrike_russian/motd_temp.html"};
    for (const char* target : folders) {
        fs::remove(game.path(target));
        writeFile(game.path(target) + "/inside.txt", "kept");
    }
    const Snapshot outside = snapshotOf(tree_.path("outside"));
    const Snapshot before = snapshotOf(game.folder());

    EXPECT_EQ(cleanAll(game.folder()), Verdict::PossiblyRemoved);

    EXPECT_EQ(differences(outside, snapshotOf(tree_.path("outside"))), "");
    const Snapshot after = snapshotOf(game.folder());
    const Entry& menu = after.at("cstrike/resource/GameMenu.res");
    EXPECT_EQ(menu.content, shipped("GameMenu.res")) << "a file in place of the link";
    EXPECT_EQ(menu.mode & 0222, 0u) << "the read-only option applies to the new file";
    EXPECT_EQ(after.at("cstrike/motd_temp.html").content, shipped("motd.txt"));
    EXPECT_FALSE(after.contains("cstrike/config.cfg")) << "the link is deleted, not its target";
    EXPECT_EQ(after.at("cstrike_russian/resource"), before.at("cstrike_russian/resource"));
    for (const std::string target : folders) {
        EXPECT_EQ(after.at(target), before.at(target)) << target;
        EXPECT_EQ(after.at(target + "/inside.txt"), before.at(target + "/inside.txt")) << target;
    }
}

// Root reads every folder whatever its permission bits, so the test lays that power down.
TEST_F(HostileTree, UnreadableFolderAddsNothingAndLeavesBothReadingsOfARunAlike) {
    const DemoGame game(tree_);
    const std::uint64_t readable = regularBytes(game.folder());
    const std::string locked = game.path("cstrike/locked");
    writeFile(locked + "/inner.wav", std::string(999, 'w'));
    ::chmod(locked.c_str(), 0);
    const AsOrdinaryReader reader;
    const int fd = ::open(locked.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0)
        ::close(fd);
    ASSERT_LT(fd, 0) << "the locked folder can still be read";

    EXPECT_EQ(PosixFileHost().folderSize(game.folder()), readable);
    EXPECT_EQ(cleanAll(game.folder()), Verdict::PossiblyRemoved);
    EXPECT_EQ(cleanAll(game.folder()), Verdict::NotRemoved);
    // Unreadable itself, the game folder has no total at all.
    ::chmod(game.folder().c_str(), 0);
    EXPECT_EQ(PosixFileHost().folderSize(game.folder()), std::nullopt);
}

TEST_F(HostileTree, CyrillicFolderNamesWithSpacesWorkThroughTheDriver) {
    const DemoGame game(tree_, "Мои игры/Counter Strike 1.6");
    const Outcome cleaned = runCli({"clean", game.folder(), "all", "--block-server-motd"});
    EXPECT_EQ(cleaned.exit, 0) << cleaned.err;
    EXPECT_EQ(contentOf(game.path("cstrike_russian/resource/UI/ScoreBoard.res")),
              shipped("ScoreBoard.res"));
    EXPECT_EQ(runCli({"size", game.folder()}).out,
              std::to_string(regularBytes(game.folder())) + "\n");
}

// A game folder so deep that some target paths, and the temporary files beside them, pass
// PATH_MAX. Targets are reached from the game folder one name at a time, so every one is cleaned,
// and the folder total still counts everything.
TEST_F(HostileTree, GameFolderNearPathMaxIsCleanedWhole) {
    constexpr std::size_t kGameLength = PATH_MAX - 36;
    std::string game = tree_.path("deep");
    while (game.size() + 201 < kGameLength)
        game += "/" + std::string(200, 'd');
    game += "/" + std::string(kGameLength - game.size() - 1, 'g');
    fs::create_directories(game);
    std::uint64_t total = 2;
    {
        const InFolder inGame(game);
        writeFile("hl.exe", "MZ");
        for (const Target& target : kDemoTargets) {
            writeFile(target.path, target.advert);
            total += target.advert.size();
        }
    }
    EXPECT_EQ(PosixFileHost().folderSize(game), total);

    EXPECT_EQ(cleanAll(game), Verdict::PossiblyRemoved);

    const InFolder inGame(game);
    for (const Target& target : kDemoTargets) {
        EXPECT_EQ(contentOf(target.path),
                  target.replacement.empty() ? "" : shipped(target.replacement))
            << target.path;
    }
    EXPECT_EQ(runCli({"size", game}).exit, 0);
}

TEST_F(HostileTree, GameFolderThatIsAFileOrMissingIsRefusedAndNothingChanges) {
    tree_.write("hl.exe", "MZ");
    const Snapshot before = snapshotOf(tree_.path());
    for (const std::string& folder : {tree_.path("hl.exe"), tree_.path("missing")}) {
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"clean", folder, "all", "--force"},
              std::vector<std::string>{"search", folder, "all"},
              std::vector<std::string>{"size", folder}}) {
            const Outcome result = runCli(args);
            EXPECT_EQ(result.exit, 2) << args[0] << " " << folder;
            EXPECT_NE(result.err.find("does not exist or is not a folder"), std::string::npos)
                << result.err;
            EXPECT_EQ(result.out, "");
        }
    }
    EXPECT_EQ(differences(before, snapshotOf(tree_.path())), "");
}

}  // namespace
}  // namespace morvane::test

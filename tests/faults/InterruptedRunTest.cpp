// A clean killed at any moment must leave every target whole: its old bytes or the whole
// replacement, never a truncated file or none at all. Large replacement files keep the driver busy
// copying long enough for the kills to land inside the copies.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "CliProcess.h"
#include "DemoGame.h"
#include "PosixFileHost.h"
#include "TreeSnapshot.h"

namespace morvane::test {
namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr std::size_t kReplacementSize = 20 << 20;
constexpr int kKills = 15;

// Distinct large replacement files, one per name, kept in memory to compare against.
std::map<std::string, std::string> writeReplacements(const TempTree& tree) {
    std::map<std::string, std::string> files;
    std::uint64_t x = 12345;
    for (const std::string& target : DemoGame::targets()) {
        const std::string name = replacementNameFor(target);
        if (name.empty() || files.contains(name))
            continue;
        std::string& content = files[name];
        content.resize(kReplacementSize + 4099 * files.size());
        for (std::size_t at = 0; at + sizeof x <= content.size(); at += sizeof x) {
            x = x * 6364136223846793005u + 1442695040888963407u;
            std::memcpy(content.data() + at, &x, sizeof x);
        }
        tree.write("files/" + name, content);
    }
    return files;
}

// Whether the file at `path` holds exactly `content`, read a piece at a time.
bool holds(const std::string& path, const std::string& content) {
    std::error_code ec;
    if (fs::file_size(path, ec) != content.size() || ec)
        return false;
    std::ifstream in(path, std::ios::binary);
    std::string piece(1 << 20, '\0');
    for (std::size_t at = 0; at < content.size(); at += piece.size()) {
        const std::size_t n = std::min(piece.size(), content.size() - at);
        if (!in.read(piece.data(), static_cast<std::streamsize>(n)) ||
            std::memcmp(piece.data(), content.data() + at, n) != 0) {
            return false;
        }
    }
    return true;
}

// Each target whose state is neither its advert nor its whole replacement (nor, for a config file,
// deleted), one per line.
std::string brokenTargets(const DemoGame& game, const std::map<std::string, std::string>& files) {
    std::string broken;
    for (const std::string& target : DemoGame::targets()) {
        const std::string path = game.folder() + "/" + target;
        const std::string name = replacementNameFor(target);
        const bool whole =
            holds(path, DemoGame::advertFor(target)) ||
            (name.empty() ? !fs::exists(fs::symlink_status(path)) : holds(path, files.at(name)));
        if (!whole)
            broken += "  " + target + "\n";
    }
    return broken;
}

std::vector<std::string> cleanArgs(const std::string& game, const std::string& files) {
    return {"clean",       game,      "all", "--block-server-motd",
            "--read-only", "--files", files, "--force"};
}

TEST(InterruptedRun, KilledCleanLeavesEveryTargetWholeAndTheNextRunFinishesTheJob) {
    TempTree tree;
    const auto files = writeReplacements(tree);
    const std::string filesFolder = tree.path("files");

    // How long a whole run takes here, on a game folder of its own, to spread the kills over it.
    Clock::duration whole;
    {
        const DemoGame timing(tree, "timing");
        const auto start = Clock::now();
        ASSERT_EQ(runCli(cleanArgs(timing.folder(), filesFolder)).exitCode, 0);
        whole = Clock::now() - start;
        fs::remove_all(timing.folder());
    }
    // On a slow machine the kills gather in the run's first seconds, which keeps the test short.
    const Clock::duration span = std::min<Clock::duration>(whole, std::chrono::seconds(2));

    const DemoGame game(tree);
    int killed = 0;
    // Latest kill first, so that the run after the last kill, the earliest, finds its leftovers.
    for (int k = kKills; k >= 1; --k) {
        game.resetTargets();
        const pid_t pid = startCli(cleanArgs(game.folder(), filesFolder));
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(span * k / (kKills + 1));
        ::kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        killed += WIFSIGNALED(status) ? 1 : 0;
        EXPECT_EQ(brokenTargets(game, files), "") << "after a kill at " << k << "/" << kKills + 1;
    }
    EXPECT_GT(killed, 0) << "every run ended before its kill: nothing was interrupted";

    const CliResult last = runCli(cleanArgs(game.folder(), filesFolder));
    EXPECT_EQ(last.exitCode, 0) << last.err;
    EXPECT_NE(last.out.find("Реклама возможно удалена"), std::string::npos) << last.out;
    for (const std::string& target : DemoGame::targets()) {
        const std::string name = replacementNameFor(target);
        const std::string path = game.folder() + "/" + target;
        if (name.empty()) {
            EXPECT_FALSE(fs::exists(fs::symlink_status(path))) << target;
        } else {
            EXPECT_TRUE(holds(path, files.at(name))) << target;
        }
    }
    EXPECT_EQ(pathsEndingIn(tree.path(), kPartialSuffix), "");
}

}  // namespace
}  // namespace morvane::test

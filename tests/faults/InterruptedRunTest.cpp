// A clean killed at any moment must leave every target whole: its old bytes or the whole
// replacement, never a truncated file or none at all. Large replacement files keep the driver busy
// copying long enough for the kills to land inside the copies.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "tests/faults/FaultSupport.h"

namespace morvane::test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kReplacementSize = 20 << 20;
constexpr int kKills = 15;

TEST(InterruptedRun, KilledCleanLeavesEveryTargetWholeAndTheNextRunFinishesTheJob) {
    TempTree tree;
    // Distinct large replacement files, kept in memory to compare against.
    std::map<std::string, std::string> files;
    std::uint64_t x = 12345;
    for (const Target& target : kDemoTargets) {
        if (target.replacement.empty() || files.contains(target.replacement))
            continue;
        std::string& content = files[target.replacement];
        content.resize(kReplacementSize + 4099 * files.size());
        for (std::size_t at = 0; at + sizeof x <= content.size(); at += sizeof x) {
            x = x * 6364136223846793005u + 1442695040888963407u;
            std::memcpy(content.data() + at, &x, sizeof x);
        }
        tree.write("files/" + target.replacement, content);
    }
    const DemoGame game(tree);
    const std::vector<std::string> clean{"clean",
                                         game.folder(),
                                         "all",
                                         "--force",
                                         "--no-backup",
                                         "--files",
                                         tree.path("files"),
                                         "--read-only",
                                         "--block-server-motd"};
    // The targets holding neither their whole replacement (for a config file: nothing) nor, unless
    // `finished`, their advert; one per line.
    auto unfinished = [&](bool finished) {
        std::string out;
        for (const Target& target : kDemoTargets) {
            const std::string path = game.path(target.path);
            std::error_code ec, gone;
            const auto size = fs::file_size(path, ec);
            auto holds = [&](const std::string& bytes) {
                if (ec || size != bytes.size())
                    return false;
                std::string now(bytes.size(), '\0');
                std::ifstream(path, std::ios::binary).read(now.data(), std::ssize(now));
                return now == bytes;
            };
            const bool replaced = target.replacement.empty()
                                      ? !fs::exists(fs::symlink_status(path, gone))
                                      : holds(files.at(target.replacement));
            if (!replaced && (finished || !holds(target.advert)))
                out += "  " + target.path + "\n";
        }
        return out;
    };

    // A whole run, timed to spread the kills over it; on a slow machine they gather in its first
    // seconds, which keeps the test short.
    const auto start = Clock::now();
    ASSERT_EQ(runCli(clean).exit, 0);
    const auto span = std::min<Clock::duration>(Clock::now() - start, std::chrono::seconds(2));

    int killed = 0;
    // Latest kill first, so that the run after the last kill, the earliest, finds its leftovers.
    for (int k = kKills; k >= 1; --k) {
        game.resetTargets();
        const pid_t pid = startCli(clean);
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(span * k / (kKills + 1));
        ::kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        killed += WIFSIGNALED(status) ? 1 : 0;
        EXPECT_EQ(unfinished(false), "") << "after a kill at " << k << "/" << kKills + 1;
    }
    EXPECT_GT(killed, 0) << "every run ended before its kill: nothing was interrupted";

    const Outcome last = runCli(clean);
    EXPECT_EQ(last.exit, 0) << last.err;
    EXPECT_EQ(unfinished(true), "");
    EXPECT_EQ(partialsIn(tree.path()), "");
}

}  // namespace
}  // namespace morvane::test

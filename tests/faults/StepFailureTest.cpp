// Every single host operation of a search or a removal run fails once, on a fresh game folder each
// time: the run must go on with every other operation, reach the verdict that failure calls for,
// and leave every file as the rules say.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>

#include "DemoGame.h"
#include "FaultyHost.h"
#include "PosixFileHost.h"
#include "RemovalRun.h"
#include "Search.h"
#include "TreeSnapshot.h"
#include "TreesInMemory.h"

namespace morvane::test {
namespace {

using Op = FaultyHost::Op;
using Calls = std::vector<FaultyHost::Call>;

// How the game folder looks when the swept run starts.
enum class Start {
    Adverts,         // adverts everywhere, the attribute set read-only as an earlier run left it
    AlreadyCleaned,  // right after a whole clean with the read-only option: nothing left to change
};

struct Outcome {
    Calls calls;
    Verdict verdict = Verdict::NotRemoved;
    Snapshot tree;  // the whole temporary tree: the game folder and what lies beside it
};

// One fresh temporary tree with a searched game folder, every group chosen and both further
// options set.
class Trial {
  public:
    explicit Trial(Start start) : game_(tree_) {
        PosixFileHost host;
        if (start == Start::AlreadyCleaned) {
            EngineRecord first = chooseAll();
            search(first, host);
            runRemoval(first, host);
        } else {
            game_.lockAttributeSet();
        }
        record_ = chooseAll();
        search(record_, host);
        initial_ = snapshotOf(tree_.path());
    }

    // Runs the removal once, failing the call with sequence number `failAt` if given.
    Outcome run(std::optional<std::size_t> failAt = std::nullopt) {
        PosixFileHost real;
        FaultyHost host(real);
        if (failAt)
            host.failCall(*failAt);
        const Verdict verdict = runRemoval(record_, host).verdict;
        return {insideTree(host.calls()), verdict, snapshotOf(tree_.path())};
    }

    std::string root() const { return tree_.path(); }
    const Snapshot& initial() const { return initial_; }
    const EngineRecord& record() const { return record_; }
    std::string gameKey(const std::string& target) const { return game_.relative(target); }

  private:
    // The calls with the tree's own path cut from theirs ("/game/cstrike/motd.txt"), so that runs
    // on different temporary trees compare and a path is also its key in a Snapshot.
    Calls insideTree(Calls calls) const {
        const std::string root = tree_.path();
        for (FaultyHost::Call& call : calls) {
            for (std::string* path : {&call.path, &call.source}) {
                if (path->rfind(root + "/", 0) == 0)
                    path->erase(0, root.size());
            }
        }
        return calls;
    }

    EngineRecord chooseAll() const {
        EngineRecord record;
        record.gameFolder = game_.folder();
        record.options.fill(true);
        record.blockServerMotd = true;
        record.readOnly = true;
        return record;
    }

    TempTree tree_;
    DemoGame game_;
    EngineRecord record_;
    Snapshot initial_;
};

std::vector<std::string> describe(const Calls& calls) {
    static const char* const kNames[] = {"lookup", "set attributes", "delete",
                                         "copy",   "folder size",    "program folder"};
    std::vector<std::string> out;
    for (const auto& call : calls) {
        out.push_back(std::string(kNames[static_cast<int>(call.op)]) +
                      (call.failed ? " (failed) " : " ") + call.source + " " + call.path);
    }
    return out;
}

// A call's path as a Snapshot key.
std::string key(const std::string& path) {
    return path.empty() || path[0] != '/' ? path : path.substr(1);
}

std::size_t firstOf(const Calls& calls, Op op, std::size_t from = 0) {
    for (std::size_t i = from; i < calls.size(); ++i) {
        if (calls[i].op == op)
            return i;
    }
    return calls.size();
}

// What a run whose call `failed` failed must leave: the clean run's tree, except where that one
// call had an effect.
Snapshot expectedTree(const Trial& trial, const Snapshot& clean, const Calls& baseline,
                      std::size_t failed) {
    Snapshot expected = clean;
    auto asItWas = [&](const std::string& path) {
        const std::string k = key(path);
        const auto before = trial.initial().find(k);
        if (before == trial.initial().end()) {
            expected.erase(k);
        } else {
            expected[k] = before->second;
        }
    };
    const FaultyHost::Call& call = baseline[failed];
    const bool beforeReadings = failed < firstOf(baseline, Op::FolderSize);
    switch (call.op) {
        case Op::SetAttributes:
            if (beforeReadings) {
                // Left read-only, the file can be neither replaced nor deleted.
                const auto before = trial.initial().find(key(call.path));
                if (before != trial.initial().end() && !(before->second.mode & S_IWUSR)) {
                    asItWas(call.path);
                }
            } else if (expected.contains(key(call.path))) {
                expected[key(call.path)].mode |= S_IWUSR;  // not made read-only again
            }
            break;
        case Op::Copy:
        case Op::Delete:
            asItWas(call.path);
            break;
        case Op::ProgramFolder:
            // Without the program's folder there is no replacement to copy: the copy is not made.
            asItWas(baseline[firstOf(baseline, Op::Copy, failed)].path);
            break;
        case Op::FolderSize:
        case Op::Lookup:
            break;
    }
    return expected;
}

Calls expectedCalls(const Calls& baseline, std::size_t failed) {
    Calls expected = baseline;
    expected[failed].failed = true;
    if (baseline[failed].op == Op::ProgramFolder) {
        expected.erase(expected.begin() +
                       static_cast<std::ptrdiff_t>(firstOf(baseline, Op::Copy, failed)));
    }
    return expected;
}

void sweepRemoval(Start start, Verdict cleanVerdict) {
    const TreesInMemory inMemory;
    Trial first(start);
    const Outcome clean = first.run();
    ASSERT_EQ(clean.verdict, cleanVerdict);
    ASSERT_EQ(clean.calls.size(),
              18 + 1 + 14 * 2 + 4 + 2 * 2 + 18 + 1 - (start == Start::AlreadyCleaned ? 4 : 0))
        << "a run over every found group, both pages and the read-only option";

    for (std::size_t i = 0; i < clean.calls.size(); ++i) {
        SCOPED_TRACE("failing call " + std::to_string(i) + ": " + describe(clean.calls)[i]);
        Trial trial(start);
        const Outcome outcome = trial.run(i);
        EXPECT_EQ(describe(outcome.calls), describe(expectedCalls(clean.calls, i)));
        EXPECT_EQ(outcome.verdict,
                  clean.calls[i].op == Op::FolderSize ? Verdict::PossiblyRemoved : cleanVerdict);
        EXPECT_EQ(differences(expectedTree(trial, clean.tree, clean.calls, i), outcome.tree), "");
        EXPECT_EQ(pathsEndingIn(trial.root(), kPartialSuffix), "");
    }
}

TEST(EveryStepFailsOnce, RemovalOverAdvertsGoesOnAndChangesOnlyWhatTheFailureAllows) {
    sweepRemoval(Start::Adverts, Verdict::PossiblyRemoved);
}

TEST(EveryStepFailsOnce, RemovalWithNothingLeftToChangeSaysRemovedOnlyWhenAReadingFails) {
    sweepRemoval(Start::AlreadyCleaned, Verdict::NotRemoved);
}

TEST(EveryStepFailsOnce, CleanRunOfTheSweepReplacesEveryTargetAndDeletesTheConfigs) {
    const TreesInMemory inMemory;
    Trial trial(Start::Adverts);
    const Outcome clean = trial.run();
    const Snapshot files = snapshotOf(*PosixFileHost().programFolder() + "/files");
    for (const std::string& target : DemoGame::targets()) {
        const std::string name = replacementNameFor(target);
        const auto found = clean.tree.find(trial.gameKey(target));
        if (name.empty()) {
            EXPECT_EQ(found, clean.tree.end()) << target;
            continue;
        }
        ASSERT_NE(found, clean.tree.end()) << target;
        EXPECT_EQ(found->second.content, files.at(name).content) << target;
    }
}

// The search: every lookup of a folder without target files fails once in turn.
TEST(EveryStepFailsOnce, FailedLookupCountsItsGroupAsFoundAndEndsItsLookups) {
    const TreesInMemory inMemory;
    TempTree tree;
    tree.write("game/hl.exe", "MZ");
    tree.makeDir("game/cstrike/resource/UI");
    tree.makeDir("game/cstrike_russian/resource/UI");
    auto searchOnce = [&](std::optional<std::size_t> failAt) {
        EngineRecord record;
        record.gameFolder = tree.path("game");
        record.options.fill(true);
        PosixFileHost real;
        FaultyHost host(real);
        if (failAt)
            host.failCall(*failAt);
        const auto status = search(record, host);
        return std::pair(status, host.calls());
    };
    const auto [cleanStatus, cleanCalls] = searchOnce(std::nullopt);
    ASSERT_EQ(cleanStatus, (std::array<bool, kGroupCount>{}));
    ASSERT_EQ(cleanCalls.size(), 18u);

    std::size_t i = 0;
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        const std::size_t groupStart = i;
        const std::size_t groupEnd = groupStart + searchSlots(static_cast<Group>(g)).size();
        for (; i < groupEnd; ++i) {
            SCOPED_TRACE("failing lookup " + std::to_string(i));
            const auto [status, calls] = searchOnce(i);
            std::array<bool, kGroupCount> expected{};
            expected[g] = true;
            EXPECT_EQ(status, expected);
            Calls expectedCalls = cleanCalls;
            expectedCalls[i].failed = true;
            expectedCalls.erase(expectedCalls.begin() + static_cast<std::ptrdiff_t>(i + 1),
                                expectedCalls.begin() + static_cast<std::ptrdiff_t>(groupEnd));
            EXPECT_EQ(describe(calls), describe(expectedCalls));
            EXPECT_TRUE(calls[i].failed);
        }
    }
}

}  // namespace
}  // namespace morvane::test

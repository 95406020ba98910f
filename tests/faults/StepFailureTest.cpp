// Every single host operation of a removal run, and every lookup of a search, fails once in turn,
// on a fresh game folder each time: the run goes on with every other operation, reaches the
// verdict that failure calls for, and leaves every file as the rules say. Then copies fail for
// real, part-way, as on a full disk.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include "engine/RemovalRun.h"
#include "engine/Search.h"
#include "tests/faults/FaultSupport.h"
#include "tests/support/FaultyHost.h"

namespace morvane::test {
namespace {

using Op = FaultyHost::Op;
using Calls = std::vector<FaultyHost::Call>;

std::vector<std::string> describe(const Calls& calls) {
    static const char* const kNames[] = {"lookup",      "set attributes", "delete",        "copy",
                                         "folder size", "program folder", "readable check"};
    std::vector<std::string> out;
    for (const auto& call : calls) {
        out.push_back(std::string(kNames[static_cast<int>(call.op)]) +
                      (call.failed ? " (failed) " : " ") + call.source + " " + call.path);
    }
    return out;
}

std::size_t firstOf(const Calls& calls, Op op, std::size_t from = 0) {
    while (from < calls.size() && calls[from].op != op)
        ++from;
    return from;
}

struct Outcome {
    Snapshot
        initial;  // the whole temporary tree before the run: the game folder and its neighbours
    Calls calls;  // their paths relative to the tree, as in a Snapshot
    Verdict verdict = Verdict::NotRemoved;
    Snapshot tree;         // the whole tree after the run
    std::string partials;  // temporary files left in it
};

// Runs the removal once on a fresh demo game searched with every group chosen, failing the call
// with sequence number `failAt` if given. The game holds adverts everywhere, the attribute set
// read-only as an earlier run left it, or (`cleaned`) has just been cleaned whole with the
// read-only option, with nothing left to change.
Outcome trial(bool cleaned, std::optional<std::size_t> failAt) {
    const TempTree tree;
    const DemoGame game(tree);
    EngineRecord record = everything(game.folder());
    PosixFileHost real;
    if (cleaned) {
        EngineRecord first = record;
        search(first, real);
        runRemovalInOwnRun(first, real);
    } else {
        for (std::size_t i = 0; i < kAttributeSetSize; ++i)
            ::chmod(game.path(kDemoTargets[i].path).c_str(), 0444);
    }
    search(record, real);
    Outcome outcome;
    outcome.initial = snapshotOf(tree.path());
    FaultyHost host(real);
    if (failAt)
        host.failCall(*failAt);
    outcome.verdict = runRemovalInOwnRun(record, host).verdict;
    outcome.calls = host.calls();
    for (FaultyHost::Call& call : outcome.calls) {
        if (call.path.starts_with(tree.path() + "/"))
            call.path.erase(0, tree.path().size() + 1);
    }
    outcome.tree = snapshotOf(tree.path());
    outcome.partials = partialsIn(tree.path());
    return outcome;
}

// What a run whose call `failed` failed must leave: the tree of the run without a failure, except
// where that one call had an effect.
Snapshot expectedTree(const Snapshot& initial, const Outcome& clean, std::size_t failed) {
    Snapshot expected = clean.tree;
    auto asItWas = [&](const std::string& path) {
        const auto before = initial.find(path);
        if (before == initial.end()) {
            expected.erase(path);
        } else {
            expected[path] = before->second;
        }
    };
    const FaultyHost::Call& call = clean.calls[failed];
    switch (call.op) {
        case Op::SetAttributes:
            if (failed < firstOf(clean.calls, Op::FolderSize)) {
                // Left read-only, the file can be neither replaced nor deleted.
                const auto before = initial.find(call.path);
                if (before != initial.end() && !(before->second.mode & S_IWUSR))
                    asItWas(call.path);
            } else if (expected.contains(call.path)) {
                expected[call.path].mode |= S_IWUSR;  // not made read-only again
            }
            break;
        case Op::Copy:
        case Op::Delete:
            asItWas(call.path);
            break;
        case Op::ProgramFolder:
            // Without the program's folder there is no replacement to copy: the copy is not made.
            asItWas(clean.calls[firstOf(clean.calls, Op::Copy, failed)].path);
            break;
        case Op::FolderSize:
        case Op::Lookup:
        case Op::ReadableCheck:   // made before a run, never by it
        case Op::SetPermissions:  // the driver's undo only, never the removal run
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

void sweepRemoval(bool cleaned) {
    const TreesInMemory inMemory;
    const Verdict cleanVerdict = cleaned ? Verdict::NotRemoved : Verdict::PossiblyRemoved;
    const Outcome clean = trial(cleaned, std::nullopt);
    ASSERT_EQ(clean.verdict, cleanVerdict);
    ASSERT_EQ(clean.calls.size(), 18 + 1 + 14 * 2 + 4 + 2 * 2 + 18 + 1 - (cleaned ? 4 : 0))
        << "a run over every found group, both pages and the read-only option";

    for (std::size_t i = 0; i < clean.calls.size(); ++i) {
        SCOPED_TRACE("failing call " + std::to_string(i) + ": " + describe(clean.calls)[i]);
        const Outcome outcome = trial(cleaned, i);
        EXPECT_EQ(describe(outcome.calls), describe(expectedCalls(clean.calls, i)));
        EXPECT_EQ(outcome.verdict,
                  clean.calls[i].op == Op::FolderSize ? Verdict::PossiblyRemoved : cleanVerdict);
        EXPECT_EQ(differences(expectedTree(outcome.initial, clean, i), outcome.tree), "");
        EXPECT_EQ(outcome.partials, "");
    }
}

TEST(EveryStepFailsOnce, RemovalOverAdvertsGoesOnAndChangesOnlyWhatTheFailureAllows) {
    sweepRemoval(false);
}

TEST(EveryStepFailsOnce, RemovalWithNothingLeftToChangeSaysRemovedOnlyWhenAReadingFails) {
    sweepRemoval(true);
}

// The search, in a game folder without target files: every lookup fails once in turn.
TEST(EveryStepFailsOnce, FailedLookupCountsItsGroupAsFoundAndEndsItsLookups) {
    const TreesInMemory inMemory;
    TempTree tree;
    tree.write("game/hl.exe", "MZ");
    auto searchOnce = [&](std::optional<std::size_t> failAt) {
        EngineRecord record = everything(tree.path("game"));
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

    for (std::size_t g = 0, groupStart = 0; g < kGroupCount; ++g) {
        const std::size_t groupEnd = groupStart + searchSlots(static_cast<Group>(g)).size();
        for (std::size_t i = groupStart; i < groupEnd; ++i) {
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
        }
        groupStart = groupEnd;
    }
}

// A file size limit far below any replacement stops every copy a few bytes in, as a full disk
// would: no target may be left cut short, nor a temporary file behind.
TEST(CopyCutShort, EveryTargetKeepsItsAdvertAndNoTemporaryFileStays) {
    const TreesInMemory inMemory;
    TempTree tree;
    const DemoGame game(tree);
    EngineRecord record = everything(game.folder());
    PosixFileHost host;
    search(record, host);
    rlimit unlimited{};
    ::getrlimit(RLIMIT_FSIZE, &unlimited);
    const rlimit limited{64, unlimited.rlim_max};
    const auto signalWas = ::signal(SIGXFSZ, SIG_IGN);  // a failed write, not a killed process
    ::setrlimit(RLIMIT_FSIZE, &limited);
    runRemovalInOwnRun(record, host);
    ::setrlimit(RLIMIT_FSIZE, &unlimited);
    ::signal(SIGXFSZ, signalWas);

    for (const Target& target : kDemoTargets) {
        if (!target.replacement.empty()) {
            EXPECT_EQ(contentOf(game.path(target.path)), target.advert) << target.path;
        }
    }
    EXPECT_EQ(partialsIn(tree.path()), "");
}

}  // namespace
}  // namespace morvane::test

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
#include "tests/support/OwnRun.h"

namespace morvane::test {
namespace {

using Op = FaultyHost::Op;
using Calls = std::vector<FaultyHost::Call>;

std::vector<std::string> describe(const Calls& calls) {
    static const char* const kNames[] = {"lookup",         "set attributes",  "delete",
                                         "copy",           "folder size",     "program folder",
                                         "readable check", "set permissions", "same content"};
    static_assert(std::size(kNames) == static_cast<std::size_t>(Op::SameContent) + 1,
                  "a name for every operation the host records");
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
    search(record, real);
    if (cleaned) {
        // The run under test comes directly after, without a search: a search would find nothing
        // left to treat.
        test::removeInOwnRun(record, real);
    } else {
        for (std::size_t i = 0; i < kAttributeSetSize; ++i)
            ::chmod(game.path(kDemoTargets[i].path).c_str(), 0444);
    }
    Outcome outcome;
    outcome.initial = snapshotOf(tree.path());
    FaultyHost host(real);
    if (failAt)
        host.failCall(*failAt);
    outcome.verdict = test::removeInOwnRun(record, host).verdict;
    outcome.calls = host.calls();
    for (FaultyHost::Call& call : outcome.calls) {
        if (call.path.starts_with(tree.path() + "/"))
            call.path.erase(0, tree.path().size() + 1);
    }
    outcome.tree = snapshotOf(tree.path());
    outcome.partials = partialsIn(tree.path());
    return outcome;
}

bool inAttributeSet(const std::string& path) {
    for (std::size_t i = 0; i < kAttributeSetSize; ++i) {
        if (path.ends_with("/" + kDemoTargets[i].path))
            return true;
    }
    return false;
}

// Whether the failure of call `failed` keeps the run from writing the target `path`: a failed copy,
// a copy without the program's folder, or a target left read-only by a failed unlocking.
bool keptFromWriting(const Snapshot& initial, const Calls& calls, std::size_t failed,
                     const std::string& path) {
    const FaultyHost::Call& call = calls[failed];
    switch (call.op) {
        case Op::Copy:
            return call.path == path;
        case Op::ProgramFolder:
            return calls[firstOf(calls, Op::Copy, failed)].path == path;
        case Op::SetAttributes: {
            const auto before = initial.find(path);
            return call.path == path && failed < firstOf(calls, Op::FolderSize) &&
                   before != initial.end() && !(before->second.mode & S_IWUSR);
        }
        default:
            return false;
    }
}

// The target that the failure of call `failed` keeps from being changed: that of a failed copy or
// deletion, or the copy that had no program's folder; empty for any other call.
std::string keptFromChange(const Calls& calls, std::size_t failed) {
    const FaultyHost::Call& call = calls[failed];
    if (call.op == Op::Copy || call.op == Op::Delete)
        return call.path;
    return call.op == Op::ProgramFolder ? calls[firstOf(calls, Op::Copy, failed)].path : "";
}

// Whether the run's unlocking changed `path`, which it must then give back when it does not
// change the file: a read-only file there before.
bool unlockedReadOnly(const Snapshot& initial, const std::string& path) {
    const auto before = initial.find(path);
    return inAttributeSet(path) && before != initial.end() && !(before->second.mode & S_IWUSR);
}

// What a run whose call `failed` failed must leave: the tree of the run without a failure, except
// where that one call had an effect.
Snapshot expectedTree(const Snapshot& initial, const Outcome& clean, std::size_t failed) {
    Snapshot expected = clean.tree;
    // Unlocked by the run, not changed, and so given back what it had.
    auto asItWas = [&](const std::string& path) {
        const auto before = initial.find(path);
        if (before == initial.end())
            expected.erase(path);
        else
            expected[path] = before->second;
    };
    const FaultyHost::Call& call = clean.calls[failed];
    switch (call.op) {
        case Op::SetAttributes:
            if (failed < firstOf(clean.calls, Op::FolderSize)) {
                // Left read-only, the file can be neither replaced nor deleted.
                if (keptFromWriting(initial, clean.calls, failed, call.path))
                    expected[call.path] = initial.at(call.path);
            } else if (expected.contains(call.path)) {
                expected[call.path].mode |= S_IWUSR;  // not made read-only again
            }
            break;
        case Op::Copy:
        case Op::Delete:
        case Op::ProgramFolder:
            // Without the program's folder there is no replacement to copy: the copy is not made.
            asItWas(keptFromChange(clean.calls, failed));
            break;
        case Op::FolderSize:
        case Op::Lookup:
        case Op::ReadableCheck:   // made before a run, never by it
        case Op::SameContent:     // the search's, never the removal run's
        case Op::SetPermissions:  // a giving back, which a run without failures never makes
            break;
    }
    return expected;
}

// The calls of the run without a failure, the failed one marked; without the copy that had no
// program's folder, and without the marking of a target that the failure kept from being written;
// with the giving back of a target that the failure kept from being changed, after the last copy.
Calls expectedCalls(const Snapshot& initial, const Calls& baseline, std::size_t failed) {
    Calls expected;
    const std::size_t lastReading = baseline.size() - 1;
    const std::string unchanged = keptFromChange(baseline, failed);
    std::size_t lastChange = 0;
    for (std::size_t i = 0; i < baseline.size(); ++i) {
        if (baseline[i].op == Op::Copy || baseline[i].op == Op::Delete)
            lastChange = i;
    }
    for (std::size_t i = 0; i < baseline.size(); ++i) {
        const FaultyHost::Call& call = baseline[i];
        if (i == lastChange + 1 && unlockedReadOnly(initial, unchanged))
            expected.push_back({Op::SetPermissions, unchanged, "", false});
        const bool copyWithoutFolder =
            baseline[failed].op == Op::ProgramFolder && i == firstOf(baseline, Op::Copy, failed);
        const bool marking = call.op == Op::SetAttributes && i > firstOf(baseline, Op::FolderSize);
        if (copyWithoutFolder ||
            (marking && i != failed && keptFromWriting(initial, baseline, failed, call.path)))
            continue;
        expected.push_back(call);
        expected.back().failed = i == failed;
    }
    EXPECT_EQ(baseline[lastReading].op, Op::FolderSize);
    return expected;
}

void sweepRemoval(bool cleaned) {
    const TreesInMemory inMemory;
    const Verdict cleanVerdict = cleaned ? Verdict::NotRemoved : Verdict::PossiblyRemoved;
    const Outcome clean = trial(cleaned, std::nullopt);
    ASSERT_EQ(clean.verdict, cleanVerdict);
    ASSERT_EQ(clean.calls.size(), 18 + 1 + 14 * 2 + 4 + 2 * 2 + 14 + 1)
        << "a run over every found group, both pages and the read-only option on what it wrote";

    for (std::size_t i = 0; i < clean.calls.size(); ++i) {
        SCOPED_TRACE("failing call " + std::to_string(i) + ": " + describe(clean.calls)[i]);
        const Outcome outcome = trial(cleaned, i);
        EXPECT_EQ(describe(outcome.calls), describe(expectedCalls(clean.initial, clean.calls, i)));
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
    test::removeInOwnRun(record, host);
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

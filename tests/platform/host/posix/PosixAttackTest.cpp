// Attacks that a POSIX host must stand, as a hostile local user would make them on a game folder
// cleaned by root: links swapped in at the exact moment of a change, two runs on one folder, and
// replacement files that are not files. The host's test hook picks the moment, not a timing race.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/EngineRecord.h"
#include "engine/RemovalRun.h"
#include "engine/Search.h"
#include "platform/host/posix/PosixFileHost.h"
#include "tests/platform/host/HostContract.h"
#include "tests/support/GameFolder.h"
#include "tests/support/OwnRun.h"
#include "tests/support/TempTree.h"

namespace morvane::test {
namespace {

namespace fs = std::filesystem;
using Moment = PosixFileHost::Moment;

// For each change, each component of its target's path and each moment of the change, a link to
// the same place in a tree outside is swapped in for that component, just then. Whatever the
// change makes of it, the tree outside stays as it was.
TEST(PosixAttack, ALinkSwappedInAtAnyComponentAtAnyMomentChangesNothingOutside) {
    const std::string kTarget = "cstrike/resource/GameMenu.res";
    const std::string components[] = {"cstrike", "cstrike/resource", kTarget};
    struct Case {
        Op op;
        Moment moment;
    };
    std::vector<Case> cases;
    for (Op op : {Op::Normal, Op::ReadOnly, Op::Delete, Op::Copy}) {
        for (Moment moment : {Moment::Reaching, Moment::Reached})
            cases.push_back({op, moment});
    }
    cases.push_back({Op::Copy, Moment::Writing});
    cases.push_back({Op::Copy, Moment::Renaming});

    for (const Case& c : cases) {
        for (const std::string& component : components) {
            SCOPED_TRACE(std::to_string(static_cast<int>(c.op)) + " at moment " +
                         std::to_string(static_cast<int>(c.moment)) + ", link at " + component);
            TempTree tree;
            // Normal must change a read-only file, the others a writable one.
            const mode_t mode = c.op == Op::Normal ? 0444 : 0644;
            for (const char* top : {"game", "outside"}) {
                ::chmod(tree.write(std::string(top) + "/" + kTarget, top).c_str(), mode);
            }
            const std::string source = tree.write("files/GameMenu.res", std::string(3 << 20, 'r'));
            const auto outside = snapshot(tree.path("outside"));

            PosixFileHost host;
            bool swapped = false;
            host.setTestHook([&](Moment moment, const std::string&) {
                if (moment != c.moment || std::exchange(swapped, true))
                    return;
                const std::string inGame = tree.path("game/" + component);
                fs::rename(inGame, inGame + ".moved");
                fs::create_symlink(tree.path("outside/" + component), inGame);
            });
            ASSERT_EQ(host.beginChanges(tree.path("game"), std::nullopt), RunStart::Begun);
            apply(host, c.op, tree.path("game/" + kTarget), source);
            host.endChanges();
            EXPECT_TRUE(swapped);
            EXPECT_EQ(snapshot(tree.path("outside")), outside);
        }
    }
}

// A pipe between a run in a child process and the test.
class Signal {
  public:
    Signal() { EXPECT_EQ(::pipe(ends_), 0); }
    ~Signal() {
        ::close(ends_[0]);
        ::close(ends_[1]);
    }
    void send(char what) const { [[maybe_unused]] auto n = ::write(ends_[1], &what, 1); }
    char receive() const {
        char what = 0;
        return ::read(ends_[0], &what, 1) == 1 ? what : '\0';
    }

  private:
    int ends_[2] = {-1, -1};
};

// Cleans the menu group of `game` in a child process whose host calls `hook`.
pid_t cleanMenuInChild(const std::string& game, const std::string& files,
                       PosixFileHost::TestHook hook) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        PosixFileHost host;
        host.setTestHook(std::move(hook));
        EngineRecord record;
        record.gameFolder = game;
        record.option(Group::Menu) = true;
        search(record, host);
        test::removeInOwnRun(record, host, ReplacementSource{files});
        ::_exit(0);
    }
    return pid;
}

// Run A stalls in its first copy until run B has started and, if it must, waits; then A finishes
// and B, stalled in a copy of its own, is killed. Every target holds the whole replacement, with
// the mode it had, and no temporary file is left.
TEST(PosixAttack, TwoRunsOnOneFolderWithTheSecondKilledInItsWriteLeaveEveryTargetWhole) {
    GameFolder game;
    game.putAd(Slot::gameMenuRuPath);
    game.putAd(Slot::gameMenuPath);
    TempTree files;
    // Longer than one stretch of a copy, so that a stalled copy has written only part of it.
    const std::string replacement(3 << 20, 'c');
    files.write("GameMenu.res", replacement);

    const Signal aWrites, aGoesOn, bEvents;
    bool stalled = false;  // A stalls in its first copy only
    const pid_t a = cleanMenuInChild(game.path(), files.path(), [&](Moment moment, auto&) {
        if (moment == Moment::Writing && !std::exchange(stalled, true)) {
            aWrites.send('W');
            aGoesOn.receive();
        }
    });
    ASSERT_EQ(aWrites.receive(), 'W');
    const pid_t b = cleanMenuInChild(game.path(), files.path(), [&](Moment moment, auto&) {
        if (moment == Moment::Waiting)
            bEvents.send('w');
        if (moment == Moment::Writing) {
            bEvents.send('W');
            for (;;)
                ::pause();
        }
    });
    const char first = bEvents.receive();  // B waits for A, or (without a lock) writes already
    aGoesOn.send('g');
    int status = 0;
    ASSERT_EQ(::waitpid(a, &status, 0), a);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    if (first == 'w') {
        EXPECT_EQ(bEvents.receive(), 'W');
    }
    ::kill(b, SIGKILL);
    ASSERT_EQ(::waitpid(b, &status, 0), b);

    for (Slot slot : {Slot::gameMenuRuPath, Slot::gameMenuPath}) {
        EXPECT_TRUE(game.read(slot) == replacement)
            << target(slot) << " holds " << game.read(slot).size() << " bytes";
        EXPECT_EQ(game.mode(slot), 0644U) << target(slot);
    }
    for (const auto& [path, state] : game.snapshot())
        EXPECT_EQ(path.find(kPartialSuffix), std::string::npos) << path;
}

// Opening a FIFO for reading waits for a writer, and a device is no file to copy: both are
// refused at once, before the target is touched, and neither is compared with a file.
TEST(PosixAttack, AFifoOrADeviceAsReplacementIsRefusedWithoutWaitingAndTheTargetKept) {
    TempTree tree;
    const std::string target = tree.write("game/cstrike/motd.txt", "advert");
    const std::string fifo = tree.path("files/fifo");
    const std::string device = tree.path("files/device");
    tree.makeDir("files");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    if (::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 5)) != 0)
        fs::create_symlink("/dev/zero", device);  // no right to make one: a link to one
    const auto before = snapshot(tree.path("game"));

    PosixFileHost host;
    ASSERT_EQ(host.beginChanges(tree.path("game"), std::nullopt), RunStart::Begun);
    for (const std::string& source : {fifo, device}) {
        EXPECT_FALSE(host.isReadableFile(source)) << source;
        EXPECT_FALSE(host.sameContent(source, target, 1 << 20)) << source;
        EXPECT_FALSE(host.sameContent(target, source, 1 << 20)) << source;
        const ChangeResult result = host.copyFile(source, target);
        EXPECT_FALSE(result.succeeded || result.absent) << source;
    }
    EXPECT_EQ(snapshot(tree.path("game")), before);
}

}  // namespace
}  // namespace morvane::test

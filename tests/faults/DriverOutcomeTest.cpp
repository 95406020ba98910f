// What the driver says, and how it exits, when a clean cannot do all it was asked: replacement
// files missing before it starts, targets that cannot be written, another run on the folder (an
// undo among them), and a report that cannot be written out.
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>

#include <cerrno>
#include <cstring>
#include <future>
#include <thread>

#include "core/clean/Clean.h"
#include "core/undo/Undo.h"
#include "platform/host/posix/PosixStateStore.h"
#include "platform/host/posix/PosixTreeReader.h"
#include "tests/faults/FaultSupport.h"

namespace morvane::test {
namespace {

bool mentions(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A replacement folder the clean cannot fully use: the run must not begin, with exit 1 when the
// folder beside the program is at fault (the installation is incomplete) and 2 when the user named
// it with --files.
TEST(DriverOutcome, MissingReplacementsStopACleanBeforeAnythingChanges) {
    enum class Files { None, Empty, Fifo, Folder, NoMotd, NoAutobuy };
    struct Case {
        Files files;
        bool named;  // given with --files, not the folder beside the program
        std::vector<std::string> groups;
        int exit;
        std::string says;  // a part of what it prints on stderr
    };
    const Case cases[] = {
        {Files::None,
         false,
         {"all"},
         1,
         "the installation is incomplete: files/GameMenu.res is missing"},
        {Files::Empty,
         false,
         {"all"},
         1,
         "the installation is incomplete: files/autobuy.txt is missing"},
        {Files::Fifo, false, {"menu"}, 1, "files/GameMenu.res is unreadable"},
        {Files::Empty, true, {"all"}, 2, "/GameMenu.res' is missing"},
        {Files::Folder, true, {"menu"}, 2, "/GameMenu.res' is missing"},
        {Files::NoMotd, true, {"menu", "--block-server-motd"}, 2, "/motd.txt' is missing"},
        {Files::NoAutobuy, true, {"menu", "loading", "scoreboard", "config", "motd"}, 0, ""},
    };
    const TreesInMemory inMemory;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        const TempTree tree;
        const DemoGame game(tree);
        // A copy of the driver, so that the folder beside it is the test's to lay out.
        const std::string program = tree.path("bin/morvane-cli");
        fs::create_directories(tree.path("bin"));
        fs::copy_file(MORVANE_CLI, program);
        const std::string files = tree.path(c.named ? "named" : "bin/files");
        if (c.files != Files::None) {
            for (const char* name :
                 {"GameMenu.res", "LoadingDialog.res", "LoadingDialogNoBanner.res",
                  "LoadingDialogVAC.res", "ScoreBoard.res", "motd.txt", "autobuy.txt"}) {
                writeFile(files + "/" + name, std::string("clean ") + name);
            }
        }
        const std::string menu = files + "/GameMenu.res";
        if (c.files == Files::Empty) {
            fs::remove_all(files);
            fs::create_directories(files);
        } else if (c.files == Files::Fifo) {
            fs::remove(menu);
            ASSERT_EQ(::mkfifo(menu.c_str(), 0644), 0);
        } else if (c.files == Files::Folder) {
            fs::remove(menu);
            fs::create_directories(menu);
        } else if (c.files == Files::NoMotd || c.files == Files::NoAutobuy) {
            fs::remove(files + (c.files == Files::NoMotd ? "/motd.txt" : "/autobuy.txt"));
        }
        std::vector<std::string> args{"clean", game.folder(), "--read-only"};
        args.insert(args.end(), c.groups.begin(), c.groups.end());
        if (c.named)
            args.insert(args.end(), {"--files", files});
        const Snapshot before = snapshotOf(game.folder());

        const Outcome result = runProgram(program, args);
        EXPECT_EQ(result.exit, c.exit) << result.err;
        EXPECT_TRUE(mentions(result.err, c.says)) << result.err;
        if (c.exit != 0) {
            EXPECT_EQ(result.out, "");
            EXPECT_EQ(differences(before, snapshotOf(game.folder())), "");
        }
    }
}

// A copy cut short, as on a full disk, fails for the large replacement only: those targets are
// listed as failed with the reason, on stderr and in the report, and the exit status is 1; the
// rest is treated and reported as such.
TEST(DriverOutcome, TargetsThatCouldNotBeTreatedAreListedWithWhyAndMakeTheExitOne) {
    const TreesInMemory inMemory;
    const TempTree tree;
    const DemoGame game(tree);
    for (const Target& target : kDemoTargets) {
        if (!target.replacement.empty())
            writeFile(tree.path("files/" + target.replacement), "clean " + target.replacement);
    }
    writeFile(tree.path("files/GameMenu.res"), std::string(300000, 'm'));  // past the limit

    // The limit is passed on to the driver; a write past it fails instead of killing it. The
    // backup, of every advert in one file, stays within it.
    rlimit unlimited{};
    ::getrlimit(RLIMIT_FSIZE, &unlimited);
    const rlimit limited{192 * 1024, unlimited.rlim_max};
    const auto signalWas = ::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limited);
    const TempTree output;
    const pid_t pid = startCli({"clean", game.folder(), "all", "--block-server-motd", "--files",
                                tree.path("files"), "--json"},
                               output.path("out"), output.path("err"));
    ::setrlimit(RLIMIT_FSIZE, &unlimited);
    ::signal(SIGXFSZ, signalWas);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << output.read("err");

    const std::string out = output.read("out");
    const std::string err = output.read("err");
    for (const Target& target : kDemoTargets) {
        const std::string path = game.path(target.path);
        const bool failed = target.replacement == "GameMenu.res";
        const std::string action = failed                       ? "failed"
                                   : target.replacement.empty() ? "deleted"
                                                                : "replaced";
        EXPECT_TRUE(mentions(out, "{\"path\":\"" + path + "\",\"action\":\"" + action + "\""))
            << path;
        EXPECT_EQ(mentions(err, "could not treat " + path + ": copy: "), failed) << err;
        if (failed) {
            EXPECT_EQ(contentOf(path), target.advert);
        }
    }
    EXPECT_TRUE(mentions(err, std::strerror(EFBIG))) << err;
    EXPECT_TRUE(mentions(out, "\"verdict\":\"possibly removed\"")) << out;
}

// On a file system mounted read-only every change fails: every target is listed and the exit
// status is 1, though the total did not change. Needs the right to mount, in a mount namespace of
// this test's own.
TEST(DriverOutcome, OnAReadOnlyFileSystemEveryTargetIsListedAsNotTreated) {
    const TempTree tree;
    const std::string mount = tree.path("mount");
    fs::create_directories(mount);
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("morvane-test", mount.c_str(), "tmpfs", 0, "size=16m") != 0) {
        GTEST_SKIP() << "cannot mount a file system here (" << std::strerror(errno)
                     << "): needs root with CAP_SYS_ADMIN";
    }
    struct Unmount {
        std::string at;
        ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
    } unmount{mount};
    const DemoGame game(tree, "mount/game");
    ASSERT_EQ(::mount(nullptr, mount.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0)
        << std::strerror(errno);
    const Snapshot before = snapshotOf(game.folder());

    const Outcome result =
        runCli({"clean", game.folder(), "all", "--block-server-motd", "--read-only"});
    EXPECT_EQ(result.exit, 1);
    for (const Target& target : kDemoTargets) {
        EXPECT_TRUE(mentions(result.err, "could not treat " + game.path(target.path) + ": "))
            << target.path << "\n"
            << result.err;
    }
    EXPECT_TRUE(mentions(result.out, "Advertising not removed")) << result.out;
    EXPECT_EQ(differences(before, snapshotOf(game.folder())), "");
}

// A report that did not get out whole is a failure, whatever the run did.
TEST(DriverOutcome, AReportThatCannotBeWrittenMakesTheExitOne) {
    const TreesInMemory inMemory;
    const TempTree tree;
    const DemoGame game(tree);
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const Case cases[] = {
        {{"clean", game.folder(), "all", "--json"}, "/dev/full"},
        {{"search", game.folder(), "all"}, "/dev/full"},
        {{"search", game.folder(), "all", "--json"}, kClosed},
        {{"size", game.folder()}, kClosed},
        {{"clean", game.folder(), "all"}, kClosed},
    };
    for (const Case& c : cases) {
        const Outcome result = runProgram(MORVANE_CLI, c.args, outputTo(c.out));
        EXPECT_EQ(result.exit, 1) << c.args[0] << " to " << c.out;
    }
}

// While another run holds the game folder, a clean waits for it, then gives up changing nothing.
TEST(DriverOutcome, ACleanWhileAnotherRunHoldsTheFolderGivesUpAndChangesNothing) {
    const TreesInMemory inMemory;
    const TempTree tree;
    const DemoGame game(tree);
    PosixFileHost other;
    ASSERT_EQ(other.beginChanges(game.folder(), std::nullopt), RunStart::Begun);
    const Snapshot before = snapshotOf(game.folder());

    const Outcome result = runCli({"clean", game.folder(), "all", "--json"});
    EXPECT_EQ(result.exit, 1);
    EXPECT_TRUE(mentions(result.err, "another run is in progress")) << result.err;
    EXPECT_EQ(result.out,
              "{\"game\":\"" + game.folder() + "\",\"stop\":\"busy\",\"reason\":\"\"}\n");
    EXPECT_EQ(differences(before, snapshotOf(game.folder())), "");
    other.endChanges();
}

// An undo started while a clean holds the folder waits for it before it reads any backup: it then
// finds the clean's finished one, and puts back what the clean changed.
TEST(DriverOutcome, AnUndoStartedDuringACleanWaitsForItBeforeReadingItsBackup) {
    using Moment = PosixFileHost::Moment;
    const TreesInMemory inMemory;
    const TempTree tree;
    const DemoGame game(tree);
    const Snapshot before = snapshotOf(game.folder());
    PosixTreeReader reader;
    PosixStateStore store;
    const UserPlaces places{{}, tree.path("backups")};
    const auto kLongEnough = std::chrono::seconds(30);

    std::promise<void> cleanStalls, undoWaits;
    std::shared_future<void> undoWaiting = undoWaits.get_future().share();
    PosixFileHost cleanHost, undoHost;
    bool stalled = false;
    cleanHost.setTestHook([&](Moment moment, const std::string&) {
        if (moment == Moment::Reached && !std::exchange(stalled, true)) {
            cleanStalls.set_value();
            undoWaiting.wait_for(kLongEnough);
        }
    });
    undoHost.setTestHook([&](Moment moment, const std::string&) {
        if (moment == Moment::Waiting)
            undoWaits.set_value();
    });
    clean::Request request;
    request.game = game.folder();
    request.groups.fill(true);
    request.now = 1714557600;
    clean::Result cleaned;
    std::thread cleaning([&] {
        Seams seams{cleanHost, reader, store, places};
        cleaned = clean::run(seams, request);
    });
    ASSERT_EQ(cleanStalls.get_future().wait_for(kLongEnough), std::future_status::ready);
    undo::Result undone;
    std::thread undoing([&] {
        Seams seams{undoHost, reader, store, places};
        undone = undo::run(seams, {game.folder(), std::nullopt, false, request.now + 60});
    });
    cleaning.join();
    undoing.join();
    EXPECT_TRUE(cleaned.done());
    EXPECT_EQ(undone.stop, Stop::None) << undone.changed.size() << " changed since";
    EXPECT_EQ(differences(before, snapshotOf(game.folder())), "");
}

}  // namespace
}  // namespace morvane::test

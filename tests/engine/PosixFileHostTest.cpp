// The POSIX file operations, each on a real temporary tree.
#include "PosixFileHost.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "GameFolder.h"
#include "TempTree.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;
using test::modeOf;
using test::TempTree;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

std::vector<std::string> entriesOf(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

class PosixFileHostTest : public ::testing::Test {
  protected:
    PosixFileHost host;
    TempTree tree;
};

// --- Lookup
// ---------------------------------------------------------------------------------------

TEST_F(PosixFileHostTest, PresentMeansAnEntryOfThatNameThatIsNotAFolder) {
    tree.write("cstrike/motd.txt", "page");
    tree.write("cstrike/config.cfg", "cfg");
    ::chmod(tree.path("cstrike/config.cfg").c_str(), 0444);
    tree.makeDir("cstrike/resource/GameMenu.res");
    fs::create_symlink(tree.path("cstrike/motd.txt"), tree.path("cstrike/autobuy.txt"));

    EXPECT_EQ(host.lookupFile(tree.path("cstrike/motd.txt")), Lookup::Present);
    EXPECT_EQ(host.lookupFile(tree.path("cstrike/config.cfg")), Lookup::Present);
    EXPECT_EQ(host.lookupFile(tree.path("cstrike/autobuy.txt")), Lookup::Present);
    EXPECT_EQ(host.lookupFile(tree.path("cstrike/resource/GameMenu.res")), Lookup::Absent);
    EXPECT_EQ(host.lookupFile(tree.path("cstrike/userconfig.cfg")), Lookup::Absent);
    EXPECT_EQ(host.lookupFile(tree.path("cstrike_russian/motd.txt")), Lookup::Absent);
    EXPECT_EQ(host.lookupFile(tree.path("cstrike/motd.txt/motd.txt")), Lookup::Absent);
    EXPECT_EQ(host.lookupFile(""), Lookup::Absent);
    EXPECT_EQ(host.separator(), '/');
}

TEST_F(PosixFileHostTest, ANameMatchesIgnoringCaseOnlyWhenOneEntryFits) {
    tree.write("cstrike/Resource/UI/scoreboard.res", "board");
    tree.write("cstrike/resource2/gamemenu.res", "one");
    tree.write("cstrike/resource2/GAMEMENU.RES", "two");
    EXPECT_EQ(host.lookupFile(tree.path("cstrike/resource/UI/ScoreBoard.res")), Lookup::Present);
    EXPECT_EQ(host.lookupFile(tree.path("CSTRIKE/RESOURCE/ui/SCOREBOARD.RES")), Lookup::Present);
    EXPECT_EQ(host.lookupFile(tree.path("cstrike/resource2/GameMenu.res")), Lookup::Absent);
}

// --- Case: every operation acts on the one existing entry
// -----------------------------------------

TEST_F(PosixFileHostTest, OperationsActOnTheEntryThatMatchesIgnoringCase) {
    tree.write("files/GameMenu.res", "clean");
    tree.write("cstrike/Resource/gamemenu.res", "advert");
    tree.write("cstrike/Resource/ui/scoreboard.res", "board");
    tree.write("cstrike/CONFIG.CFG", "cfg");

    EXPECT_TRUE(
        host.setAttributes(tree.path("cstrike/resource/GameMenu.res"), Attributes::ReadOnly));
    EXPECT_EQ(modeOf(tree.path("cstrike/Resource/gamemenu.res")) & 0222, 0U);
    EXPECT_TRUE(host.setAttributes(tree.path("cstrike/resource/GameMenu.res"), Attributes::Normal));

    EXPECT_TRUE(
        host.copyFile(tree.path("files/GameMenu.res"), tree.path("cstrike/resource/GameMenu.res")));
    EXPECT_THAT(entriesOf(tree.path("cstrike/Resource")),
                UnorderedElementsAre("gamemenu.res", "ui"));
    EXPECT_EQ(tree.read("cstrike/Resource/gamemenu.res"), "clean");

    // A file that does not exist in any case is created in the folder that does.
    EXPECT_TRUE(host.copyFile(tree.path("files/GameMenu.res"),
                              tree.path("cstrike/resource/LoadingDialog.res")));
    EXPECT_EQ(tree.read("cstrike/Resource/LoadingDialog.res"), "clean");
    EXPECT_THAT(entriesOf(tree.path("cstrike")), UnorderedElementsAre("Resource", "CONFIG.CFG"));

    EXPECT_TRUE(host.deleteFile(tree.path("cstrike/config.cfg")));
    EXPECT_FALSE(tree.exists("cstrike/CONFIG.CFG"));
}

TEST_F(PosixFileHostTest, AnExactNameWinsOverCaseVariants) {
    tree.write("files/motd.txt", "clean");
    tree.write("cstrike/motd.txt", "exact");
    tree.write("cstrike/MOTD.TXT", "variant");
    EXPECT_TRUE(host.copyFile(tree.path("files/motd.txt"), tree.path("cstrike/motd.txt")));
    EXPECT_EQ(tree.read("cstrike/motd.txt"), "clean");
    EXPECT_EQ(tree.read("cstrike/MOTD.TXT"), "variant");
}

// --- Attributes
// -----------------------------------------------------------------------------------

TEST_F(PosixFileHostTest, ReadOnlyRemovesEveryWriteBitAndNormalGivesTheOwnerOneBack) {
    struct Case {
        mode_t start, readOnly, normal;
    };
    const Case cases[] = {
        {0644, 0444, 0644}, {0666, 0444, 0644}, {0775, 0555, 0755},
        {0600, 0400, 0600}, {0400, 0400, 0600}, {0200, 0000, 0200},
    };
    const std::string file = tree.write("cstrike/motd.txt", "page");
    for (const Case& c : cases) {
        ::chmod(file.c_str(), c.start);
        EXPECT_TRUE(host.setAttributes(file, Attributes::ReadOnly));
        EXPECT_EQ(modeOf(file), c.readOnly) << std::oct << c.start;
        EXPECT_TRUE(host.setAttributes(file, Attributes::Normal));
        EXPECT_EQ(modeOf(file), c.normal) << std::oct << c.start;
    }
    // Normal on a file that is already writable changes nothing.
    ::chmod(file.c_str(), 0640);
    EXPECT_TRUE(host.setAttributes(file, Attributes::Normal));
    EXPECT_EQ(modeOf(file), 0640U);
}

TEST_F(PosixFileHostTest, AttributesFailWhereThereIsNoFileAndNeverReachThroughALink) {
    tree.makeDir("cstrike/resource");
    ::chmod(tree.path("cstrike/resource").c_str(), 0755);
    const std::string target = tree.write("outside/victim.txt", "victim");
    ::chmod(target.c_str(), 0644);
    fs::create_symlink(target, tree.path("cstrike/motd.txt"));

    EXPECT_FALSE(host.setAttributes("", Attributes::Normal));
    EXPECT_FALSE(host.setAttributes(tree.path("cstrike/config.cfg"), Attributes::Normal));
    EXPECT_FALSE(host.setAttributes(tree.path("cstrike/resource"), Attributes::ReadOnly));
    EXPECT_EQ(modeOf(tree.path("cstrike/resource")), 0755U);
    host.setAttributes(tree.path("cstrike/motd.txt"), Attributes::ReadOnly);
    EXPECT_EQ(modeOf(target), 0644U);
}

// --- Delete
// ---------------------------------------------------------------------------------------

TEST_F(PosixFileHostTest, DeleteRemovesAFileTheOwnerMayWrite) {
    const std::string file = tree.write("cstrike/config.cfg", "cfg");
    ::chmod(file.c_str(), 0200);
    EXPECT_TRUE(host.deleteFile(file));
    EXPECT_FALSE(tree.exists("cstrike/config.cfg"));
    EXPECT_FALSE(host.deleteFile(file));
    EXPECT_FALSE(host.deleteFile(""));
}

TEST_F(PosixFileHostTest, DeleteRefusesAFileWithoutTheOwnersWriteBitWhoeverRunsIt) {
    const std::string file = tree.write("cstrike/config.cfg", "cfg");
    for (mode_t mode : {0444, 0466, 0000}) {
        ::chmod(file.c_str(), mode);
        EXPECT_FALSE(host.deleteFile(file)) << std::oct << mode;
        EXPECT_EQ(tree.read("cstrike/config.cfg"), "cfg");
    }
}

TEST_F(PosixFileHostTest, DeleteLeavesFoldersAndRemovesALinkNotItsTarget) {
    tree.makeDir("cstrike/config.cfg");
    EXPECT_FALSE(host.deleteFile(tree.path("cstrike/config.cfg")));
    EXPECT_TRUE(fs::is_directory(tree.path("cstrike/config.cfg")));

    const std::string target = tree.write("outside/victim.cfg", "victim");
    ::chmod(target.c_str(), 0444);
    fs::create_symlink(target, tree.path("cstrike/userconfig.cfg"));
    EXPECT_TRUE(host.deleteFile(tree.path("cstrike/userconfig.cfg")));
    EXPECT_FALSE(tree.exists("cstrike/userconfig.cfg"));
    EXPECT_EQ(tree.read("outside/victim.cfg"), "victim");
}

// --- Copy
// -----------------------------------------------------------------------------------------

TEST_F(PosixFileHostTest, CopyWritesTheSourceByteForByte) {
    std::string binary;
    for (std::size_t i = 0; i < (1U << 20) + 17; ++i)
        binary += static_cast<char>(i * 7 % 256);
    const std::string big = tree.write("files/GameMenu.res", binary);
    const std::string empty = tree.write("files/motd.txt", "");
    tree.makeDir("cstrike/resource");

    EXPECT_TRUE(host.copyFile(big, tree.path("cstrike/resource/GameMenu.res")));
    EXPECT_EQ(tree.read("cstrike/resource/GameMenu.res"), binary);
    tree.write("cstrike/motd.txt", "a long advert page");
    EXPECT_TRUE(host.copyFile(empty, tree.path("cstrike/motd.txt")));
    EXPECT_EQ(tree.read("cstrike/motd.txt"), "");
}

TEST_F(PosixFileHostTest, CopyKeepsAnExistingTargetsModeAndGivesANewOneTheUsualMode) {
    const std::string source = tree.write("files/motd.txt", "clean");
    ::chmod(source.c_str(), 0600);
    const std::string existing = tree.write("cstrike/motd.txt", "advert");
    ::chmod(existing.c_str(), 0751);
    EXPECT_TRUE(host.copyFile(source, existing));
    EXPECT_EQ(modeOf(existing), 0751U);

    const mode_t mask = ::umask(022);
    const bool created = host.copyFile(source, tree.path("cstrike/motd_temp.html"));
    ::umask(mask);
    EXPECT_TRUE(created);
    EXPECT_EQ(modeOf(tree.path("cstrike/motd_temp.html")), 0644U);
}

TEST_F(PosixFileHostTest, CopyKeepsTheOwnerOfTheFileItReplaces) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give a file to another user";
    const std::string source = tree.write("files/motd.txt", "clean");
    const std::string target = tree.write("cstrike/motd_temp.html", "advert");
    ASSERT_EQ(::chown(target.c_str(), 4321, 4321), 0);
    ::chmod(target.c_str(), 0600);
    EXPECT_TRUE(host.copyFile(source, target));
    struct stat st;
    ASSERT_EQ(::lstat(target.c_str(), &st), 0);
    // Run by root over a player's game folder, a replaced file must stay the player's: a 0600
    // file handed to root could no longer be read by the game.
    EXPECT_EQ(st.st_uid, 4321U);
    EXPECT_EQ(st.st_gid, 4321U);
    EXPECT_EQ(st.st_mode & 07777, 0600U);
}

TEST_F(PosixFileHostTest, AFailedCopyLeavesTheDestinationExactlyAsItWas) {
    const std::string source = tree.write("files/motd.txt", "clean");
    tree.makeDir("files/folder.txt");
    const std::string target = tree.write("cstrike/motd.txt", "advert");
    tree.makeDir("cstrike/motd_temp.html");
    const auto before = test::snapshot(tree.path("cstrike"));

    EXPECT_FALSE(host.copyFile(tree.path("files/missing.txt"), target));
    EXPECT_FALSE(host.copyFile(tree.path("files/folder.txt"), target));
    EXPECT_FALSE(host.copyFile("", target));
    EXPECT_FALSE(host.copyFile(source, ""));
    EXPECT_FALSE(host.copyFile(source, tree.path("cstrike/motd_temp.html")));
    EXPECT_FALSE(host.copyFile(source, tree.path("cstrike/resource/GameMenu.res")));
    EXPECT_FALSE(host.copyFile(source, tree.path("cstrike_russian/motd.txt")));
    EXPECT_EQ(test::snapshot(tree.path("cstrike")), before);
    EXPECT_FALSE(tree.exists("cstrike_russian"));
}

TEST_F(PosixFileHostTest, CopyRefusesADestinationWithoutTheOwnersWriteBitWhoeverRunsIt) {
    const std::string source = tree.write("files/motd.txt", "clean");
    const std::string target = tree.write("cstrike/motd.txt", "advert");
    for (mode_t mode : {0444, 0466, 0000}) {
        ::chmod(target.c_str(), mode);
        EXPECT_FALSE(host.copyFile(source, target)) << std::oct << mode;
        EXPECT_EQ(tree.read("cstrike/motd.txt"), "advert");
        EXPECT_EQ(modeOf(target), mode);
    }
    EXPECT_THAT(entriesOf(tree.path("cstrike")), ElementsAre("motd.txt"));
}

TEST_F(PosixFileHostTest, CopyReplacesALinkAtTheDestinationAndNeverWritesThroughIt) {
    const std::string source = tree.write("files/GameMenu.res", "clean");
    const std::string victim = tree.write("outside/victim.res", "victim");
    ::chmod(victim.c_str(), 0644);
    tree.makeDir("cstrike");
    fs::create_symlink(victim, tree.path("cstrike/GameMenu.res"));
    fs::create_symlink(tree.path("outside/nothing"), tree.path("cstrike/motd.txt"));

    EXPECT_TRUE(host.copyFile(source, tree.path("cstrike/GameMenu.res")));
    EXPECT_TRUE(host.copyFile(source, tree.path("cstrike/motd.txt")));
    for (const char* name : {"cstrike/GameMenu.res", "cstrike/motd.txt"}) {
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(tree.path(name)))) << name;
        EXPECT_EQ(tree.read(name), "clean");
    }
    EXPECT_EQ(tree.read("outside/victim.res"), "victim");
    EXPECT_EQ(modeOf(victim), 0644U);
    EXPECT_FALSE(tree.exists("outside/nothing"));
}

TEST_F(PosixFileHostTest, CopyLeavesNoTemporaryFileBehind) {
    const std::string source = tree.write("files/motd.txt", "clean");
    // The leftover of a copy that was interrupted earlier.
    tree.write(std::string("cstrike/.motd.txt") + kPartialSuffix, "half");
    EXPECT_TRUE(host.copyFile(source, tree.path("cstrike/motd.txt")));
    EXPECT_THAT(entriesOf(tree.path("cstrike")), ElementsAre("motd.txt"));

    ::chmod(tree.path("cstrike/motd.txt").c_str(), 0444);
    EXPECT_FALSE(host.copyFile(source, tree.path("cstrike/motd.txt")));
    EXPECT_FALSE(host.copyFile(tree.path("files/missing.txt"), tree.path("cstrike/config.cfg")));
    EXPECT_THAT(entriesOf(tree.path("cstrike")), ElementsAre("motd.txt"));
}

// --- Confinement
// ----------------------------------------------------------------------------------

TEST_F(PosixFileHostTest, ChangesAreConfinedToTheGameFolderReadsAreNot) {
    const std::string source = tree.write("files/motd.txt", "clean");
    tree.write("game/cstrike/motd.txt", "advert");
    tree.write("game2/cstrike/motd.txt", "sibling");
    tree.write("outside/cstrike/motd.txt", "outside");
    fs::create_directory_symlink(tree.path("outside/cstrike"), tree.path("game/cstrike_russian"));
    const auto outside = test::snapshot(tree.path("outside"));
    const auto sibling = test::snapshot(tree.path("game2"));
    host.confineChangesTo(tree.path("game"));

    for (const std::string& path :
         {tree.path("game2/cstrike/motd.txt"), tree.path("game/../game2/cstrike/motd.txt"),
          tree.path("game/cstrike_russian/motd.txt"), tree.path("outside/cstrike/motd.txt")}) {
        EXPECT_FALSE(host.setAttributes(path, Attributes::ReadOnly)) << path;
        EXPECT_FALSE(host.copyFile(source, path)) << path;
        EXPECT_FALSE(host.deleteFile(path)) << path;
        EXPECT_EQ(host.lookupFile(path), Lookup::Present) << path;
    }
    EXPECT_FALSE(host.copyFile(source, tree.path("game/cstrike_russian/config.cfg")));
    EXPECT_EQ(test::snapshot(tree.path("outside")), outside);
    EXPECT_EQ(test::snapshot(tree.path("game2")), sibling);

    // Inside, and directly in the game folder, changes go through.
    EXPECT_TRUE(host.copyFile(source, tree.path("game/cstrike/motd.txt")));
    EXPECT_TRUE(host.copyFile(source, tree.path("game/motd.txt")));
    EXPECT_TRUE(host.setAttributes(tree.path("game/motd.txt"), Attributes::ReadOnly));
    EXPECT_TRUE(host.setAttributes(tree.path("game/motd.txt"), Attributes::Normal));
    EXPECT_TRUE(host.deleteFile(tree.path("game/motd.txt")));
    EXPECT_EQ(tree.read("game/cstrike/motd.txt"), "clean");
}

TEST_F(PosixFileHostTest, AGameFolderGivenThroughALinkIsItsTarget) {
    const std::string source = tree.write("files/motd.txt", "clean");
    tree.write("real/cstrike/motd.txt", "advert");
    fs::create_directory_symlink(tree.path("real"), tree.path("game"));
    host.confineChangesTo(tree.path("game") + "/");
    EXPECT_TRUE(host.copyFile(source, tree.path("game") + "//cstrike/motd.txt"));
    EXPECT_EQ(tree.read("real/cstrike/motd.txt"), "clean");
}

TEST_F(PosixFileHostTest, AGameFolderThatCannotBeResolvedAllowsNoChange) {
    const std::string source = tree.write("files/motd.txt", "clean");
    const std::string target = tree.write("game/cstrike/motd.txt", "advert");
    for (const std::string& folder : {std::string(), tree.path("missing")}) {
        PosixFileHost confined;
        confined.confineChangesTo(folder);
        EXPECT_FALSE(confined.setAttributes(target, Attributes::ReadOnly));
        EXPECT_FALSE(confined.copyFile(source, target));
        EXPECT_FALSE(confined.deleteFile(target));
        EXPECT_EQ(confined.lookupFile(target), Lookup::Present);
    }
    EXPECT_EQ(tree.read("game/cstrike/motd.txt"), "advert");
}

// --- Folder size and program folder
// ---------------------------------------------------------------

TEST_F(PosixFileHostTest, FolderSizeSumsTheRegularFilesOfTheTreeWithoutFollowingLinks) {
    tree.write("game/hl.exe", std::string(100, 'h'));
    tree.write("game/cstrike/motd.txt", std::string(20, 'm'));
    tree.write("game/cstrike/resource/UI/ScoreBoard.res", std::string(3, 's'));
    tree.write("game/cstrike/empty.txt", "");
    tree.makeDir("game/cstrike_russian/maps");
    tree.write("outside/big.bin", std::string(5000, 'b'));
    fs::create_symlink(tree.path("outside/big.bin"), tree.path("game/cstrike/big.bin"));
    fs::create_directory_symlink(tree.path("outside"), tree.path("game/cstrike/outside"));

    EXPECT_EQ(host.folderSize(tree.path("game")), 123U);
    EXPECT_EQ(host.folderSize(tree.path("game") + "/"), 123U);
    EXPECT_EQ(host.folderSize(tree.path("game/cstrike_russian")), 0U);
    // The folder asked for may itself be reached through a link.
    EXPECT_EQ(host.folderSize(tree.path("game/cstrike/outside")), 5000U);
}

// The folder size of `folder` as an ordinary user sees it: root reads every folder whatever its
// permission bits, so under root the reading is taken in a child that has become "nobody".
std::optional<std::uint64_t> folderSizeAsUser(const std::string& folder) {
    if (::geteuid() != 0)
        return PosixFileHost().folderSize(folder);
    int fds[2];
    if (::pipe(fds) != 0)
        return std::nullopt;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        std::string answer = "failed";
        if (::setgid(65534) == 0 && ::setuid(65534) == 0) {
            const auto size = PosixFileHost().folderSize(folder);
            answer = size ? std::to_string(*size) : "none";
        }
        [[maybe_unused]] const ssize_t n = ::write(fds[1], answer.data(), answer.size());
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string answer;
    char buffer[64];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        answer.append(buffer, n);
    ::close(fds[0]);
    ::waitpid(pid, nullptr, 0);
    EXPECT_NE(answer, "failed") << "could not become an ordinary user";
    if (answer == "none" || answer == "failed" || answer.empty())
        return std::nullopt;
    return std::stoull(answer);
}

TEST_F(PosixFileHostTest, FolderSizeHasNoValueOnlyWhenTheFolderCannotBeRead) {
    tree.write("game/hl.exe", "x");
    EXPECT_EQ(host.folderSize(tree.path("missing")), std::nullopt);
    EXPECT_EQ(host.folderSize(tree.path("game/hl.exe")), std::nullopt);
    EXPECT_EQ(host.folderSize(""), std::nullopt);

    // An unreadable subfolder adds nothing; an unreadable game folder gives no value.
    tree.write("game/cstrike/motd.txt", "page");
    tree.write("game/cstrike/locked/motd.txt", "hidden");
    for (const char* folder : {"", "game", "game/cstrike"})
        ::chmod(tree.path(folder).c_str(), 0755);
    for (const char* file : {"game/hl.exe", "game/cstrike/motd.txt"}) {
        ::chmod(tree.path(file).c_str(), 0644);
    }
    ::chmod(tree.path("game/cstrike/locked").c_str(), 0000);
    EXPECT_EQ(folderSizeAsUser(tree.path("game")), 5U);
    ::chmod(tree.path("game").c_str(), 0000);
    EXPECT_EQ(folderSizeAsUser(tree.path("game")), std::nullopt);
}

TEST_F(PosixFileHostTest, TheProgramFolderHoldsTheRunningExecutableAndTheReplacementFiles) {
    const std::optional<std::string> folder = host.programFolder();
    ASSERT_TRUE(folder);
    EXPECT_EQ(fs::path(*folder), fs::canonical("/proc/self/exe").parent_path());
    EXPECT_NE(folder->back(), '/');
    for (std::string_view name : test::ReplacementFolder::kNames) {
        EXPECT_TRUE(fs::is_regular_file(*folder + "/files/" + std::string(name))) << name;
    }
}

}  // namespace
}  // namespace morvane

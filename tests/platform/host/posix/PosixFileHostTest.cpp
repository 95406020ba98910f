// The POSIX file operations, each on a real temporary tree. Links and folders at target paths, and
// the folder total over awkward trees, are covered by the fault tests.
#include "platform/host/posix/PosixFileHost.h"

#include <fcntl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/host/posix/Fd.h"
#include "platform/host/posix/TempFile.h"
#include "tests/support/GameFolder.h"
#include "tests/support/TempTree.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;
using test::modeOf;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

class PosixFileHostTest : public ::testing::Test {
  protected:
    void SetUp() override { host.beginChanges(tree.path(), std::nullopt); }

    std::vector<std::string> entriesOf(const std::string& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(tree.path(folder)))
            names.push_back(entry.path().filename().string());
        return names;
    }

    PosixFileHost host;
    test::TempTree tree;
    const std::string source = tree.write("files/motd.txt", "clean");
};

TEST_F(PosixFileHostTest, PresentMeansAnEntryOfThatNameThatIsNotAFolder) {
    tree.write("cstrike/motd.txt", "page");
    tree.write("cstrike/config.cfg", "cfg");
    ::chmod(tree.path("cstrike/config.cfg").c_str(), 0444);
    tree.makeDir("cstrike/resource/GameMenu.res");
    fs::create_symlink(tree.path("cstrike/motd.txt"), tree.path("cstrike/autobuy.txt"));

    for (const char* present : {"cstrike/motd.txt", "cstrike/config.cfg", "cstrike/autobuy.txt"})
        EXPECT_EQ(host.lookupFile(tree.path(present)), Lookup::Present) << present;
    for (const char* absent : {"cstrike/resource/GameMenu.res", "cstrike/userconfig.cfg",
                               "cstrike_russian/motd.txt", "cstrike/motd.txt/motd.txt"}) {
        EXPECT_EQ(host.lookupFile(tree.path(absent)), Lookup::Absent) << absent;
    }
    EXPECT_EQ(host.lookupFile(""), Lookup::Absent);
}

TEST_F(PosixFileHostTest, EveryOperationActsOnTheOneEntryThatMatchesIgnoringCase) {
    tree.write("cstrike/Resource/gamemenu.res", "advert");
    tree.write("cstrike/Resource/ui/scoreboard.res", "board");
    tree.write("cstrike/CONFIG.CFG", "cfg");
    tree.write("cstrike/two/motd.txt", "exact");
    tree.write("cstrike/two/MOTD.TXT", "variant");
    tree.write("cstrike/two/Autobuy.txt", "one");
    tree.write("cstrike/two/AUTOBUY.TXT", "two");

    EXPECT_EQ(host.lookupFile(tree.path("CSTRIKE/RESOURCE/UI/ScoreBoard.res")), Lookup::Present);
    EXPECT_EQ(host.lookupFile(tree.path("cstrike/two/autobuy.txt")), Lookup::Absent)
        << "two entries fit";
    const std::string menu = tree.path("cstrike/resource/GameMenu.res");
    EXPECT_TRUE(host.setAttributes(menu, Attributes::ReadOnly).succeeded);
    EXPECT_EQ(modeOf(tree.path("cstrike/Resource/gamemenu.res")) & 0222, 0U);
    EXPECT_TRUE(host.setAttributes(menu, Attributes::Normal).succeeded);
    EXPECT_TRUE(host.copyFile(source, menu).succeeded);
    EXPECT_TRUE(host.copyFile(source, tree.path("cstrike/resource/LoadingDialog.res")).succeeded);
    EXPECT_THAT(entriesOf("cstrike/Resource"),
                UnorderedElementsAre("gamemenu.res", "LoadingDialog.res", "ui"));
    EXPECT_EQ(tree.read("cstrike/Resource/gamemenu.res"), "clean");
    EXPECT_TRUE(host.deleteFile(tree.path("cstrike/config.cfg")).succeeded);
    EXPECT_FALSE(tree.exists("cstrike/CONFIG.CFG"));
    // An exact name wins over its case variants.
    EXPECT_TRUE(host.copyFile(source, tree.path("cstrike/two/motd.txt")).succeeded);
    EXPECT_EQ(tree.read("cstrike/two/motd.txt"), "clean");
    EXPECT_EQ(tree.read("cstrike/two/MOTD.TXT"), "variant");
}

TEST_F(PosixFileHostTest, ReadOnlyRemovesEveryWriteBitAndNormalGivesTheOwnerOneBack) {
    struct Case {
        mode_t start, readOnly, normal;
    };
    const Case cases[] = {
        {0644, 0444, 0644}, {0666, 0444, 0644}, {0775, 0555, 0755}, {0640, 0440, 0640},
        {0600, 0400, 0600}, {0400, 0400, 0600}, {0200, 0000, 0200},
    };
    const std::string file = tree.write("cstrike/motd.txt", "page");
    for (const Case& c : cases) {
        ::chmod(file.c_str(), c.start);
        EXPECT_TRUE(host.setAttributes(file, Attributes::ReadOnly).succeeded);
        EXPECT_EQ(modeOf(file), c.readOnly) << std::oct << c.start;
        EXPECT_TRUE(host.setAttributes(file, Attributes::Normal).succeeded);
        EXPECT_EQ(modeOf(file), c.normal) << std::oct << c.start;
    }
}

TEST_F(PosixFileHostTest, OnlyAFileThatExistsCanBeDeletedOrHaveItsAttributesChanged) {
    const std::string file = tree.write("cstrike/config.cfg", "cfg");
    ::chmod(file.c_str(), 0200);
    EXPECT_TRUE(host.deleteFile(file).succeeded);
    EXPECT_FALSE(tree.exists("cstrike/config.cfg"));
    for (const std::string& path : {file, std::string()}) {
        EXPECT_FALSE(host.deleteFile(path).succeeded);
        EXPECT_FALSE(host.setAttributes(path, Attributes::Normal).succeeded);
    }
}

// Root may write any file: the owner's write bit is what counts, whoever runs us.
TEST_F(PosixFileHostTest, AFileWithoutTheOwnersWriteBitIsNeitherDeletedNorCopiedOnto) {
    const std::string target = tree.write("cstrike/motd.txt", "advert");
    for (mode_t mode : {0444, 0466, 0000}) {
        ::chmod(target.c_str(), mode);
        EXPECT_FALSE(host.deleteFile(target).succeeded) << std::oct << mode;
        EXPECT_FALSE(host.copyFile(source, target).succeeded) << std::oct << mode;
        EXPECT_EQ(tree.read("cstrike/motd.txt"), "advert");
        EXPECT_EQ(modeOf(target), mode);
    }
    EXPECT_THAT(entriesOf("cstrike"), ElementsAre("motd.txt"));
}

TEST_F(PosixFileHostTest, CopyWritesTheSourceWholeKeepingTheModeOfTheFileItReplaces) {
    std::string binary;
    for (std::size_t i = 0; i < (1U << 20) + 17; ++i)
        binary += static_cast<char>(i * 7 % 256);
    const std::string big = tree.write("files/GameMenu.res", binary);
    const std::string existing = tree.write("cstrike/GameMenu.res", "a long advert");
    ::chmod(existing.c_str(), 0751);
    EXPECT_TRUE(host.copyFile(big, existing).succeeded);
    EXPECT_EQ(tree.read("cstrike/GameMenu.res"), binary);
    EXPECT_EQ(modeOf(existing), 0751U);
    EXPECT_TRUE(host.copyFile(tree.write("files/empty", ""), existing).succeeded);
    EXPECT_EQ(tree.read("cstrike/GameMenu.res"), "");

    // A new file gets the usual mode, not the source's.
    ::chmod(source.c_str(), 0600);
    const mode_t mask = ::umask(022);
    const bool created = host.copyFile(source, tree.path("cstrike/motd_temp.html")).succeeded;
    ::umask(mask);
    EXPECT_TRUE(created);
    EXPECT_EQ(modeOf(tree.path("cstrike/motd_temp.html")), 0644U);
}

TEST_F(PosixFileHostTest, CopyKeepsTheOwnerOfTheFileItReplaces) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give a file to another user";
    const std::string target = tree.write("cstrike/motd_temp.html", "advert");
    ASSERT_EQ(::chown(target.c_str(), 4321, 4321), 0);
    ::chmod(target.c_str(), 0600);
    EXPECT_TRUE(host.copyFile(source, target).succeeded);
    // Run by root over a player's game folder, a replaced file must stay the player's: a 0600
    // file handed to root could no longer be read by the game.
    struct stat st;
    ASSERT_EQ(::lstat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 4321U);
    EXPECT_EQ(st.st_gid, 4321U);
}

TEST_F(PosixFileHostTest, AFailedCopyLeavesTheDestinationAsItWasAndNoTemporaryFile) {
    tree.makeDir("files/folder.txt");
    const std::string target = tree.write("cstrike/motd.txt", "advert");
    tree.makeDir("cstrike/motd_temp.html");
    const auto before = test::snapshot(tree.path("cstrike"));

    EXPECT_FALSE(host.copyFile(tree.path("files/missing.txt"), target).succeeded);
    EXPECT_FALSE(host.copyFile(tree.path("files/folder.txt"), target).succeeded);
    EXPECT_FALSE(host.copyFile("", target).succeeded);
    EXPECT_FALSE(host.copyFile(source, "").succeeded);
    EXPECT_FALSE(host.copyFile(source, tree.path("cstrike/motd_temp.html")).succeeded);
    EXPECT_FALSE(host.copyFile(source, tree.path("cstrike/resource/GameMenu.res")).succeeded);
    EXPECT_FALSE(host.copyFile(source, tree.path("cstrike_russian/motd.txt")).succeeded);
    EXPECT_EQ(test::snapshot(tree.path("cstrike")), before);
    EXPECT_FALSE(tree.exists("cstrike_russian"));

    // Leftovers of copies to the same file by killed runs, named the old way and the new, do not
    // stop the next copy nor stay behind; a file that only looks like one stays.
    tree.write(std::string("cstrike/.motd.txt") + kPartialSuffix, "half");
    tree.write(std::string("cstrike/.motd.txt.x7k2m9q0") + kPartialSuffix, "half");
    tree.write(std::string("cstrike/.motd.txt.mine") + kPartialSuffix, "not ours");
    EXPECT_TRUE(host.copyFile(source, target).succeeded);
    EXPECT_THAT(entriesOf("cstrike"),
                UnorderedElementsAre("motd.txt", "motd_temp.html",
                                     std::string(".motd.txt.mine") + kPartialSuffix));
}

// Both kinds of temporary file: each gets a name no other can have, one that a later run knows for
// a leftover; only the one put in place stays.
TEST_F(PosixFileHostTest, TemporaryFilesOfEitherKindAreUniqueAndOnlyThePutInPlaceOneStays) {
    using Kind = posix::TempFile::Kind;
    tree.makeDir("cstrike");
    const posix::Fd folder(::open(tree.path("cstrike").c_str(), O_RDONLY | O_DIRECTORY));
    for (Kind kind : {Kind::Unnamed, Kind::Named}) {
        tree.write("cstrike/motd.txt", "advert");
        {
            posix::TempFile kept(folder.get(), "motd.txt", kind);
            posix::TempFile leftover(folder.get(), "motd.txt", kind);
            ASSERT_TRUE(kept.valid() && leftover.valid());
            ASSERT_EQ(::write(kept.fd(), "new", 3), 3);
            ASSERT_TRUE(kept.giveName() && leftover.giveName());
            EXPECT_NE(kept.name(), leftover.name());
            std::string abandoned;
            {
                posix::TempFile given(folder.get(), "motd.txt", kind);
                ASSERT_TRUE(given.giveName());
                abandoned = given.name();
            }
            EXPECT_FALSE(tree.exists("cstrike/" + abandoned)) << "removed by its maker";
            EXPECT_TRUE(kept.rename());
            posix::removeLeftovers(folder.get(), "motd.txt");  // as a later run would
            EXPECT_FALSE(tree.exists("cstrike/" + leftover.name())) << leftover.name();
        }
        EXPECT_EQ(tree.read("cstrike/motd.txt"), "new");
        EXPECT_THAT(entriesOf("cstrike"), ElementsAre("motd.txt"));
    }
}

// The folder size as an ordinary user sees it: root reads every folder whatever its permission
// bits, so under root it is taken in a child that has become "nobody". Sizes below 250 only.
std::optional<std::uint64_t> folderSizeAsUser(const std::string& folder) {
    if (::geteuid() != 0)
        return PosixFileHost().folderSize(folder);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(255);
        const auto size = PosixFileHost().folderSize(folder);
        ::_exit(size ? static_cast<int>(std::min<std::uint64_t>(*size, 250)) : 254);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 255;
    EXPECT_NE(code, 255) << "could not become an ordinary user";
    return code >= 254 ? std::nullopt : std::optional<std::uint64_t>(code);
}

TEST_F(PosixFileHostTest, AnUnreadableSubfolderAddsNothingAnUnreadableFolderGivesNoSize) {
    tree.write("game/hl.exe", "x");
    tree.write("game/cstrike/motd.txt", "page");
    tree.write("game/cstrike/locked/motd.txt", "hidden");
    for (const char* folder : {"", "game", "game/cstrike"})
        ::chmod(tree.path(folder).c_str(), 0755);
    for (const char* file : {"game/hl.exe", "game/cstrike/motd.txt"})
        ::chmod(tree.path(file).c_str(), 0644);
    ::chmod(tree.path("game/cstrike/locked").c_str(), 0000);
    EXPECT_EQ(folderSizeAsUser(tree.path("game")), 5U);
    ::chmod(tree.path("game").c_str(), 0000);
    EXPECT_EQ(folderSizeAsUser(tree.path("game")), std::nullopt);
}

TEST_F(PosixFileHostTest, TheProgramFolderHoldsTheRunningExecutableAndTheReplacementFiles) {
    const std::optional<std::string> folder = host.programFolder();
    ASSERT_TRUE(folder);
    EXPECT_EQ(fs::path(*folder), fs::canonical("/proc/self/exe").parent_path());
    for (std::string_view name : test::ReplacementFolder::kNames)
        EXPECT_TRUE(fs::is_regular_file(*folder + "/files/" + std::string(name))) << name;
}

}  // namespace
}  // namespace morvane

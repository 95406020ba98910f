// The folder total over trees of awkward shapes: it must end, count each regular file once, follow
// no link, and come out the same however many threads share the walk.
#include <gtest/gtest.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "DeepPaths.h"
#include "FolderSize.h"
#include "TempTree.h"
#include "TreeWalk.h"
#include "TreesInMemory.h"

namespace morvane::test {
namespace {

namespace fs = std::filesystem;

// The same sum by another road: the standard library's walk, which follows no link either.
std::uint64_t regularFilesBelow(const std::string& root) {
    std::uint64_t total = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file() && !entry.is_symlink())
            total += entry.file_size();
    }
    return total;
}

class TreeWalk : public ::testing::Test {
  private:
    TreesInMemory inMemory_;
};

void expectEveryWalkerCountGives(const std::string& folder, std::uint64_t expected) {
    for (unsigned workers : {1u, 2u, 3u, 8u}) {
        EXPECT_EQ(posix::sumRegularFiles(folder, workers), expected) << workers << " threads";
    }
    EXPECT_EQ(posix::folderSize(folder), expected);
}

TEST_F(TreeWalk, AwkwardShapesGiveTheSameTotalAsAnotherWalkWithAnyNumberOfThreads) {
    TempTree tree;
    // A folder whose entries take many reads of the entry buffer.
    for (int i = 0; i < 3000; ++i) {
        tree.write("big/" + std::string(60, 'n') + std::to_string(i), std::string(i % 7, 'x'));
    }
    // Many small folders, some empty, some nested.
    for (int i = 0; i < 200; ++i) {
        tree.makeDir("wide/" + std::to_string(i) + "/empty");
        tree.write("wide/" + std::to_string(i) + "/f", std::string(i, 'w'));
    }
    tree.write("deep/1/2/3/4/5/6/7/8/9/10/leaf", "deep file\n");
    tree.write("Мои игры/Counter Strike 1.6/hl.exe", "MZ");
    tree.write(".hidden/file", "12345");
    ASSERT_EQ(::mkfifo(tree.path("pipe").c_str(), 0600), 0);

    expectEveryWalkerCountGives(tree.path(), regularFilesBelow(tree.path()));
}

TEST_F(TreeWalk, LinksAddNothingAndAreNotFollowedEvenInLoopsOrToTheRoot) {
    TempTree tree;
    tree.write("game/cstrike/maps/de_dust2.bsp", std::string(5000, 'm'));
    tree.write("outside/big.bin", std::string(100000, 'b'));
    fs::create_symlink("/", tree.path("game/root"));
    fs::create_symlink("..", tree.path("game/cstrike/up"));
    fs::create_symlink(".", tree.path("game/cstrike/maps/self"));
    fs::create_symlink("b", tree.path("game/a"));
    fs::create_symlink("a", tree.path("game/b"));
    fs::create_symlink(tree.path("outside/big.bin"), tree.path("game/big.bin"));
    fs::create_symlink(tree.path("outside"), tree.path("game/outside"));
    fs::create_symlink("missing", tree.path("game/dangling"));

    expectEveryWalkerCountGives(tree.path("game"), 5000);
}

TEST_F(TreeWalk, TreeDeeperThanPathMaxIsWalkedWhole) {
    TempTree tree;
    const DeepRemoval removal(tree.path("deep"));
    const std::string name(200, 'd');
    std::string relative = "deep";
    std::uint64_t expected = 0;
    for (int depth = 0; relative.size() < 2 * PATH_MAX; ++depth) {
        relative += "/" + name;
        const FolderFd folder = makeFolders(tree.path(), relative);
        writeFileAt(folder, "f", std::string(depth + 1, 'x'));
        expected += depth + 1;
    }
    expectEveryWalkerCountGives(tree.path(), expected);
}

TEST_F(TreeWalk, UnreadableSubfolderIsSkippedAlikeInEveryReading) {
    TempTree tree;
    tree.write("game/cstrike/maps/a.bsp", std::string(300, 'a'));
    tree.write("game/cstrike/locked/b.wav", std::string(700, 'b'));
    tree.write("game/cstrike/locked/inner/c.wav", std::string(11, 'c'));
    ::chmod(tree.path("game/cstrike/locked").c_str(), 0);
    // Root reads it regardless: then it counts, else it adds nothing. Either way, every reading
    // agrees.
    const bool readable = ::access(tree.path("game/cstrike/locked").c_str(), R_OK | X_OK) == 0;
    const std::uint64_t expected = readable ? 1011 : 300;
    for (int reading = 0; reading < 3; ++reading)
        expectEveryWalkerCountGives(tree.path("game"), expected);
}

TEST_F(TreeWalk, NoValueOnlyWhenTheFolderItselfCannotBeRead) {
    TempTree tree;
    tree.write("file", "not a folder");
    EXPECT_EQ(posix::folderSize(tree.path("file")), std::nullopt);
    EXPECT_EQ(posix::folderSize(tree.path("missing")), std::nullopt);
    EXPECT_EQ(posix::folderSize(""), std::nullopt);
    tree.makeDir("empty");
    EXPECT_EQ(posix::folderSize(tree.path("empty")), 0u);
    // A game folder reached through a link is the folder the user chose: it is read.
    tree.write("real/hl.exe", "MZ");
    fs::create_symlink(tree.path("real"), tree.path("chosen"));
    EXPECT_EQ(posix::folderSize(tree.path("chosen")), 2u);
}

}  // namespace
}  // namespace morvane::test

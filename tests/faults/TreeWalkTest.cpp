// The folder total over trees of awkward shapes: it must end, count each regular file once, follow
// no link, and come out the same however many threads share the walk.
#include <gtest/gtest.h>
#include <limits.h>

#include "platform/host/posix/FolderSize.h"
#include "platform/host/posix/TreeWalk.h"
#include "tests/faults/FaultSupport.h"

namespace morvane::test {
namespace {

void expectEveryWalkerCountGives(const std::string& folder, std::uint64_t expected) {
    for (unsigned workers : {1u, 2u, 3u, 8u})
        EXPECT_EQ(posix::sumRegularFiles(folder, workers), expected) << workers << " threads";
    EXPECT_EQ(posix::folderSize(folder), expected);
}

TEST(TreeWalk, AwkwardShapesAndLinksGiveWhatAnotherWalkGivesWithAnyNumberOfThreads) {
    const TreesInMemory inMemory;
    TempTree tree;
    // A folder whose entries take many reads of the entry buffer.
    for (int i = 0; i < 3000; ++i)
        tree.write("game/big/" + std::string(60, 'n') + std::to_string(i), std::string(i % 7, 'x'));
    // Many small folders, some empty, some nested.
    for (int i = 0; i < 200; ++i) {
        tree.makeDir("game/wide/" + std::to_string(i) + "/empty");
        tree.write("game/wide/" + std::to_string(i) + "/f", std::string(i, 'w'));
    }
    tree.write("game/deep/1/2/3/4/5/6/7/8/9/10/leaf", "deep file\n");
    tree.write("game/Мои игры/Counter Strike 1.6/hl.exe", "MZ");
    tree.write("game/.hidden/file", "12345");
    ASSERT_EQ(::mkfifo(tree.path("game/pipe").c_str(), 0600), 0);
    // Links to the root, up, to themselves, in a loop, out of the tree and to nothing.
    tree.write("outside/big.bin", std::string(100000, 'b'));
    for (const auto& [link, to] :
         {std::pair{"root", std::string("/")}, std::pair{"deep/up", std::string("..")},
          std::pair{"deep/1/self", std::string(".")}, std::pair{"a", std::string("b")},
          std::pair{"b", std::string("a")}, std::pair{"big.bin", tree.path("outside/big.bin")},
          std::pair{"outside", tree.path("outside")}, std::pair{"dangling", std::string("no")}}) {
        fs::create_symlink(to, tree.path("game/" + std::string(link)));
    }

    // The same sum by another road: the standard library's walk, which follows no link either.
    std::uint64_t total = 0;
    for (const auto& entry : fs::recursive_directory_iterator(tree.path("game"))) {
        if (!entry.is_symlink() && entry.is_regular_file())
            total += entry.file_size();
    }
    expectEveryWalkerCountGives(tree.path("game"), total);
}

TEST(TreeWalk, TreeDeeperThanPathMaxIsWalkedWhole) {
    const TreesInMemory inMemory;
    TempTree tree;
    std::uint64_t expected = 0;
    {
        const InFolder inTree(tree.path());
        for (std::uint64_t depth = 1; depth * 201 < 2 * PATH_MAX; ++depth) {
            fs::create_directory(std::string(200, 'd'));
            fs::current_path(std::string(200, 'd'));
            writeFile("f", std::string(depth, 'x'));
            expected += depth;
        }
    }
    expectEveryWalkerCountGives(tree.path(), expected);
}

TEST(TreeWalk, NoValueOnlyWhenTheFolderItselfCannotBeOpened) {
    TempTree tree;
    tree.write("file", "not a folder");
    for (const std::string& folder : {tree.path("file"), tree.path("missing"), std::string()})
        EXPECT_EQ(posix::folderSize(folder), std::nullopt) << folder;
    tree.makeDir("empty");
    EXPECT_EQ(posix::folderSize(tree.path("empty")), 0u);
    // A game folder reached through a link is the folder the user chose: it is read.
    tree.write("real/hl.exe", "MZ");
    fs::create_symlink(tree.path("real"), tree.path("chosen"));
    EXPECT_EQ(posix::folderSize(tree.path("chosen")), 2u);
}

}  // namespace
}  // namespace morvane::test

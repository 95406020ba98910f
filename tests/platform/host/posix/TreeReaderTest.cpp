// The contract of the TreeReader seam, on the POSIX implementation.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "platform/host/posix/PosixTreeReader.h"
#include "tests/support/TempTree.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;

TEST(TreeReader, ReadsWithoutChangingOrBlockingAndMatchesNamesAsTheHostDoes) {
    const test::TempTree tree;
    tree.write("game/cstrike/Config.cfg", "fps_max \"101\"\n");
    tree.write("outside/real.cfg", "bind \"z\" \"say hi\"\n");
    fs::create_symlink(tree.path("outside/real.cfg"), tree.path("game/cstrike/linked.cfg"));
    fs::create_directory_symlink(tree.path("outside"), tree.path("game/linked"));
    ASSERT_EQ(::mkfifo(tree.path("game/cstrike/fifo.cfg").c_str(), 0600), 0);
    PosixTreeReader reader;

    // Kinds: links are followed, a missing folder above is just missing; names ignore case.
    EXPECT_EQ(reader.kindOf(tree.path("game/CSTRIKE/config.cfg")), EntryKind::File);
    EXPECT_EQ(reader.kindOf(tree.path("game/linked")), EntryKind::Folder);
    EXPECT_EQ(reader.kindOf(tree.path("game/cstrike/fifo.cfg")), EntryKind::Other);
    EXPECT_EQ(reader.kindOf(tree.path("game/nothing/config.cfg")), EntryKind::Missing);
    EXPECT_EQ(reader.kindOfEntry(tree.path("game/linked")), EntryKind::Link);
    EXPECT_EQ(reader.kindOfEntry(tree.path("game/cstrike/CONFIG.cfg")), EntryKind::File);

    // Reading: whole regular files within the limit, through links; anything else is a reason.
    EXPECT_EQ(reader.readFile(tree.path("game/cstrike/config.cfg"), 14).bytes, "fps_max \"101\"\n");
    EXPECT_EQ(reader.readFile(tree.path("game/cstrike/linked.cfg"), 100).bytes,
              "bind \"z\" \"say hi\"\n");
    const std::pair<std::string, std::string> refused[] = {
        {"game/cstrike/config.cfg", "larger than 13 bytes"},
        {"game/cstrike/fifo.cfg", "not a regular file"},
        {"game/cstrike", "not a regular file"},
        {"game/cstrike/missing.cfg", "No such file or directory"},
    };
    for (const auto& [path, reason] : refused) {
        const FileRead read = reader.readFile(tree.path(path), 13);
        EXPECT_FALSE(read.bytes) << path;
        EXPECT_EQ(read.error.english(), reason) << path;
    }

    // Listing: the entries themselves, links as links.
    auto entries = reader.listFolder(tree.path("game/Cstrike"));
    ASSERT_TRUE(entries);
    std::sort(entries->begin(), entries->end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    ASSERT_EQ(entries->size(), 3u);
    EXPECT_EQ((*entries)[0].name, "Config.cfg");
    EXPECT_EQ((*entries)[0].kind, EntryKind::File);
    EXPECT_EQ((*entries)[1].kind, EntryKind::Other);
    EXPECT_EQ((*entries)[2].kind, EntryKind::Link);
    EXPECT_FALSE(reader.listFolder(tree.path("game/cstrike/config.cfg")));

    EXPECT_EQ(reader.canonicalPath(tree.path("game/linked/../game/./cstrike")),
              fs::canonical(tree.path("outside/../game/cstrike")).string());
    EXPECT_FALSE(reader.canonicalPath(tree.path("game/none")));
}

}  // namespace
}  // namespace morvane

// How a backup tells a file it may copy from a link it must not follow, and where it files the
// backups of a game folder, on a reader whose paths are made up: game folders at a root and links
// the reader does not show as links, which no temporary folder can lay out.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/backup/Backups.h"

namespace morvane {
namespace {

// A tree of paths as a system resolves them: doubled separators name the same entry, and each
// entry has a resolved path (where a link leads) and bytes. The reader shows no entry as a link.
class MadeUpTree : public TreeReader {
  public:
    explicit MadeUpTree(char separator) : separator_(separator) {}

    void folder(const std::string& path, const std::string& resolved) {
        entries_[fold(path)] = {EntryKind::Folder, resolved, {}};
    }
    void file(const std::string& path, const std::string& resolved, const std::string& bytes) {
        entries_[fold(path)] = {EntryKind::File, resolved, bytes};
    }

    char separator() const override { return separator_; }
    EntryKind kindOf(const std::string& path) override {
        const auto found = entries_.find(fold(path));
        return found == entries_.end() ? EntryKind::Missing : found->second.kind;
    }
    EntryKind kindOfEntry(const std::string& path) override { return kindOf(path); }
    std::optional<std::string> linkTarget(const std::string&) override { return std::nullopt; }
    FileRead readFile(const std::string& path, std::size_t) override {
        const auto found = entries_.find(fold(path));
        if (found == entries_.end() || found->second.kind != EntryKind::File)
            return {std::nullopt, Reason::text("not a file"), {}};
        return {found->second.bytes, {}, {0644, std::nullopt, std::nullopt, std::nullopt}, 1};
    }
    std::optional<std::vector<FolderEntry>> listFolder(const std::string&) override {
        return std::nullopt;
    }
    bool isAbsolute(const std::string& path) const override {
        return path.size() >= 2 && path[1] == ':';
    }
    std::optional<std::string> canonicalPath(const std::string& path) override {
        const auto found = entries_.find(fold(path));
        if (found == entries_.end() || found->second.resolved.empty())
            return std::nullopt;
        return found->second.resolved;
    }

  private:
    struct Entry {
        EntryKind kind;
        std::string resolved;  // empty: the system cannot tell
        std::string bytes;
    };

    // As the systems take a path: a run of separators is one, a trailing one names the folder.
    std::string fold(const std::string& path) const {
        std::string folded;
        for (const char c : path) {
            if (c != separator_ || folded.empty() || folded.back() != separator_)
                folded += c;
        }
        if (folded.size() > 1 && folded.back() == separator_)
            folded.pop_back();
        return folded;
    }

    char separator_;
    std::map<std::string, Entry> entries_;
};

TEST(ReadState, AFileIsALinkWhenItOrItsFolderResolvesElsewhereAndAGameAtARootIsNone) {
    struct Case {
        const char* why;
        char separator;
        const char* game;          // as given, and resolved the same way
        const char* gameResolved;  // the resolved game folder
        const char* folderResolved;
        const char* fileResolved;  // "" when the system cannot tell
        bool link;
    };
    const Case cases[] = {
        {"a drive's root", '\\', "D:\\", "D:\\", "D:\\cstrike", "D:\\cstrike\\config.cfg", false},
        {"the root", '/', "/", "/", "/cstrike", "/cstrike/config.cfg", false},
        {"a folder", '\\', "E:\\sub", "E:\\sub", "E:\\sub\\cstrike", "E:\\sub\\cstrike\\config.cfg",
         false},
        {"a folder given with a trailing separator", '\\', "E:\\sub\\", "E:\\sub",
         "E:\\sub\\cstrike", "E:\\sub\\cstrike\\config.cfg", false},
        {"names in another case", '\\', "E:\\sub", "E:\\SUB", "E:\\SUB\\CStrike",
         "E:\\SUB\\CStrike\\Config.cfg", false},
        {"a file whose place cannot be told", '\\', "E:\\sub", "E:\\sub", "E:\\sub\\cstrike", "",
         false},
        {"a linked folder", '\\', "E:\\sub", "E:\\sub", "E:\\elsewhere",
         "E:\\elsewhere\\config.cfg", true},
        {"a linked folder at a root", '/', "/", "/", "/elsewhere", "/elsewhere/config.cfg", true},
        {"a linked file", '\\', "E:\\sub", "E:\\sub", "E:\\sub\\cstrike", "E:\\outside\\config.cfg",
         true},
        {"a linked file at a root", '\\', "D:\\", "D:\\", "D:\\cstrike", "C:\\outside\\config.cfg",
         true},
    };
    for (const Case& c : cases) {
        MadeUpTree tree(c.separator);
        const std::string sep(1, c.separator);
        const std::string game = c.game;
        tree.folder(game, c.gameResolved);
        tree.folder(game + sep + "cstrike", c.folderResolved);
        tree.file(game + sep + "cstrike" + sep + "config.cfg", c.fileResolved, "bind");
        const backup::StateRead read = backup::readState(tree, game, "cstrike/config.cfg");
        EXPECT_FALSE(read.error) << c.why;
        EXPECT_TRUE(read.state.present) << c.why;
        EXPECT_EQ(read.state.link, c.link) << c.why;
        EXPECT_EQ(read.bytes, c.link ? "" : "bind") << c.why;
    }
}

// Backups are found again however the game folder is spelled, when it cannot be resolved.
TEST(ReadState, BackupsAreFiledUnderTheGameFolderWhateverItsDoubledOrTrailingSeparators) {
    struct NoStore : StateStore {
        ChangeResult makeFolders(const std::string&) override { return {}; }
        ChangeResult makeNewFolder(const std::string&) override { return {}; }
        ChangeResult writeFile(const std::string&, std::string_view) override { return {}; }
        ChangeResult removeTree(const std::string&) override { return {}; }
        ChangeResult removeEmptyFolder(const std::string&) override { return {}; }
    } store;
    const auto folderOf = [&](char separator, const std::string& game) {
        MadeUpTree tree(separator);
        return backup::GameBackups(tree, store, "B:", game).folder();
    };
    const std::pair<const char*, const char*> same[] = {
        {"E:\\sub", "E:\\sub\\"},
        {"E:\\sub", "E:\\\\sub\\\\"},
        {"D:\\", "D:\\\\"},
        {"\\\\server\\share\\game", "\\\\server\\share\\\\game\\"},
    };
    for (const auto& [game, spelled] : same)
        EXPECT_EQ(folderOf('\\', spelled), folderOf('\\', game)) << spelled;
    EXPECT_EQ(folderOf('/', "/games//cs/"), folderOf('/', "/games/cs"));
    const std::pair<const char*, const char*> apart[] = {
        {"D:\\", "D:"},  // the root, and the drive's current folder
        {"E:\\sub", "E:\\su"},
        {"\\\\server\\share", "\\server\\share"},
    };
    for (const auto& [game, other] : apart)
        EXPECT_NE(folderOf('\\', other), folderOf('\\', game)) << other;
}

}  // namespace
}  // namespace morvane

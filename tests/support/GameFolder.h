#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "TargetTable.h"
#include "TempTree.h"

namespace morvane::test {

inline constexpr const char* kCstrike = "cstrike";
inline constexpr const char* kRussian = "cstrike_russian";

// A slot's place inside the game folder, written with '/' and without the leading separator:
// "cstrike/resource/GameMenu.res".
inline std::string slotRelative(Slot slot) {
    std::string relative(slotInfo(slot).relative.substr(1));
    for (char& c : relative) {
        if (c == '\\')
            c = '/';
    }
    return relative;
}

inline mode_t modeOf(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : mode_t{0};
}

// Every entry below `root`, links not followed, described by its kind, permission bits and
// content (or link target), so two snapshots differ exactly when something below changed.
inline std::map<std::string, std::string> snapshot(const std::filesystem::path& root) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> entries;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        const fs::path& path = it->path();
        std::ostringstream description;
        description << std::oct << modeOf(path.string()) << ' ';
        if (it->is_symlink()) {
            description << "link -> " << fs::read_symlink(path, ec).string();
        } else if (it->is_directory()) {
            description << "folder";
        } else {
            std::ifstream in(path, std::ios::binary);
            description << "file "
                        << std::string(std::istreambuf_iterator<char>(in),
                                       std::istreambuf_iterator<char>());
        }
        entries[fs::relative(path, root).string()] = description.str();
    }
    return entries;
}

// A game installation in a temporary tree: <tree>/game holds the launcher and the chosen edition
// folders, each with its resource/ and resource/UI/ folders. The tree's other top-level entries
// are free for things that lie outside the game folder.
class GameFolder {
  public:
    enum class Editions { Both, CstrikeOnly, RussianOnly, None };

    explicit GameFolder(Editions editions = Editions::Both,
                        const std::string& launcher = "hl.exe") {
        tree_.makeDir("game");
        if (!launcher.empty())
            tree_.write("game/" + launcher, "launcher");
        if (editions == Editions::Both || editions == Editions::CstrikeOnly)
            addEdition(kCstrike);
        if (editions == Editions::Both || editions == Editions::RussianOnly)
            addEdition(kRussian);
    }

    void addEdition(const std::string& name) const {
        tree_.makeDir("game/" + name + "/resource/UI");
    }

    const TempTree& tree() const { return tree_; }
    std::string path() const { return tree_.path("game"); }
    std::string path(const std::string& relative) const { return tree_.path("game/" + relative); }
    std::string path(Slot slot) const { return path(slotRelative(slot)); }

    std::string put(const std::string& relative, const std::string& content) const {
        return tree_.write("game/" + relative, content);
    }
    std::string put(Slot slot, const std::string& content) const {
        return put(slotRelative(slot), content);
    }
    // Ad-carrying content for a slot, distinct per slot.
    std::string putAd(Slot slot) const { return put(slot, adContent(slot)); }
    static std::string adContent(Slot slot) {
        return "server advert in " + std::string(slotInfo(slot).name) + "\n";
    }

    std::string read(const std::string& relative) const { return tree_.read("game/" + relative); }
    std::string read(Slot slot) const { return read(slotRelative(slot)); }
    bool exists(const std::string& relative) const { return tree_.exists("game/" + relative); }
    bool exists(Slot slot) const { return exists(slotRelative(slot)); }
    bool isRegularFile(Slot slot) const {
        return std::filesystem::is_regular_file(std::filesystem::symlink_status(path(slot)));
    }
    mode_t mode(Slot slot) const { return modeOf(path(slot)); }
    void chmod(Slot slot, mode_t mode) const { ::chmod(path(slot).c_str(), mode); }

    std::map<std::string, std::string> snapshot() const { return test::snapshot(path()); }

  private:
    TempTree tree_;
};

// A replacement folder of its own, holding the seven replacement files with content that tells
// them apart (and apart from the shipped ones).
class ReplacementFolder {
  public:
    static constexpr std::string_view kNames[] = {
        "GameMenu.res",         "LoadingDialog.res", "LoadingDialogNoBanner.res",
        "LoadingDialogVAC.res", "ScoreBoard.res",    "motd.txt",
        "autobuy.txt"};

    explicit ReplacementFolder(std::string tag = "clean") : tag_(std::move(tag)) {
        for (std::string_view name : kNames)
            tree_.write(std::string(name), content(name, tag_));
    }

    static std::string content(std::string_view name, const std::string& tag) {
        return tag + " " + std::string(name) + "\n";
    }
    std::string content(std::string_view name) const { return content(name, tag_); }
    std::string path() const { return tree_.path(); }
    std::string path(std::string_view name) const { return tree_.path(std::string(name)); }
    void remove(std::string_view name) const { std::filesystem::remove(path(name)); }

  private:
    TempTree tree_;
    std::string tag_;
};

}  // namespace morvane::test

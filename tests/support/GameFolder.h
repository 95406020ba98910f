#pragma once

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <string_view>

#include "engine/TargetTable.h"
#include "tests/support/TempTree.h"

namespace morvane::test {

// Option or status flags, one per group in Group order.
using Flags = std::array<bool, kGroupCount>;
inline constexpr Flags kAll{true, true, true, true, true, true};

inline Flags only(Group group) {
    Flags flags{};
    flags[static_cast<std::size_t>(group)] = true;
    return flags;
}

// The twenty targets in slot order, relative to the game folder. Written out here rather than
// taken from the engine's table, so that every test built on them checks the table too.
inline const std::array<std::string, kSlotCount> kTargets{
    "cstrike_russian/resource/GameMenu.res",
    "cstrike/resource/GameMenu.res",
    "cstrike_russian/resource/LoadingDialog.res",
    "cstrike_russian/resource/LoadingDialogNoBanner.res",
    "cstrike_russian/resource/LoadingDialogVAC.res",
    "cstrike/resource/LoadingDialog.res",
    "cstrike/resource/LoadingDialogNoBanner.res",
    "cstrike/resource/LoadingDialogVAC.res",
    "cstrike_russian/resource/UI/ScoreBoard.res",
    "cstrike/resource/UI/ScoreBoard.res",
    "cstrike_russian/config.cfg",
    "cstrike/config.cfg",
    "cstrike_russian/userconfig.cfg",
    "cstrike/userconfig.cfg",
    "cstrike_russian/motd.txt",
    "cstrike/motd.txt",
    "cstrike/motd_temp.html",
    "cstrike_russian/motd_temp.html",
    "cstrike_russian/autobuy.txt",
    "cstrike/autobuy.txt",
};

inline const std::string& target(Slot slot) {
    return kTargets[static_cast<std::size_t>(slot)];
}

// The permission bits of the entry itself (a link's own), or 0 when there is none. On Windows the
// standard library shows the read-only attribute as the write bits.
inline unsigned modeOf(const std::string& path) {
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(path, ec);
    return ec ? 0U : static_cast<unsigned>(status.permissions()) & 07777U;
}

// `relative`, written with '/', in the separator of a host.
inline std::string withSeparator(std::string relative, char separator) {
    for (char& c : relative)
        c = c == '/' ? separator : c;
    return relative;
}

// Every entry below `root`, links not followed, described by its kind, permission bits and
// content (or link target), so two snapshots differ exactly when something below changed.
inline std::map<std::string, std::string> snapshot(const std::filesystem::path& root) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> entries;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::end(it);
         it.increment(ec)) {
        std::ostringstream state;
        state << std::oct << modeOf(it->path().string()) << ' ';
        if (it->is_symlink()) {
            state << "link " << fs::read_symlink(it->path(), ec).string();
        } else if (!it->is_directory()) {
            std::ifstream in(it->path(), std::ios::binary);
            state << "file " << std::string(std::istreambuf_iterator<char>(in), {});
        }
        entries[fs::relative(it->path(), root).string()] = state.str();
    }
    return entries;
}

// A game installation in a temporary folder: the launcher and both edition folders, each with its
// resource/ and resource/UI/ folders, and no target file until a test puts one there.
class GameFolder : public TempTree {
  public:
    explicit GameFolder(const std::string& launcher = "hl.exe") {
        if (!launcher.empty())
            write(launcher, "launcher");
        makeDir("cstrike/resource/UI");
        makeDir("cstrike_russian/resource/UI");
    }

    using TempTree::path;
    std::string path(Slot slot) const { return path(target(slot)); }

    // Ad-carrying content, distinct per slot.
    static std::string adContent(Slot slot) { return "server advert in " + target(slot) + "\n"; }
    void putAd(Slot slot) const { write(target(slot), adContent(slot)); }
    void putAllAds() const {
        for (std::size_t i = 0; i < kSlotCount; ++i)
            putAd(static_cast<Slot>(i));
    }
    std::string read(Slot slot) const { return TempTree::read(target(slot)); }
    using TempTree::read;
    unsigned mode(Slot slot) const { return modeOf(path(slot)); }
    std::map<std::string, std::string> snapshot() const { return test::snapshot(path()); }
};

// A replacement folder of its own: the seven replacement files, with content that tells them apart
// (and apart from the shipped ones).
class ReplacementFolder : public TempTree {
  public:
    static constexpr std::string_view kNames[] = {
        "GameMenu.res",         "LoadingDialog.res", "LoadingDialogNoBanner.res",
        "LoadingDialogVAC.res", "ScoreBoard.res",    "motd.txt",
        "autobuy.txt"};

    explicit ReplacementFolder(std::string tag = "clean") : tag_(std::move(tag)) {
        for (std::string_view name : kNames)
            write(std::string(name), content(name));
    }
    std::string content(std::string_view name) const {
        return tag_ + " " + std::string(name) + "\n";
    }

  private:
    std::string tag_;
};

}  // namespace morvane::test

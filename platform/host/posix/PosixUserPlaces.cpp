#include <pwd.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "platform/UserPlaces.h"

namespace morvane {
namespace {

// Where Steam for Linux puts itself below the home folder: its own installer, the links it makes,
// Debian's package, Flatpak and Snap.
constexpr std::array<std::string_view, 6> kSteamRootsInHome{
    ".local/share/Steam",
    ".steam/steam",
    ".steam/root",
    ".steam/debian-installation",
    ".var/app/com.valvesoftware.Steam/.local/share/Steam",
    "snap/steam/common/.local/share/Steam",
};

// $HOME when it names an absolute folder, else the password database's entry.
std::optional<std::string> homeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/')
        return std::string(home);
    if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return std::string(entry->pw_dir);
    return std::nullopt;
}

}  // namespace

UserPlaces userPlaces() {
    UserPlaces places;
    const auto home = homeFolder();
    const std::string base = home && *home != "/" ? *home : "";
    if (home) {
        for (std::string_view relative : kSteamRootsInHome)
            places.steamRoots.push_back(base + "/" + std::string(relative));
    }
    // The XDG base directories: $XDG_STATE_HOME when it is absolute, else ~/.local/state.
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && state[0] == '/')
        places.backupsFolder = std::string(state) + "/morvane/backups";
    else if (home)
        places.backupsFolder = base + "/.local/state/morvane/backups";
    return places;
}

}  // namespace morvane

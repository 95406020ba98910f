#pragma once

#include <optional>
#include <string>
#include <vector>

namespace morvane {

// Where this user's programs keep their things, as this operating system lays them out. Each
// system has its own implementation beside its host.
struct UserPlaces {
    // Folders that may hold a Steam installation, the usual one first. Any of them may be missing
    // or lead to the same place as another.
    std::vector<std::string> steamRoots;
    // Where the driver keeps the backups of its cleans; no value when the user has no home.
    std::optional<std::string> backupsFolder;
};

UserPlaces userPlaces();

}  // namespace morvane

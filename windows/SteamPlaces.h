#pragma once

#include <string>
#include <vector>

#include "platform/TreeReader.h"

namespace morvane::ui {

// Where the folder choice looks for the game before the player has picked a folder: the user's
// Steam roots, as the driver's find reads them, and the reader to read them with, which also
// tells whether a folder picked is the game's.
struct SteamPlaces {
    TreeReader& reader;
    std::vector<std::string> roots;
};

}  // namespace morvane::ui

#pragma once

#include <string>
#include <vector>

#include "platform/Reason.h"
#include "platform/TreeReader.h"

namespace morvane::find {

// The game folders a command treats, and what stood in the way of choosing them.
struct GameList {
    std::vector<std::string> games;
    bool notAFolder = false;           // the game named is missing or not a folder
    std::vector<Reason> problems;      // library lists that could not be read, and why
    std::vector<std::string> skipped;  // libraries not searched (FoundInstallations::skipped)
    bool noneFound = false;            // asked to treat every installation, and none was found
};

// `game` when it is given (not empty), then, with `allFound`, every installation found from the
// Steam roots `roots`, each folder once (links resolved).
GameList gamesToTreat(TreeReader& reader, const std::vector<std::string>& roots,
                      const std::string& game, bool allFound);

}  // namespace morvane::find

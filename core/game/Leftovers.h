#pragma once

#include <string>
#include <vector>

#include "core/Outcome.h"
#include "platform/FileHost.h"

namespace morvane {

// Removes the temporary files that a killed run of the driver left in the game folder `game`,
// within a run on it that holds its lock (see FileHost::removeLeftovers): in every folder the
// driver writes in (those of the removal run's targets, the edition folders, the servers'
// downloads and the base game) and in the folders of `files` ('/' separated, below the game
// folder), those a command may also write in. Each one found, with what became of it: deleted, or
// failed with why.
std::vector<Outcome> removeLeftovers(FileHost& host, const std::string& game,
                                     const std::vector<std::string>& files);

}  // namespace morvane

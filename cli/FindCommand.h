#pragma once

#include <string>
#include <vector>

#include "cli/CommandResult.h"
#include "platform/TreeReader.h"

namespace morvane::cli {

// `morvane-cli find`: lists the installations found from the Steam roots `roots`, as text or as
// one JSON object. Exit status: 0 when at least one was found, 1 when none was, 2 when a library
// list could not be read (what was found is listed all the same).
CommandResult runFind(TreeReader& reader, const std::vector<std::string>& roots, bool json);

// The game folders a command treats: `game` when it is given, then, with `allFound`, every
// installation found from `roots`, each folder once. A `game` that is not a folder, a library list
// that cannot be read, and --all-found alone finding nothing go to `result` as messages with exit
// status 2.
std::vector<std::string> gamesToTreat(TreeReader& reader, const std::vector<std::string>& roots,
                                      const std::string& game, bool allFound,
                                      CommandResult& result);

}  // namespace morvane::cli

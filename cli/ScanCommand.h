#pragma once

#include <string>
#include <vector>

#include "cli/CommandResult.h"
#include "platform/TreeReader.h"

namespace morvane::cli {

// `morvane-cli scan`: scans each installation in `games`, in order, and reports every finding
// (text, or one JSON object per installation and line). Exit status: 0 when nothing was found, 1
// when something was, 2 when a file or folder that is there could not be read, or a game folder
// holds none of the scanned folders.
CommandResult runScan(TreeReader& reader, const std::vector<std::string>& games, bool json);

}  // namespace morvane::cli

#pragma once

#include <optional>

#include "CliOptions.h"

namespace morvane::cli {

// Runs the commands that only read (find, scan) and prints what they say; no value for the
// other commands.
std::optional<int> runReadingCommand(const CliOptions& options);

}  // namespace morvane::cli

#pragma once

#include <optional>

#include "cli/CliOptions.h"
#include "cli/Output.h"

namespace morvane::cli {

// Runs the commands that only read (find, scan) and writes what they say to `output`; no value
// for the other commands.
std::optional<int> runReadingCommand(const CliOptions& options, Output& output);

}  // namespace morvane::cli

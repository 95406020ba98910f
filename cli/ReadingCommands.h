#pragma once

#include <optional>

#include "CliOptions.h"
#include "Output.h"

namespace morvane::cli {

// Runs the commands that only read (find, scan) and writes what they say to `output`; no value
// for the other commands.
std::optional<int> runReadingCommand(const CliOptions& options, Output& output);

}  // namespace morvane::cli

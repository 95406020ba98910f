#pragma once

#include <string>
#include <string_view>

namespace morvane::cli {

// The manual page morvane-cli(1) in roff, from the driver's help tables. `filesFolder` is where
// the installed programs find their replacement files.
std::string manPage(std::string_view filesFolder);

// A bash completion script for commands, groups, options and folders, from the same tables.
std::string bashCompletion();

}  // namespace morvane::cli

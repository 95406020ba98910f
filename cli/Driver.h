#pragma once

#include <string>
#include <vector>

#include "cli/Options.h"
#include "cli/Output.h"
#include "core/Seams.h"

namespace morvane::cli {

// The whole driver on `args` (the command line after the program's name, UTF-8), with the
// system's own seams (platform/host/SystemHost.h). Returns the exit status (cli/ExitStatus.h).
// Each system's main() supplies the arguments and the output, and turns a failed write of the
// report into status 1.
int runDriver(const std::vector<std::string>& args, Output& output);

// The command that `options` names, through the command table, on `seams`: a test may give it
// seams of its own (a fake home, a host that fails).
int runCommand(const CliOptions& options, Seams& seams, Output& output);

}  // namespace morvane::cli

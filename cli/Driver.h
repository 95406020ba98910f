#pragma once

#include <string>
#include <vector>

#include "cli/Output.h"

namespace morvane::cli {

// The whole driver on `args` (the command line after the program's name, UTF-8), with the
// system's own host, reader and store (SystemSeams.h). Returns the exit status: 0 done as asked;
// 1 something could not be done (a target, the installation, another run); 2 bad input, nothing
// changed. Each system's main() supplies the arguments and the output, and turns a failed write of
// the report into status 1.
int runDriver(const std::vector<std::string>& args, Output& output);

}  // namespace morvane::cli

#pragma once

#include <string>

namespace morvane::cli {

// What one of the driver's commands has to say, and its exit status: 0 nothing to report, 1 the
// thing looked for was found (or not, as each command says), 2 trouble reading its input.
struct CommandResult {
    std::string out;
    std::string err;
    int status = 0;
};

}  // namespace morvane::cli

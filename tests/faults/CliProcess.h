#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace morvane::test {

// The path of the driver program under test.
std::string cliPath();

struct CliResult {
    int exitCode = -1;  // -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs morvane-cli with `args` to its end and collects what it printed.
CliResult runCli(const std::vector<std::string>& args);

// Starts morvane-cli with `args`, its output discarded; -1 when it cannot be started.
pid_t startCli(const std::vector<std::string>& args);

}  // namespace morvane::test

// morvane-cli: the cleaning engine without windows, for scripts, tests and benchmarks.
#include <signal.h>

#include "cli/Driver.h"

int main(int argc, char** argv) {
    // A reader that went away is a failed write, not a silent death.
    ::signal(SIGPIPE, SIG_IGN);
    morvane::cli::Output output;
    const int status =
        morvane::cli::runDriver(std::vector<std::string>(argv + 1, argv + argc), output);
    return status == 0 && output.failed() ? 1 : status;
}

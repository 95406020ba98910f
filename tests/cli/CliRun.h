#pragma once

// What the driver's command tests share: the built program run with a chosen environment, demo
// game folders, and counting in its output.
#include <unistd.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/support/ProgramRun.h"
#include "tests/support/Unwritable.h"

namespace morvane::test {

// How the driver is started beyond its arguments and environment.
struct Start {
    std::string folder;         // its current folder; the test's when empty
    bool ordinaryUser = false;  // as nobody when the test runs as root, so that modes hold
};

// Runs the built morvane-cli with `args`, its environment changed by `env` (HOME, XDG_STATE_HOME).
inline Outcome runCli(std::vector<std::string> args,
                      const std::map<std::string, std::string>& env = {}, const Start& start = {}) {
    std::string program = MORVANE_CLI;
    if (start.ordinaryUser && ::geteuid() == 0) {
        args.insert(args.begin(),
                    {"--reuid=65534", "--regid=65534", "--clear-groups", "--", program});
        program = "/usr/bin/setpriv";
    }
    RunSettings settings;
    settings.set = env;
    settings.folder = start.folder;
    return runProgram(program, args, settings);
}

// A demo game folder made by the project's generator, without the bulk of ordinary files.
inline void makeDemo(const std::string& folder, const std::string& option = {}) {
    std::vector<std::string> args{folder, "--files", "0"};
    if (!option.empty())
        args.push_back(option);
    const Outcome made = runProgram(MORVANE_DEMO_SCRIPT, args);
    ASSERT_EQ(made.exit, 0) << folder << ": " << made.err;
}

inline std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

}  // namespace morvane::test

#pragma once

// What the driver's command tests share: the built program run with a chosen environment, demo
// game folders, and counting in its output.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "tests/support/TempTree.h"

extern char** environ;

namespace morvane::test {

struct Outcome {
    int exit = -1;
    std::string out, err;
};

// Runs the built morvane-cli with `args`, its environment changed by `env` (HOME, XDG_STATE_HOME).
inline Outcome runCli(std::vector<std::string> args,
                      const std::map<std::string, std::string>& env = {}) {
    const TempTree output;
    args.insert(args.begin(), MORVANE_CLI);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::vector<std::string> settings;
    for (const auto& [name, value] : env)
        settings.push_back(name + "=" + value);
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string setting = *e;
        if (!env.contains(setting.substr(0, setting.find('='))))
            settings.push_back(setting);
    }
    std::vector<char*> envp;
    for (std::string& setting : settings)
        envp.push_back(setting.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, 1, output.path("out").c_str(),
                                       O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::posix_spawn_file_actions_addopen(&actions, 2, output.path("err").c_str(),
                                       O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = -1;
    Outcome outcome;
    int status = 0;
    if (::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0 &&
        ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
        outcome.exit = WEXITSTATUS(status);
    }
    ::posix_spawn_file_actions_destroy(&actions);
    outcome.out = output.read("out");
    outcome.err = output.read("err");
    return outcome;
}

// A demo game folder made by the project's generator, without the bulk of ordinary files.
inline void makeDemo(const std::string& folder, const std::string& options = {}) {
    const std::string command = std::string("'") + MORVANE_DEMO_SCRIPT + "' '" + folder +
                                "' --files 0 " + options + " >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

inline std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

}  // namespace morvane::test

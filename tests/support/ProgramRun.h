#pragma once

// The one way the tests run a built program (the driver, the windowed program, the demo folder's
// generator): started with posix_spawn, its standard output and error collected or sent to files
// of the test's choice, its environment changed where the test says.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/TempTree.h"

extern char** environ;

namespace morvane::test {

// As the file of an output stream: the stream is closed.
inline const std::string kClosed = "<closed>";

// How a program is run, beyond its arguments.
struct RunSettings {
    std::map<std::string, std::string> set;  // environment variables given these values
    std::vector<std::string> unset;          // environment variables taken away
    std::optional<std::string> out, err;     // a file of their own, or kClosed; else collected
    std::string folder;                      // its current folder; this process's when empty
};

// Standard output to the file `file` (or closed, for kClosed), the rest as it is.
inline RunSettings outputTo(const std::string& file) {
    RunSettings settings;
    settings.out = file;
    return settings;
}

// The environment of this process, changed as `settings` say.
inline std::vector<std::string> environmentFor(const RunSettings& settings) {
    std::vector<std::string> environment;
    for (const auto& [name, value] : settings.set)
        environment.push_back(name + "=" + value);
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string setting = *e;
        const std::string name = setting.substr(0, setting.find('='));
        bool dropped = settings.set.contains(name);
        for (const std::string& gone : settings.unset)
            dropped |= gone == name;
        if (!dropped)
            environment.push_back(setting);
    }
    return environment;
}

// Starts `program` with `args`, its output written to the files `out` and `err` (or closed, for
// kClosed); -1 when it cannot be started.
inline pid_t startProgram(const std::string& program, std::vector<std::string> args,
                          const std::string& out, const std::string& err,
                          const RunSettings& settings = {}) {
    args.insert(args.begin(), program);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::vector<std::string> environment = environmentFor(settings);
    std::vector<char*> envp;
    for (std::string& setting : environment)
        envp.push_back(setting.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    for (const auto& [fd, file] : {std::pair{1, &out}, std::pair{2, &err}}) {
        if (*file == kClosed) {
            ::posix_spawn_file_actions_addclose(&actions, fd);
        } else {
            ::posix_spawn_file_actions_addopen(&actions, fd, file->c_str(),
                                               O_WRONLY | O_CREAT | O_TRUNC, 0600);
        }
    }
    if (!settings.folder.empty())
        ::posix_spawn_file_actions_addchdir_np(&actions, settings.folder.c_str());
    pid_t pid = -1;
    if (::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0)
        pid = -1;
    ::posix_spawn_file_actions_destroy(&actions);
    return pid;
}

struct Outcome {
    int exit = -1;  // -1 when it did not exit normally
    std::string out, err;
};

// Runs `program` with `args` to its end and collects what it printed, but for a stream given a
// file of its own.
inline Outcome runProgram(const std::string& program, const std::vector<std::string>& args,
                          const RunSettings& settings = {}) {
    const TempTree output;
    const pid_t pid = startProgram(program, args, settings.out.value_or(output.path("out")),
                                   settings.err.value_or(output.path("err")), settings);
    int status = 0;
    Outcome outcome;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        outcome.exit = WEXITSTATUS(status);
    outcome.out = settings.out ? "" : output.read("out");
    outcome.err = settings.err ? "" : output.read("err");
    return outcome;
}

}  // namespace morvane::test

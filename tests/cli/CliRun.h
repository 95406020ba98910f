#pragma once

// What the driver's command tests share: the built program run with a chosen environment, demo
// game folders, and counting in its output.
#include <fcntl.h>
#include <linux/fs.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

// How the driver is started beyond its arguments and environment.
struct Start {
    std::string folder;         // its current folder; the test's when empty
    bool ordinaryUser = false;  // as nobody when the test runs as root, so that modes hold
};

// Runs the built morvane-cli with `args`, its environment changed by `env` (HOME, XDG_STATE_HOME).
inline Outcome runCli(std::vector<std::string> args,
                      const std::map<std::string, std::string>& env = {}, const Start& start = {}) {
    const TempTree output;
    args.insert(args.begin(), MORVANE_CLI);
    if (start.ordinaryUser && ::geteuid() == 0) {
        args.insert(args.begin(),
                    {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"});
    }
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
    if (!start.folder.empty())
        ::posix_spawn_file_actions_addchdir_np(&actions, start.folder.c_str());
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

// While it lives, nothing can be added to, removed from or renamed in `folder`, whoever runs the
// driver: through the immutable attribute as root, whom modes do not stop, else through its mode.
// held() is false when that cannot be done here (a file system without the attribute).
class Unwritable {
  public:
    explicit Unwritable(std::string folder) : folder_(std::move(folder)) {
        held_ = ::geteuid() == 0 ? immutable(true) : ::chmod(folder_.c_str(), 0555) == 0;
    }
    Unwritable(const Unwritable&) = delete;
    Unwritable& operator=(const Unwritable&) = delete;
    ~Unwritable() {
        if (held_ && ::geteuid() == 0)
            immutable(false);
        else if (held_)
            ::chmod(folder_.c_str(), 0755);
    }
    bool held() const { return held_; }

  private:
    bool immutable(bool on) const {
        const int fd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return done;
    }

    std::string folder_;
    bool held_ = false;
};

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

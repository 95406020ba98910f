#include "CliProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "TempTree.h"

extern char** environ;

namespace morvane::test {
namespace {

pid_t spawn(const std::vector<std::string>& args, const std::string& out, const std::string& err) {
    std::vector<std::string> all{cliPath()};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                       0600);
    ::posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                       0600);
    pid_t pid = -1;
    if (::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    ::posix_spawn_file_actions_destroy(&actions);
    return pid;
}

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

std::string cliPath() {
    return MORVANE_CLI;
}

CliResult runCli(const std::vector<std::string>& args) {
    const TempTree output;
    const std::string out = output.path("out");
    const std::string err = output.path("err");
    CliResult result;
    const pid_t pid = spawn(args, out, err);
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid)
        return result;
    if (WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    result.out = contentOf(out);
    result.err = contentOf(err);
    return result;
}

pid_t startCli(const std::vector<std::string>& args) {
    return spawn(args, "/dev/null", "/dev/null");
}

}  // namespace morvane::test

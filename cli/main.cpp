// morvane-cli: the cleaning engine without windows, for scripts, tests and benchmarks.
#include <signal.h>
#include <sys/stat.h>

#include "ChangingCommands.h"
#include "CliHelp.h"
#include "CliOptions.h"
#include "CliReport.h"
#include "Output.h"
#include "PosixFileHost.h"
#include "ReadingCommands.h"
#include "Search.h"

namespace {

using namespace morvane;

int usageError(cli::Output& output, const std::string& message) {
    output.err("morvane-cli: " + message + '\n' + cli::kUsage);
    return 2;
}

bool isFolder(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Bad input, with its message, or nothing.
std::optional<std::string> badInput(const cli::CliOptions& options) {
    if (!isFolder(options.folder))
        return "'" + options.folder + "' does not exist or is not a folder";
    return std::nullopt;
}

int size(const cli::CliOptions& options, FileHost& host, cli::Output& output) {
    const auto size = host.folderSize(options.folder);
    if (!size) {
        output.err("morvane-cli: cannot read '" + options.folder + "'\n");
        return 1;
    }
    output.out(std::to_string(*size) + '\n');
    return 0;
}

int searchOnly(const cli::CliOptions& options, FileHost& host, cli::Output& output) {
    EngineRecord record;
    record.gameFolder = options.folder;
    record.options = options.groups;
    output.out(cli::formatReport(search(record, host), std::nullopt, {}, options.json));
    return 0;
}

int run(const std::vector<std::string>& args, cli::Output& output) {
    if (const auto answer = cli::helpOrVersion(args)) {
        output.out(*answer);
        return 0;
    }
    const auto parsed = cli::parseArguments(args);
    if (const auto* error = std::get_if<cli::UsageError>(&parsed))
        return usageError(output, error->message);
    const auto& options = std::get<cli::CliOptions>(parsed);
    if (const auto status = cli::runReadingCommand(options, output))
        return *status;
    if (const auto status = cli::runChangingCommand(options, output))
        return *status;
    if (const auto message = badInput(options))
        return usageError(output, *message);

    PosixFileHost host;
    if (options.command == cli::Command::Size)
        return size(options, host, output);
    return searchOnly(options, host, output);
}

}  // namespace

// Exit status: 0 done as asked; 1 something could not be done (a target, the installation, another
// run, or writing the report); 2 bad input, nothing changed.
int main(int argc, char** argv) {
    // A reader that went away is a failed write, not a silent death.
    ::signal(SIGPIPE, SIG_IGN);
    cli::Output output;
    const int status = run(std::vector<std::string>(argv + 1, argv + argc), output);
    return status == 0 && output.failed() ? 1 : status;
}

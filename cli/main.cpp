// morvane-cli: the cleaning engine without windows, for scripts, tests and benchmarks.
#include <sys/stat.h>

#include <cstdio>
#include <iostream>

#include "CliOptions.h"
#include "CliReport.h"
#include "PosixFileHost.h"
#include "ReadingCommands.h"
#include "RemovalRun.h"
#include "Search.h"

namespace {

using namespace morvane;

int usageError(const std::string& message) {
    std::cerr << "morvane-cli: " << message << '\n' << cli::kUsage;
    return 2;
}

bool isFolder(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The game's launcher: hl.exe, or the native one on Linux.
bool holdsLauncher(const std::string& folder) {
    struct stat st;
    return ::stat((folder + "/hl.exe").c_str(), &st) == 0 ||
           ::stat((folder + "/hl_linux").c_str(), &st) == 0;
}

int run(const cli::CliOptions& options) {
    PosixFileHost host;
    if (options.command == cli::Command::Size) {
        const auto size = host.folderSize(options.folder);
        if (!size) {
            std::cerr << "morvane-cli: cannot read '" << options.folder << "'\n";
            return 1;
        }
        std::cout << *size << '\n';
        return 0;
    }
    EngineRecord record;
    record.gameFolder = options.folder;
    record.options = options.groups;
    record.blockServerMotd = options.blockServerMotd;
    record.readOnly = options.readOnly;
    const auto status = search(record, host);
    std::optional<Verdict> verdict;
    if (options.command == cli::Command::Clean) {
        verdict = runRemoval(record, host, ReplacementSource{options.filesFolder}).verdict;
    }
    std::cout << cli::formatReport(status, verdict, options.json);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto parsed = cli::parseArguments(args);
    if (const auto* error = std::get_if<cli::UsageError>(&parsed))
        return usageError(error->message);
    const auto& options = std::get<cli::CliOptions>(parsed);
    if (const auto status = cli::runReadingCommand(options))
        return *status;

    if (!isFolder(options.folder)) {
        return usageError("'" + options.folder + "' does not exist or is not a folder");
    }
    if (options.command == cli::Command::Clean && !options.force &&
        !holdsLauncher(options.folder)) {
        return usageError(
            "'" + options.folder +
            "' holds no hl.exe or hl_linux; is it the game folder? (--force to go on)");
    }
    if (options.filesFolder && !isFolder(*options.filesFolder)) {
        return usageError("'" + *options.filesFolder + "' does not exist or is not a folder");
    }
    return run(options);
}

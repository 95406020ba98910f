#include "cli/Driver.h"

#include <filesystem>

#include "cli/ChangingCommands.h"
#include "cli/CliHelp.h"
#include "cli/CliOptions.h"
#include "cli/CliReport.h"
#include "cli/ReadingCommands.h"
#include "engine/Search.h"
#include "platform/host/SystemHost.h"

namespace morvane::cli {
namespace {

int usageError(Output& output, const std::string& message) {
    output.err("morvane-cli: " + message + '\n' + kUsage);
    return 2;
}

// A path as the file system takes it: the driver's text is UTF-8 on every system.
std::filesystem::path fileSystemPath(const std::string& path) {
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

bool isFolder(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_directory(fileSystemPath(path), ignored);
}

// Bad input, with its message, or nothing.
std::optional<std::string> badInput(const CliOptions& options) {
    if (!isFolder(options.folder))
        return "'" + options.folder + "' does not exist or is not a folder";
    return std::nullopt;
}

int size(const CliOptions& options, FileHost& host, Output& output) {
    const auto size = host.folderSize(options.folder);
    if (!size) {
        output.err("morvane-cli: cannot read '" + options.folder + "'\n");
        return 1;
    }
    output.out(std::to_string(*size) + '\n');
    return 0;
}

int searchOnly(const CliOptions& options, FileHost& host, Output& output) {
    EngineRecord record;
    record.gameFolder = options.folder;
    record.options = options.groups;
    output.out(formatReport(search(record, host), std::nullopt, {}, options.json));
    return 0;
}

}  // namespace

int runDriver(const std::vector<std::string>& args, Output& output) {
    if (const auto answer = helpOrVersion(args)) {
        output.out(*answer);
        return 0;
    }
    const auto parsed = parseArguments(args);
    if (const auto* error = std::get_if<UsageError>(&parsed))
        return usageError(output, error->message);
    const auto& options = std::get<CliOptions>(parsed);
    if (const auto status = runReadingCommand(options, output))
        return *status;
    if (const auto status = runChangingCommand(options, output))
        return *status;
    if (const auto message = badInput(options))
        return usageError(output, *message);

    const auto host = makeFileHost();
    if (options.command == Command::Size)
        return size(options, *host, output);
    return searchOnly(options, *host, output);
}

}  // namespace morvane::cli

#include "Driver.h"

#include <chrono>
#include <filesystem>

#include "CliHelp.h"
#include "CliOptions.h"
#include "CliReport.h"
#include "RemovalRun.h"
#include "Replacements.h"
#include "Search.h"

namespace morvane::cli {
namespace {

// How long a clean waits for another run on the same game folder to end.
constexpr std::chrono::seconds kLockWait(10);

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

// The game's launcher: hl.exe, or the native one on Linux.
bool holdsLauncher(const std::string& folder) {
    std::error_code ignored;
    return std::filesystem::exists(fileSystemPath(folder) / "hl.exe", ignored) ||
           std::filesystem::exists(fileSystemPath(folder) / "hl_linux", ignored);
}

// Bad input, with its message, or nothing.
std::optional<std::string> badInput(const CliOptions& options) {
    if (!isFolder(options.folder))
        return "'" + options.folder + "' does not exist or is not a folder";
    if (options.command == Command::Clean && !options.force && !holdsLauncher(options.folder)) {
        return "'" + options.folder +
               "' holds no hl.exe or hl_linux; is it the game folder? (--force to go on)";
    }
    if (options.filesFolder && !isFolder(*options.filesFolder))
        return "'" + *options.filesFolder + "' does not exist or is not a folder";
    return std::nullopt;
}

// Before anything changes: every replacement file the chosen groups and options need must be a
// readable regular file. Missing ones in a folder named by --files are bad input (2); missing
// from the folder beside the program, the installation is incomplete (1). 0 when all are there.
int checkReplacements(const CliOptions& options, FileHost& host, Output& output) {
    const ReplacementSource source{options.filesFolder};
    const auto names = neededReplacements(options.groups, options.blockServerMotd);
    const auto missing = missingReplacements(names, host, source);
    if (missing.empty())
        return 0;
    const std::string folder = replacementFolder(host, source).value_or("");
    std::string message;
    for (std::string_view name : missing) {
        const std::string path = replacementPath(folder, name, host.separator());
        const char* state = host.lookupFile(path) == Lookup::Absent ? "missing" : "unreadable";
        if (options.filesFolder) {
            message += "morvane-cli: '" + path + "' is " + state + '\n';
        } else {
            message += "morvane-cli: the installation is incomplete: " +
                       std::string(kReplacementFolderName) + '/' + std::string(name) + " is " +
                       state + '\n';
        }
    }
    output.err(message + (options.filesFolder ? kUsage : ""));
    return options.filesFolder ? 2 : 1;
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

int searchOrClean(const CliOptions& options, FileHost& host, Output& output) {
    EngineRecord record;
    record.gameFolder = options.folder;
    record.options = options.groups;
    record.blockServerMotd = options.blockServerMotd;
    record.readOnly = options.readOnly;
    const auto status = search(record, host);
    if (options.command != Command::Clean) {
        output.out(formatReport(status, std::nullopt, {}, options.json));
        return 0;
    }
    const RemovalReport report =
        runRemoval(record, host, ReplacementSource{options.filesFolder}, kLockWait);
    if (report.busy) {
        output.err("morvane-cli: another run is in progress on '" + options.folder +
                   "'; nothing was changed\n");
        return 1;
    }
    const auto files = fileOutcomes(report.steps.all());
    output.out(formatReport(status, report.verdict, files, options.json));
    std::string failures;
    for (const FileOutcome& file : files) {
        if (file.action == FileAction::Failed)
            failures += "morvane-cli: could not treat " + file.path + ": " + file.reason + '\n';
    }
    output.err(failures);
    return failures.empty() ? 0 : 1;
}

}  // namespace

int runDriver(const std::vector<std::string>& args, Output& output, FileHost& host) {
    if (const auto answer = helpOrVersion(args)) {
        output.out(*answer);
        return 0;
    }
    const auto parsed = parseArguments(args);
    if (const auto* error = std::get_if<UsageError>(&parsed))
        return usageError(output, error->message);
    const auto& options = std::get<CliOptions>(parsed);
    if (const auto message = badInput(options))
        return usageError(output, *message);

    if (options.command == Command::Size)
        return size(options, host, output);
    if (options.command == Command::Clean) {
        if (const int incomplete = checkReplacements(options, host, output))
            return incomplete;
    }
    return searchOrClean(options, host, output);
}

}  // namespace morvane::cli

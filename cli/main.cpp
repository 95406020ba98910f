// morvane-cli: the cleaning engine without windows, for scripts, tests and benchmarks.
#include <signal.h>
#include <sys/stat.h>

#include <chrono>

#include "CliHelp.h"
#include "CliOptions.h"
#include "CliReport.h"
#include "Output.h"
#include "PosixFileHost.h"
#include "ReadingCommands.h"
#include "RemovalRun.h"
#include "Replacements.h"
#include "Search.h"

namespace {

using namespace morvane;

// How long a clean waits for another run on the same game folder to end.
constexpr std::chrono::seconds kLockWait(10);

int usageError(cli::Output& output, const std::string& message) {
    output.err("morvane-cli: " + message + '\n' + cli::kUsage);
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

// Bad input, with its message, or nothing.
std::optional<std::string> badInput(const cli::CliOptions& options) {
    if (!isFolder(options.folder))
        return "'" + options.folder + "' does not exist or is not a folder";
    if (options.command == cli::Command::Clean && !options.force &&
        !holdsLauncher(options.folder)) {
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
int checkReplacements(const cli::CliOptions& options, FileHost& host, cli::Output& output) {
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
    output.err(message + (options.filesFolder ? cli::kUsage : ""));
    return options.filesFolder ? 2 : 1;
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

int searchOrClean(const cli::CliOptions& options, FileHost& host, cli::Output& output) {
    EngineRecord record;
    record.gameFolder = options.folder;
    record.options = options.groups;
    record.blockServerMotd = options.blockServerMotd;
    record.readOnly = options.readOnly;
    const auto status = search(record, host);
    if (options.command != cli::Command::Clean) {
        output.out(cli::formatReport(status, std::nullopt, {}, options.json));
        return 0;
    }
    const RemovalReport report =
        runRemoval(record, host, ReplacementSource{options.filesFolder}, kLockWait);
    if (report.busy) {
        output.err("morvane-cli: another run is in progress on '" + options.folder +
                   "'; nothing was changed\n");
        return 1;
    }
    const auto files = cli::fileOutcomes(report.steps.all());
    output.out(cli::formatReport(status, report.verdict, files, options.json));
    std::string failures;
    for (const cli::FileOutcome& file : files) {
        if (file.action == cli::FileAction::Failed)
            failures += "morvane-cli: could not treat " + file.path + ": " + file.reason + '\n';
    }
    output.err(failures);
    return failures.empty() ? 0 : 1;
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
    if (const auto message = badInput(options))
        return usageError(output, *message);

    PosixFileHost host;
    if (options.command == cli::Command::Size)
        return size(options, host, output);
    if (options.command == cli::Command::Clean) {
        if (const int incomplete = checkReplacements(options, host, output))
            return incomplete;
    }
    return searchOrClean(options, host, output);
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

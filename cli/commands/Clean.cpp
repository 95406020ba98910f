// clean: the replacement files checked once, then each game folder cleaned in turn.
#include <algorithm>
#include <ctime>

#include "cli/ExitStatus.h"
#include "cli/Help.h"
#include "cli/Report.h"
#include "cli/commands/Handlers.h"
#include "core/clean/Clean.h"

namespace morvane::cli {
namespace {

clean::Request requestOf(const CliOptions& options, const std::string& game) {
    clean::Request request;
    request.game = game;
    request.groups = options.groups;
    request.blockServerMotd = options.blockServerMotd;
    request.readOnly = options.readOnly;
    request.keepSettings = options.keepSettings;
    request.backUp = !options.noBackup;
    request.force = options.force;
    request.filesFolder = options.filesFolder;
    request.now = std::time(nullptr);
    return request;
}

// Every replacement file the chosen groups and options need must be a readable regular file.
// Missing ones in a folder named by --files are bad input; missing from the folder beside the
// program, the installation is incomplete. kDone when all are there.
int checkReplacements(const CliOptions& options, Seams& seams, Output& output) {
    const auto missing = clean::missingReplacements(seams.host, requestOf(options, {}));
    for (const clean::MissingReplacement& file : missing) {
        const char* state = file.absent ? "missing" : "unreadable";
        if (options.filesFolder)
            output.problem("'" + file.path + "' is " + state);
        else
            output.problem("the installation is incomplete: " +
                           native(std::string(kReplacementFolderName) + '/' + file.name,
                                  seams.host.separator()) +
                           " is " + state);
    }
    if (missing.empty())
        return kDone;
    if (!options.filesFolder)
        return kNotDone;
    output.err(usageText());
    return kBadInput;
}

std::string stopMessage(const clean::Result& result, const std::string& game) {
    switch (result.stop) {
        case clean::Stop::Busy:
            return "another run is in progress on '" + game + "'";
        case clean::Stop::NoBackupsFolder:
            return "there is no folder for backups (no home folder)";
        case clean::Stop::BackupNotMade:
            return "the backup cannot be made (" + result.stopReason + ")";
        case clean::Stop::BackupNotWritten:
            return "the backup cannot be written (" + result.stopReason + ")";
        case clean::Stop::NotAGameFolder:
        case clean::Stop::None:
            break;
    }
    return {};
}

// What a stop is called in JSON, for programs to tell stops apart.
const char* stopName(clean::Stop stop) {
    switch (stop) {
        case clean::Stop::NotAGameFolder:
            return "not a game folder";
        case clean::Stop::Busy:
            return "busy";
        case clean::Stop::NoBackupsFolder:
            return "no backups folder";
        case clean::Stop::BackupNotMade:
            return "backup not made";
        case clean::Stop::BackupNotWritten:
            return "backup not written";
        case clean::Stop::None:
            break;
    }
    return "";
}

// Every file the clean treated or could not treat, those it could not read among them.
std::vector<FileOutcome> filesOf(const clean::Result& result) {
    std::vector<FileOutcome> files = result.files;
    for (const clean::NotRead& unread : result.notRead) {
        if (std::none_of(files.begin(), files.end(),
                         [&](const FileOutcome& file) { return file.path == unread.path; })) {
            files.push_back({unread.path, FileAction::Failed,
                             "not read (" + unread.reason + "), so not treated"});
        }
    }
    return files;
}

// What one clean came to: its report on standard output, its problems on standard error.
int report(const CliOptions& options, const std::string& game, const clean::Result& result,
           Output& output) {
    const std::vector<FileOutcome> files = filesOf(result);
    output.out(
        formatReport({game, options.groups, result.found, result.verdict, files, result.backupId},
                     options.json, options.allFound));
    if (!result.backupIncomplete.empty())
        output.problem("the backup " + result.backupId + " cannot be completed (" +
                       result.backupIncomplete + "): undo will need --force");
    for (const FileOutcome& file : files) {
        if (file.action == FileAction::Failed)
            output.problem("could not treat " + file.path + ": " + file.reason);
    }
    return result.done() ? kDone : kNotDone;
}

// The welcome pages alone are a clean, as the options window runs it with only that box ticked;
// --read-only and --keep-settings act on what the groups (and the pages) have the run write.
bool asksForAnything(const CliOptions& options) {
    return options.blockServerMotd || options.groups != std::array<bool, kGroupCount>{};
}

}  // namespace

int runClean(const CliOptions& options, Seams& seams, Output& output) {
    if (!asksForAnything(options))
        return usageError(output, "name the kinds to clean, or all");
    int status = kDone;
    const std::vector<std::string> games = chooseGames(options, seams, output, status);
    if (options.filesFolder && seams.reader.kindOf(*options.filesFolder) != EntryKind::Folder)
        return usageError(output,
                          "'" + *options.filesFolder + "' does not exist or is not a folder");
    if (status == kBadInput && !options.allFound) {
        output.err(usageText());  // GAME is not a folder
        return status;
    }
    if (const int missing = checkReplacements(options, seams, output))
        return missing;
    bool first = true;
    for (const std::string& game : games) {
        const clean::Result result = clean::run(seams, requestOf(options, game));
        if (result.stop == clean::Stop::NotAGameFolder) {
            const bool named = game == options.folder;
            output.problem("'" + game +
                           "' holds no hl.exe or hl_linux; is it the game folder? (--force to go "
                           "on)");
            if (named)
                output.err(usageText());
            else if (options.json)
                output.out(formatStop(game, stopName(result.stop), result.stopReason));
            status = std::max(status, named ? int(kBadInput) : int(kNotDone));
            continue;
        }
        if (result.stop != clean::Stop::None) {
            output.problem(stopMessage(result, game) + "; nothing was changed");
            if (options.json)
                output.out(formatStop(game, stopName(result.stop), result.stopReason));
            status = std::max(status, int(kNotDone));
            continue;
        }
        if (!first && !options.json)
            output.out("\n");
        first = false;
        status = std::max(status, report(options, game, result, output));
    }
    return status;
}

}  // namespace morvane::cli

// clean: the replacement files checked once, then each game folder cleaned in turn.
#include <algorithm>
#include <ctime>

#include "cli/ExitStatus.h"
#include "cli/Help.h"
#include "cli/Json.h"
#include "cli/Report.h"
#include "cli/commands/Handlers.h"
#include "core/clean/Clean.h"
#include "platform/Translate.h"

namespace morvane::cli {
namespace {

using i18n::tr;

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
        if (options.filesFolder) {
            output.problem(file.absent ? tr("'%s' is missing", file.path)
                                       : tr("'%s' is unreadable", file.path));
            continue;
        }
        const std::string name =
            native(std::string(kReplacementFolderName) + '/' + file.name, seams.host.separator());
        output.problem(file.absent ? tr("the installation is incomplete: %s is missing", name)
                                   : tr("the installation is incomplete: %s is unreadable", name));
    }
    if (missing.empty())
        return kDone;
    if (!options.filesFolder)
        return kNotDone;
    output.err(usageText());
    return kBadInput;
}

std::string stopMessage(const Stopped& stop, const std::string& game) {
    const std::string detail = stop.detail.translated();
    switch (stop.cause) {
        case Stop::BackupNotMade:
            return tr("the backup cannot be made (%s)", detail);
        case Stop::BackupNotWritten:
            return tr("the backup cannot be written (%s)", detail);
        default:
            break;
    }
    return refusalOf(stop, game);
}

// Every file the clean treated or could not treat, those it could not read among them.
std::vector<Outcome> filesOf(const clean::Result& result) {
    std::vector<Outcome> files = result.files;
    for (const Outcome& unread : result.notRead) {
        if (std::none_of(files.begin(), files.end(),
                         [&](const Outcome& file) { return file.path == unread.path; })) {
            files.push_back({unread.path, Done::Failed, Cause::NotRead, reasonOf(unread)});
        }
    }
    return files;
}

// What one clean came to: its report on standard output, its problems on standard error.
int report(const CliOptions& options, const std::string& game, const clean::Result& result,
           Output& output) {
    const std::vector<Outcome> files = filesOf(result);
    const Report report{game, options.groups, result.found, result.verdict, files, result.backupId};
    output.out(options.json ? jsonReport(report) : formatReport(report, options.allFound));
    sayIncomplete(result.backupId, result.backupIncomplete, output);
    for (const Outcome& file : files) {
        if (file.done == Done::Failed)
            output.problem(tr("could not treat %s: %s", file.path, reasonOf(file).translated()));
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
        return usageError(output, tr("name the kinds to clean, or all"));
    int status = kDone;
    const std::vector<std::string> games = chooseGames(options, seams, output, status);
    if (options.filesFolder && seams.reader.kindOf(*options.filesFolder) != EntryKind::Folder)
        return usageError(output, notAFolder(*options.filesFolder));
    if (status == kBadInput && !options.allFound) {
        output.err(usageText());  // GAME is not a folder
        return status;
    }
    if (const int missing = checkReplacements(options, seams, output))
        return missing;
    bool first = true;
    for (const std::string& game : games) {
        const clean::Result result = clean::run(seams, requestOf(options, game));
        if (result.stop == Stop::NotAGameFolder) {
            const bool named = game == options.folder;
            output.problem(refusalOf(result.stop, game));
            if (named)
                output.err(usageText());
            else if (options.json)
                output.out(jsonStop(game, result.stop));
            status = std::max(status, named ? int(kBadInput) : int(kNotDone));
            continue;
        }
        if (result.stop != Stop::None) {
            output.problem(tr("%s; nothing was changed", stopMessage(result.stop, game)));
            if (options.json)
                output.out(jsonStop(game, result.stop));
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

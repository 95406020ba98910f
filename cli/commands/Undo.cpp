// undo: a backup put back, or the backups listed.
#include <ctime>
#include <map>

#include "cli/ExitStatus.h"
#include "cli/commands/Handlers.h"
#include "core/undo/Undo.h"

namespace morvane::cli {
namespace {

using backup::Action;

// "14 replaced, 7 rewritten, 3 deleted": what a clean did, by what it did to each file.
std::string summaryOf(const backup::Manifest& manifest) {
    std::map<Action, int> counts;
    for (const backup::ManifestEntry& entry : manifest.entries)
        ++counts[entry.action];
    std::string out;
    for (const auto& [action, n] : counts) {
        if (action != Action::Unchanged)
            out += (out.empty() ? "" : ", ") + std::to_string(n) + " " +
                   std::string(backup::actionName(action));
    }
    return out.empty() ? "nothing changed" : out;
}

const char* kNoBackupsFolder = "there is no folder for backups (no home folder)";

int list(const std::string& game, Seams& seams, Output& output) {
    const undo::Listing listing = undo::list(seams, game);
    if (listing.noBackupsFolder) {
        output.problem(std::string(kNoBackupsFolder) + "; nothing was changed");
        return kNotDone;
    }
    if (listing.backups.empty())
        output.out("no backup of " + printable(game) + "\n");
    for (const undo::Listed& backup : listing.backups) {
        const auto* made = backup.manifest ? &*backup.manifest : nullptr;
        output.out(backup.id + "  " +
                   (made ? made->time + "  " + made->by + ": " + summaryOf(*made)
                         : "cannot be used: " + printable(backup.error)) +
                   "\n");
    }
    return kDone;
}

// Why nothing was put back, and the exit status for it.
int refusal(const undo::Result& result, const std::string& game, Output& output) {
    std::string why;
    int status = kNotDone;
    switch (result.stop) {
        case undo::Stop::NoBackupsFolder:
            why = kNoBackupsFolder;
            break;
        case undo::Stop::NoSuchBackup:
            why = "there is no backup '" + result.id + "' of '" + game + "'";
            status = kBadInput;
            break;
        case undo::Stop::NoBackup:
            why = "there is no backup of '" + game + "' to undo";
            break;
        case undo::Stop::Unusable:
            why = "the backup " + result.id + " cannot be used: " + result.detail;
            break;
        case undo::Stop::BackupNotMade:
            why = "the backup of what it would overwrite cannot be made (" + result.detail + ")";
            break;
        case undo::Stop::Busy:
            why = "another run is in progress on '" + game + "'";
            break;
        case undo::Stop::ChangedSince:
            for (const undo::Changed& file : result.changed) {
                output.problem(file.path + (file.error.empty()
                                                ? " changed since the clean"
                                                : " cannot be read (" + file.error + ")"));
            }
            why = "the files above are left as they are (--force puts them back too)";
            break;
        case undo::Stop::None:
            break;
    }
    output.problem(why + "; nothing was changed");
    return status;
}

const char* restoredName(undo::Restored::What what) {
    return what == undo::Restored::What::PutBack ? "put back" : "removed";
}

}  // namespace

int runUndo(const CliOptions& options, Seams& seams, Output& output) {
    const std::optional<std::string> named = theGame(options, seams, output);
    if (!named)
        return kBadInput;
    const std::string& game = *named;
    if (options.list)
        return list(game, seams, output);
    const undo::Result result =
        undo::run(seams, {game, options.run, options.force, std::time(nullptr)});
    if (result.stop != undo::Stop::None)
        return refusal(result, game, output);
    sayLeftovers(result.leftovers, output);
    for (const undo::Restored& file : result.files) {
        if (file.what == undo::Restored::What::Failed) {
            output.out(printable(file.path) + ": failed (" + printable(file.reason) + ")\n");
            output.problem("could not put back " + file.path + ": " + file.reason);
        } else {
            output.out(printable(file.path) + ": " + restoredName(file.what) + "\n");
        }
    }
    if (result.files.empty())
        output.out("nothing to put back: " + printable(game) + " is as before the clean " +
                   result.id + "\n");
    if (!result.backupIncomplete.empty())
        output.problem("the backup " + result.backupId + " cannot be completed (" +
                       result.backupIncomplete + "): undo will need --force");
    if (!result.backupId.empty())
        output.out("backup: " + result.backupId + "\n");
    return result.anyFailed() || !result.backupIncomplete.empty() ? kNotDone : kDone;
}

}  // namespace morvane::cli

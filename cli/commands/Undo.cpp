// undo: a backup put back, or the backups listed.
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
        output.out("no backup of " + game + "\n");
    for (const undo::Listed& backup : listing.backups) {
        output.out(backup.id + "  " +
                   (backup.manifest ? backup.manifest->time + "  " + summaryOf(*backup.manifest)
                                    : "cannot be used: " + backup.error) +
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
        case undo::Stop::Damaged:
            why = "the backup " + result.id + " is damaged: its copy of " + result.detail +
                  " is not the file it recorded";
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
    const undo::Result result = undo::run(seams, {game, options.run, options.force});
    if (result.stop != undo::Stop::None)
        return refusal(result, game, output);
    for (const undo::Restored& file : result.files) {
        if (file.what == undo::Restored::What::Failed) {
            output.out(file.path + ": failed (" + file.reason + ")\n");
            output.problem("could not put back " + file.path + ": " + file.reason);
        } else {
            output.out(file.path + ": " + restoredName(file.what) + "\n");
        }
    }
    if (result.files.empty())
        output.out("nothing to put back: " + game + " is as before the clean " + result.id + "\n");
    return result.anyFailed() ? kNotDone : kDone;
}

}  // namespace morvane::cli

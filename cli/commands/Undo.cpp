// undo: a backup put back, or the backups listed.
#include <ctime>
#include <map>

#include "cli/ExitStatus.h"
#include "cli/Report.h"
#include "cli/Text.h"
#include "cli/commands/Handlers.h"
#include "core/undo/Undo.h"
#include "platform/Translate.h"

namespace morvane::cli {
namespace {

using backup::Action;
using i18n::tr;
using i18n::trn;

// "3 replaced": how many files a command did `action` to, in the reader's language.
std::string counted(Action action, int n) {
    switch (action) {
        case Action::Pending:
            // TRANSLATORS: files a command that never ended had yet to treat.
            return trn("%d pending", "%d pending", n, n);
        case Action::Replaced:
            return trn("%d replaced", "%d replaced", n, n);
        case Action::Rewritten:
            return trn("%d rewritten", "%d rewritten", n, n);
        case Action::Deleted:
            return trn("%d deleted", "%d deleted", n, n);
        case Action::Created:
            return trn("%d created", "%d created", n, n);
        case Action::Permissions:
            // TRANSLATORS: files of which only the permissions (the read-only mark) changed.
            return trn("%d permissions", "%d permissions", n, n);
        case Action::Unchanged:
            break;
    }
    return {};
}

// "14 replaced, 7 rewritten, 3 deleted": what a clean did, by what it did to each file.
std::string summaryOf(const backup::Manifest& manifest) {
    std::map<Action, int> counts;
    for (const backup::ManifestEntry& entry : manifest.entries)
        ++counts[entry.action];
    std::string out;
    for (const auto& [action, n] : counts) {
        if (action != Action::Unchanged)
            out += (out.empty() ? "" : ", ") + counted(action, n);
    }
    return out.empty() ? tr("nothing changed") : out;
}

int list(const std::string& game, Seams& seams, Output& output) {
    const undo::Listing listing = undo::list(seams, game);
    if (listing.noBackupsFolder) {
        output.problem(tr("%s; nothing was changed", refusalOf({Stop::NoBackupsFolder, {}}, game)));
        return kNotDone;
    }
    if (listing.backups.empty())
        output.out(tr("no backup of %s", printable(game)) + "\n");
    for (const undo::Listed& backup : listing.backups) {
        const auto* made = backup.manifest ? &*backup.manifest : nullptr;
        output.out(backup.id + "  " +
                   (made ? made->time + "  " + made->by + ": " + summaryOf(*made)
                         : tr("cannot be used: %s", printable(backup.error.translated()))) +
                   "\n");
    }
    return kDone;
}

// Why nothing was put back, and the exit status for it.
int refusal(const undo::Result& result, const std::string& game, Output& output) {
    std::string why;
    int status = kNotDone;
    const std::string detail = result.stop.detail.translated();
    switch (result.stop.cause) {
        case Stop::NoSuchBackup:
            why = tr("there is no backup '%s' of '%s'", result.id, game);
            status = kBadInput;
            break;
        case Stop::NoBackup:
            why = tr("there is no backup of '%s' to undo", game);
            break;
        case Stop::BackupUnusable:
            why = tr("the backup %s cannot be used: %s", result.id, detail);
            break;
        case Stop::BackupNotMade:
        case Stop::BackupNotWritten:
            why = tr("the backup of what it would overwrite cannot be made (%s)", detail);
            break;
        case Stop::ChangedSince:
            for (const Outcome& file : result.changed) {
                output.problem(
                    file.cause == Cause::NotRead
                        ? tr("%s cannot be read (%s)", file.path, file.detail.translated())
                        : tr("%s changed since the clean", file.path));
            }
            why = tr("the files above are left as they are (--force puts them back too)");
            break;
        default:
            why = refusalOf(result.stop, game);
            break;
    }
    output.problem(tr("%s; nothing was changed", why));
    return status;
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
    if (result.stop != Stop::None)
        return refusal(result, game, output);
    sayLeftovers(result.leftovers, output);
    for (const Outcome& file : result.files) {
        output.out(outcomeLine(file) + "\n");
        if (file.done == Done::Failed)
            output.problem(tr("could not put back %s: %s", file.path, reasonOf(file).translated()));
    }
    if (result.files.empty())
        output.out(
            tr("nothing to put back: %s is as before the clean %s", printable(game), result.id) +
            "\n");
    sayBackup(result.backupId, result.backupIncomplete, output);
    return result.anyFailed() || result.backupIncomplete ? kNotDone : kDone;
}

}  // namespace morvane::cli

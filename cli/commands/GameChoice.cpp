// What the handlers share: the game folders to treat, and the words of what several commands say.
#include "cli/ExitStatus.h"
#include "cli/Help.h"
#include "cli/Report.h"
#include "cli/commands/Handlers.h"
#include "core/find/GameList.h"
#include "platform/Translate.h"

namespace morvane::cli {

using i18n::tr;

std::vector<std::string> chooseGames(const CliOptions& options, Seams& seams, Output& output,
                                     int& status) {
    find::GameList list =
        find::gamesToTreat(seams.reader, seams.places.steamRoots, options.folder, options.allFound);
    if (list.notAFolder)
        output.problem(notAFolder(options.folder));
    sayLibraryProblems(list.problems, list.skipped, output);
    if (list.noneFound)
        output.problem(tr("no game installation found"));
    if (list.notAFolder || !list.problems.empty() || list.noneFound)
        status = kBadInput;
    return std::move(list.games);
}

std::optional<std::string> theGame(const CliOptions& options, Seams& seams, Output& output) {
    int status = kDone;
    std::vector<std::string> games = chooseGames(options, seams, output, status);
    if (status == kBadInput || games.empty()) {
        output.err(usageText());
        return std::nullopt;
    }
    return std::move(games.front());
}

void sayLibraryProblems(const std::vector<Reason>& problems,
                        const std::vector<std::string>& skipped, Output& output) {
    for (const Reason& problem : problems)
        output.problem(tr("cannot read the Steam library list %s", problem.translated()));
    for (const std::string& library : skipped)
        output.problem(tr("skipped the library named in %s (not an absolute path)", library));
}

void sayLeftovers(const std::vector<Outcome>& leftovers, Output& output) {
    for (const Outcome& file : leftovers) {
        output.out(outcomeLine(file) + "\n");
        if (file.done == Done::Failed)
            output.problem(tr("could not remove %s: %s", file.path, file.detail.translated()));
    }
}

void sayIncomplete(const std::string& id, const std::optional<Reason>& incomplete, Output& output) {
    if (incomplete) {
        output.problem(tr("the backup %s cannot be completed (%s): undo will need --force", id,
                          incomplete->translated()));
    }
}

void sayBackup(const std::string& id, const std::optional<Reason>& incomplete, Output& output) {
    sayIncomplete(id, incomplete, output);
    if (!id.empty())
        output.out(tr("backup: %s", id) + "\n");
}

std::string refusalOf(const Stopped& stop, const std::string& game) {
    switch (stop.cause) {
        case Stop::NotAGameFolder:
            return tr("'%s' holds no hl.exe or hl_linux; is it the game folder? (--force to go on)",
                      game);
        case Stop::NoEditionFolder:
            return tr("'%s' holds no cstrike or cstrike_russian folder", game);
        case Stop::Busy:
            return tr("another run is in progress on '%s'", game);
        case Stop::NoBackupsFolder:
            return tr("there is no folder for backups (no home folder)");
        default:
            break;
    }
    return stop.detail.translated();
}

std::string notAFolder(const std::string& path) {
    return tr("'%s' does not exist or is not a folder", path);
}

int usageError(Output& output, const std::string& message) {
    output.problem(message);
    output.err(usageText());
    return kBadInput;
}

}  // namespace morvane::cli

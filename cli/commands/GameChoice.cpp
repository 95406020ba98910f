#include "cli/ExitStatus.h"
#include "cli/Help.h"
#include "cli/Text.h"
#include "cli/commands/Handlers.h"
#include "core/find/GameList.h"

namespace morvane::cli {

std::vector<std::string> chooseGames(const CliOptions& options, Seams& seams, Output& output,
                                     int& status) {
    find::GameList list =
        find::gamesToTreat(seams.reader, seams.places.steamRoots, options.folder, options.allFound);
    if (list.notAFolder)
        output.problem("'" + options.folder + "' does not exist or is not a folder");
    for (const std::string& problem : list.problems)
        output.problem("cannot read the Steam library list " + problem);
    for (const std::string& library : list.skipped)
        output.problem(skippedLibrary(library));
    if (list.noneFound)
        output.problem("no game installation found");
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

void sayLeftovers(const std::vector<Leftover>& leftovers, Output& output) {
    for (const Leftover& file : leftovers) {
        if (file.removed.succeeded) {
            output.out(printable(file.path) + ": deleted\n");
            continue;
        }
        output.out(printable(file.path) + ": failed (delete: " + printable(file.removed.reason) +
                   ")\n");
        output.problem("could not remove " + file.path + ": " + file.removed.reason);
    }
}

int usageError(Output& output, const std::string& message) {
    output.problem(message);
    output.err(usageText());
    return kBadInput;
}

std::string skippedLibrary(const std::string& library) {
    return "skipped the library named in " + library + " (not an absolute path)";
}

}  // namespace morvane::cli

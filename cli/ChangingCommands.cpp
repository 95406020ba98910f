#include "cli/ChangingCommands.h"

#include <algorithm>
#include <ctime>

#include "cli/FindCommand.h"
#include "core/clean/Clean.h"
#include "core/game/GameLayout.h"
#include "core/protect/Protect.h"
#include "core/undo/Undo.h"
#include "engine/Replacements.h"
#include "platform/host/SystemHost.h"

namespace morvane::cli {
namespace {

bool holdsLauncher(TreeReader& reader, const std::string& folder) {
    return std::any_of(kLaunchers.begin(), kLaunchers.end(), [&](std::string_view launcher) {
        return reader.kindOf(below(folder, launcher, reader.separator())) != EntryKind::Missing;
    });
}

// Before anything changes: every replacement file the chosen groups and options need must be a
// readable regular file. Missing ones in a folder named by --files are bad input (2); missing
// from the folder beside the program, the installation is incomplete (1). 0 when all are there.
int checkReplacements(const CliOptions& options, FileHost& host, CommandResult& result) {
    const ReplacementSource source{options.filesFolder};
    const auto names = neededReplacements(options.groups, options.blockServerMotd);
    const auto missing = missingReplacements(names, host, source);
    if (missing.empty())
        return 0;
    const std::string folder = replacementFolder(host, source).value_or("");
    for (std::string_view name : missing) {
        const std::string path = replacementPath(folder, name, host.separator());
        const char* state = host.lookupFile(path) == Lookup::Absent ? "missing" : "unreadable";
        if (options.filesFolder) {
            result.err += "morvane-cli: '" + path + "' is " + state + '\n';
        } else {
            result.err += "morvane-cli: the installation is incomplete: " +
                          std::string(kReplacementFolderName) + '/' + std::string(name) + " is " +
                          state + '\n';
        }
    }
    result.err += options.filesFolder ? kUsage : "";
    return options.filesFolder ? 2 : 1;
}

// Cleans every game in turn; a found installation without a launcher is passed over.
void cleanAll(Seams& seams, const CliOptions& options, const std::vector<std::string>& games,
              CommandResult& result) {
    for (const std::string& game : games) {
        if (!options.force && !holdsLauncher(seams.reader, game)) {
            const bool named = game == options.folder;
            result.err += "morvane-cli: '" + game +
                          "' holds no hl.exe or hl_linux; is it the game folder? (--force to go "
                          "on)\n" +
                          (named ? kUsage : "");
            result.status = std::max(result.status, named ? 2 : 1);
            continue;
        }
        const CommandResult cleaned = runClean(seams, options, game, std::time(nullptr));
        if (!result.out.empty() && !options.json)
            result.out += "\n";
        result.out += cleaned.out;
        result.err += cleaned.err;
        result.status = std::max(result.status, cleaned.status);
    }
}

}  // namespace

std::optional<int> runChangingCommand(const CliOptions& options, Output& output) {
    const Command command = options.command;
    if (command != Command::Clean && command != Command::Undo && command != Command::Protect)
        return std::nullopt;
    const auto ownHost = makeFileHost();
    const auto ownReader = makeTreeReader();
    const auto ownStore = makeStateStore();
    FileHost& host = *ownHost;
    TreeReader& reader = *ownReader;
    Seams seams{host, reader, *ownStore, userPlaces()};
    CommandResult result;
    const auto games =
        gamesToTreat(reader, seams.places.steamRoots, options.folder, options.allFound, result);
    if (options.filesFolder && reader.kindOf(*options.filesFolder) != EntryKind::Folder) {
        result.err += "morvane-cli: '" + *options.filesFolder +
                      "' does not exist or is not a folder\n" + kUsage;
        result.status = 2;
    } else if (result.status == 2 && !options.allFound) {
        result.err += kUsage;  // GAME is not a folder
    } else if (command == Command::Clean) {
        if (const int missing = checkReplacements(options, host, result))
            result.status = missing;
        else
            cleanAll(seams, options, games, result);
    } else if (!games.empty()) {
        const CommandResult done = command == Command::Undo ? runUndo(seams, options, games[0])
                                                            : runProtect(seams, games[0]);
        result = {done.out, result.err + done.err, std::max(result.status, done.status)};
    }
    output.out(result.out);
    output.err(result.err);
    return result.status;
}

}  // namespace morvane::cli

#include "cli/ReadingCommands.h"

#include <algorithm>

#include "cli/FindCommand.h"
#include "cli/ScanCommand.h"
#include "platform/UserPlaces.h"
#include "platform/host/SystemHost.h"

namespace morvane::cli {

std::optional<int> runReadingCommand(const CliOptions& options, Output& output) {
    if (options.command != Command::Find && options.command != Command::Scan)
        return std::nullopt;
    const auto ownReader = makeTreeReader();
    TreeReader& reader = *ownReader;
    CommandResult result;
    if (options.command == Command::Find) {
        result = runFind(reader, userPlaces().steamRoots, options.json);
    } else {
        const auto games =
            gamesToTreat(reader, userPlaces().steamRoots, options.folder, options.allFound, result);
        if (!games.empty()) {
            const CommandResult scanned = runScan(reader, games, options.json);
            result = {scanned.out, result.err + scanned.err,
                      std::max(result.status, scanned.status)};
        }
    }
    output.out(result.out);
    output.err(result.err);
    return result.status;
}

}  // namespace morvane::cli

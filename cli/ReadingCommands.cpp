#include "ReadingCommands.h"

#include <iostream>

#include "FindCommand.h"
#include "PosixTreeReader.h"
#include "ScanCommand.h"
#include "UserPlaces.h"

namespace morvane::cli {

std::optional<int> runReadingCommand(const CliOptions& options) {
    if (options.command != Command::Find && options.command != Command::Scan)
        return std::nullopt;
    PosixTreeReader reader;
    CommandResult result;
    if (options.command == Command::Find) {
        result = runFind(reader, userPlaces().steamRoots, options.json);
    } else if (!options.allFound && reader.kindOf(options.folder) != EntryKind::Folder) {
        result = {
            {}, "morvane-cli: '" + options.folder + "' does not exist or is not a folder\n", 2};
    } else {
        const auto games = options.allFound ? allFoundGames(reader, userPlaces().steamRoots, result)
                                            : std::vector<std::string>{options.folder};
        const CommandResult scanned = runScan(reader, games, options.json);
        result = {scanned.out, result.err + scanned.err, std::max(result.status, scanned.status)};
    }
    std::cout << result.out << std::flush;
    std::cerr << result.err;
    return result.status;
}

}  // namespace morvane::cli

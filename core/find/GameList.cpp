#include "core/find/GameList.h"

#include <algorithm>

#include "core/find/Installations.h"

namespace morvane::find {

GameList gamesToTreat(TreeReader& reader, const std::vector<std::string>& roots,
                      const std::string& game, bool allFound) {
    GameList list;
    std::vector<std::string> seen;  // links resolved
    const auto add = [&](const std::string& folder) {
        const std::string resolved = reader.canonicalPath(folder).value_or(folder);
        if (std::find(seen.begin(), seen.end(), resolved) == seen.end()) {
            seen.push_back(resolved);
            list.games.push_back(folder);
        }
    };
    if (!game.empty() && reader.kindOf(game) != EntryKind::Folder) {
        list.notAFolder = true;
        return list;
    }
    if (!game.empty())
        add(game);
    if (!allFound)
        return list;
    FoundInstallations found = findInstallations(reader, roots);
    list.problems = std::move(found.problems);
    list.skipped = std::move(found.skipped);
    for (const Installation& installation : found.installations)
        add(installation.folder);
    list.noneFound = list.games.empty();
    return list;
}

}  // namespace morvane::find

#include "core/scan/Installation.h"

#include <algorithm>
#include <tuple>

#include "core/game/GameLayout.h"
#include "core/scan/Addresses.h"

namespace morvane::scan {
namespace {

// Where a file's findings stand in a report: folder by folder as the game's layout orders them,
// then as the families and their places come, then by name.
auto orderOf(const ScannedFile& file) {
    const auto all = families();
    const auto family = std::find(all.begin(), all.end(), file.family);
    return std::tuple(reportOrder(file.relative), family - all.begin(),
                      file.place - file.family->places.data(), std::string_view(file.relative));
}

}  // namespace

void Installation::settle() {
    console = resolveConsole(definitions);
    buildHosts = presetServers;
    if (makersHand())
        buildHosts.insert(foreignMasters.begin(), foreignMasters.end());
    buildHosts.erase("");
    for (const std::string& host : buildHosts) {
        if (std::string site = siteName(host); !site.empty())
            buildSites.insert(std::move(site));
    }
}

std::vector<Finding> judgeFiles(std::string_view game, const std::vector<ScannedFile>& files) {
    Installation installation;
    installation.steamLibrary = inSteamLibrary(game);
    for (const ScannedFile& file : files) {
        ++installation.files;
        if (file.family->gather != nullptr)
            file.family->gather(file, installation);
    }
    installation.settle();
    std::vector<const ScannedFile*> ordered;
    for (const ScannedFile& file : files)
        ordered.push_back(&file);
    std::sort(ordered.begin(), ordered.end(),
              [](const ScannedFile* a, const ScannedFile* b) { return orderOf(*a) < orderOf(*b); });
    std::vector<Finding> findings;
    for (const ScannedFile* file : ordered) {
        auto found = file->family->judge(*file, installation);
        findings.insert(findings.end(), std::make_move_iterator(found.begin()),
                        std::make_move_iterator(found.end()));
    }
    return findings;
}

std::vector<Finding> judgeFiles(std::string_view game,
                                const std::vector<std::pair<std::string, std::string>>& files) {
    std::vector<ScannedFile> placed;
    for (const auto& [relative, content] : files) {
        const Placed where = placeOf(relative);
        if (where.family != nullptr)
            placed.push_back({relative, where.family, where.place, content});
    }
    return judgeFiles(game, placed);
}

}  // namespace morvane::scan

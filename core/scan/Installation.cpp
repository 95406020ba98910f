#include "core/scan/Installation.h"

#include <algorithm>
#include <tuple>

#include "core/game/GameLayout.h"
#include "core/game/Masters.h"
#include "core/scan/Addresses.h"
#include "core/text/AsciiText.h"

namespace morvane::scan {
namespace {

// Where a finding stands in a report: folder by folder as the game's layout orders them, then as
// the families and their places come, then by file and line.
auto orderOf(const Finding& finding) {
    const auto all = families();
    const auto family = std::find_if(all.begin(), all.end(), [&](const Family* f) {
        return finding.place >= f->places.data() &&
               finding.place < f->places.data() + f->places.size();
    });
    const auto place = family == all.end() ? 0 : finding.place - (*family)->places.data();
    return std::tuple(reportOrder(finding.file), family - all.begin(), place,
                      std::string_view(finding.file), finding.line);
}

}  // namespace

void Installation::settle() {
    console = resolveConsole(definitions);
    buildHosts = presetServers;
    if (buildsHand())
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
        if (file.family->gather != nullptr)
            file.family->gather(file, installation);
    }
    installation.settle();
    std::vector<Finding> findings;
    for (const ScannedFile& file : files) {
        auto found = file.family->judge(file, installation);
        findings.insert(findings.end(), std::make_move_iterator(found.begin()),
                        std::make_move_iterator(found.end()));
    }
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& a, const Finding& b) { return orderOf(a) < orderOf(b); });
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

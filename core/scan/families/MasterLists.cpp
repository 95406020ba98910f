// The master-server lists the server browser (or a build's emulator) reads: the game's own in
// platform/config/, and those builds sold without Steam bring in config/, platform/ or the game
// folder, under the emulators' names (rev_, rew_) and variants (MasterServers2.vdf, .vdf.vdf,
// .csb). Read as KeyValues, tolerantly: one-line files, a final NUL byte, lines ending in CR alone.
#include <algorithm>
#include <array>

#include "core/game/GameLayout.h"
#include "core/game/Masters.h"
#include "core/scan/Installation.h"
#include "core/scan/families/Families.h"
#include "core/scan/families/KeyValueLines.h"
#include "core/text/AsciiText.h"
#include "platform/Translate.h"

namespace morvane::scan {
namespace {

constexpr unsigned kGameSort = 0;   // the game's own list, below platform/
constexpr unsigned kBuildSort = 1;  // a list a build brought for its emulator

struct EntryFacts {
    bool foreign = false;  // its master is not Valve's
    bool steam = false;    // a Steam installation
    bool buildAround = false;
};

constexpr unsigned kAny = (1u << kGameSort) | (1u << kBuildSort);
constexpr auto kRows = std::to_array<Row<EntryFacts>>({
    {{"master-address", Level::Planted,
      i18n::trMark("a master server that is not Valve's, in a game build that reads the list: the "
                   "Internet tab lists only the servers it names")},
     kAny,
     [](const EntryFacts& f) { return f.foreign && !f.steam && f.buildAround; }},
    {{"master-address-alone", Level::Suspect,
      i18n::trMark("a master server that is not Valve's, in a list that stands alone, with no game "
                   "build around it: a list published by itself, perhaps to bring the shut-down "
                   "masters back (its text alone cannot tell it from a hijack)")},
     kAny,
     [](const EntryFacts& f) { return f.foreign && !f.steam && !f.buildAround; }},
    {{"master-address-steam", Level::Suspect,
      i18n::trMark("a master server that is not Valve's, on a Steam installation: the game asks "
                   "Steam for servers there and never reads this list")},
     kAny,
     [](const EntryFacts& f) { return f.foreign && f.steam; }},
});

// Every "addr" of a list, at any depth ("MasterServers" { "hl1" { "0" { "addr" ... } } }, one line,
// or an address standing alone in "hl1"): the planted thing is the address itself, since the
// list's structure is the game's.
std::vector<const kv::Node*> mastersOf(const kv::Node& root) {
    return root.textsBelow("addr");
}

bool emulatorsName(std::string_view relative) {
    const std::string_view name = relative.substr(relative.rfind('/') + 1);
    return std::any_of(kEmulatorListPrefixes.begin(), kEmulatorListPrefixes.end(),
                       [&](std::string_view prefix) {
                           return name.size() > prefix.size() &&
                                  equalsIgnoringCase(name.substr(0, prefix.size()), prefix);
                       });
}

void gather(const ScannedFile& file, Installation& installation) {
    ++installation.masterLists;
    installation.emulator |= emulatorsName(file.relative);
    const kv::Node root = kv::parseTolerantly(file.content);
    for (const kv::Node* master : mastersOf(root)) {
        if (isValveMaster(master->value))
            continue;
        installation.foreignMasters.insert(lowerAscii(masterHost(master->value)));
        installation.foreignInBuildLists |= file.place->sort == kBuildSort;
    }
}

std::vector<Finding> judge(const ScannedFile& file, const Installation& installation) {
    const kv::Node root = kv::parseTolerantly(file.content);
    const KeyValueLines lines(file);
    std::vector<Finding> findings;
    for (const kv::Node* master : mastersOf(root)) {
        const EntryFacts facts{!isValveMaster(master->value), installation.steam(),
                               installation.buildAround()};
        if (const Rule* rule = firstMatch(kRows, file.place->sort, facts))
            findings.push_back(lines.finding(*master, *master, rule));
    }
    return findings;
}

constexpr auto kRules = rulesOf(kRows);

constexpr std::string_view kGameFolders[] = {kPlatformConfigFolder, kPlatformFolder};
constexpr std::string_view kAllFolders[] = {kPlatformConfigFolder, kConfigFolder, kPlatformFolder,
                                            kGameFolderItself};

constexpr Place kPlaces[] = {
    {kGameFolders, "MasterServers.vdf", Group::Config, Keep::Masters, kGameSort},
    {kAllFolders, "*MasterServers*.vdf", Group::Config, Keep::Masters, kBuildSort},
    {kAllFolders, "*MasterServers*.csb", Group::Config, Keep::Masters, kBuildSort},
};

}  // namespace

const Family kMasterLists{kPlaces, true, kRules, gather, judge};

}  // namespace morvane::scan

#include "engine/Search.h"

namespace morvane {
namespace {

using enum Slot;

constexpr Slot kMenu[] = {gameMenuRuPath, gameMenuPath};
constexpr Slot kLoading[] = {loadingDialogRuPath, loadingNoBannerRuPath, loadingVacRuPath,
                             loadingDialogPath,   loadingNoBannerPath,   loadingVacPath};
constexpr Slot kScoreboard[] = {scoreBoardRuPath, scoreBoardPath};
constexpr Slot kConfig[] = {configRuPath, configPath, userConfigRuPath, userConfigPath};
constexpr Slot kMotd[] = {motdRuPath, motdPath};
constexpr Slot kAutobuy[] = {autobuyRuPath, autobuyPath};

// Every lookup of the group is made, even after one has found a file. A lookup that fails ends the
// group's test, which then counts as found.
bool anyPresent(EngineRecord& record, FileHost& host, std::span<const Slot> slots) {
    bool present = false;
    for (Slot slot : slots) {
        const Lookup result = host.lookupFile(record.slot(slot));
        if (result == Lookup::Failed)
            return true;
        present = present || result == Lookup::Present;
    }
    return present;
}

}  // namespace

std::span<const Slot> searchSlots(Group group) {
    switch (group) {
        case Group::Menu:
            return kMenu;
        case Group::Loading:
            return kLoading;
        case Group::Scoreboard:
            return kScoreboard;
        case Group::Config:
            return kConfig;
        case Group::Motd:
            return kMotd;
        case Group::Autobuy:
            return kAutobuy;
    }
    return {};
}

std::array<bool, kGroupCount> search(EngineRecord& record, FileHost& host) {
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        const auto group = static_cast<Group>(g);
        if (!record.option(group)) {
            record.found(group) = false;
            continue;
        }
        const std::span<const Slot> slots = searchSlots(group);
        for (Slot slot : slots) {
            record.slot(slot) =
                joinPath(record.gameFolder, slotInfo(slot).relative, host.separator());
        }
        record.found(group) = anyPresent(record, host, slots);
    }
    return record.status;
}

}  // namespace morvane

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

// The lookups of one search. A target that is there is compared with its replacement file, whose
// folder is asked for once, when the first comparison needs it.
class Lookups {
  public:
    Lookups(FileHost& host, const ReplacementSource& source) : host_(host), source_(source) {}

    // Present only for a target that is there and is not byte for byte its replacement.
    Lookup lookUp(Slot slot, const std::string& path) {
        const Lookup found = host_.lookupFile(path);
        const std::string_view replacement = slotInfo(slot).replacement;
        if (found != Lookup::Present || replacement.empty())
            return found;
        if (!folder_)
            folder_ = replacementFolder(host_, source_);
        const bool clean =
            *folder_ &&
            host_.sameContent(path, replacementPath(**folder_, replacement, host_.separator()),
                              kMaxComparedReplacement);
        return clean ? Lookup::Absent : Lookup::Present;
    }

  private:
    FileHost& host_;
    const ReplacementSource& source_;
    std::optional<std::optional<std::string>> folder_;  // not asked for yet / unknown / known
};

// Every lookup of the group is made, even after one has found a file. A lookup that fails ends the
// group's test, which then counts as found.
bool anyPresent(EngineRecord& record, Lookups& lookups, std::span<const Slot> slots) {
    bool present = false;
    for (Slot slot : slots) {
        const Lookup result = lookups.lookUp(slot, record.slot(slot));
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

std::array<bool, kGroupCount> search(EngineRecord& record, FileHost& host,
                                     const ReplacementSource& source) {
    Lookups lookups(host, source);
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
        record.found(group) = anyPresent(record, lookups, slots);
    }
    return record.status;
}

}  // namespace morvane

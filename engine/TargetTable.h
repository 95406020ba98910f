#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// The game's two edition folders below the game folder; every target lies in one of them.
inline constexpr std::array<std::string_view, 2> kEditionFolders{"cstrike", "cstrike_russian"};

// The kinds of advertising, in the order in which the search visits them.
enum class Group { Menu, Loading, Scoreboard, Config, Motd, Autobuy };
inline constexpr std::size_t kGroupCount = 6;

// The twenty target path slots, in their fixed declaration order.
enum class Slot {
    gameMenuRuPath,
    gameMenuPath,
    loadingDialogRuPath,
    loadingNoBannerRuPath,
    loadingVacRuPath,
    loadingDialogPath,
    loadingNoBannerPath,
    loadingVacPath,
    scoreBoardRuPath,
    scoreBoardPath,
    configRuPath,
    configPath,
    userConfigRuPath,
    userConfigPath,
    motdRuPath,
    motdPath,
    motdTempPath,
    motdTempRuPath,
    autobuyRuPath,
    autobuyPath,
};
inline constexpr std::size_t kSlotCount = 20;

// Slots 1 to 18: the files whose attributes the removal run changes (the auto-buy files are not).
inline constexpr std::size_t kAttributeSetSize = 18;

struct SlotInfo {
    std::string_view name;         // the slot's own name, as the options window calls it
    std::string_view relative;     // appended to the game folder; backslash separators
    std::string_view replacement;  // file name inside the replacement folder; empty: none
};

inline constexpr std::array<SlotInfo, kSlotCount> kSlots{{
    {"gameMenuRuPath", "\\cstrike_russian\\resource\\GameMenu.res", "GameMenu.res"},
    {"gameMenuPath", "\\cstrike\\resource\\GameMenu.res", "GameMenu.res"},
    {"loadingDialogRuPath", "\\cstrike_russian\\resource\\LoadingDialog.res", "LoadingDialog.res"},
    {"loadingNoBannerRuPath", "\\cstrike_russian\\resource\\LoadingDialogNoBanner.res",
     "LoadingDialogNoBanner.res"},
    {"loadingVacRuPath", "\\cstrike_russian\\resource\\LoadingDialogVAC.res",
     "LoadingDialogVAC.res"},
    {"loadingDialogPath", "\\cstrike\\resource\\LoadingDialog.res", "LoadingDialog.res"},
    {"loadingNoBannerPath", "\\cstrike\\resource\\LoadingDialogNoBanner.res",
     "LoadingDialogNoBanner.res"},
    {"loadingVacPath", "\\cstrike\\resource\\LoadingDialogVAC.res", "LoadingDialogVAC.res"},
    {"scoreBoardRuPath", "\\cstrike_russian\\resource\\UI\\ScoreBoard.res", "ScoreBoard.res"},
    {"scoreBoardPath", "\\cstrike\\resource\\UI\\ScoreBoard.res", "ScoreBoard.res"},
    {"configRuPath", "\\cstrike_russian\\config.cfg", ""},
    {"configPath", "\\cstrike\\config.cfg", ""},
    {"userConfigRuPath", "\\cstrike_russian\\userconfig.cfg", ""},
    {"userConfigPath", "\\cstrike\\userconfig.cfg", ""},
    {"motdRuPath", "\\cstrike_russian\\motd.txt", "motd.txt"},
    {"motdPath", "\\cstrike\\motd.txt", "motd.txt"},
    {"motdTempPath", "\\cstrike\\motd_temp.html", "motd.txt"},
    {"motdTempRuPath", "\\cstrike_russian\\motd_temp.html", "motd.txt"},
    {"autobuyRuPath", "\\cstrike_russian\\autobuy.txt", "autobuy.txt"},
    {"autobuyPath", "\\cstrike\\autobuy.txt", "autobuy.txt"},
}};

constexpr const SlotInfo& slotInfo(Slot slot) {
    return kSlots[static_cast<std::size_t>(slot)];
}

// The replacement folder's name inside the program's folder.
inline constexpr std::string_view kReplacementFolderName = "files";

// `folder` followed directly by `relative`, whose separators ('\\' or '/') become `separator`.
// Nothing else is normalised: a folder ending in a separator yields a doubled one, an empty
// folder the bare relative path. Every path of the programs is joined here.
std::string joinPath(std::string_view folder, std::string_view relative, char separator);

// The source path of a replacement file: `replacementFolder`, a separator and `fileName`.
inline std::string replacementPath(std::string_view replacementFolder, std::string_view fileName,
                                   char separator) {
    return joinPath(replacementFolder, std::string(1, separator).append(fileName), separator);
}

}  // namespace morvane

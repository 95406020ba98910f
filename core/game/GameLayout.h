#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "engine/TargetTable.h"
#include "platform/TreeReader.h"

namespace morvane {

// The one place that knows how a Counter-Strike 1.6 installation is laid out, beyond the engine's
// target table, which holds the two edition folders (kEditionFolders) that every target lies in.

// The game's launchers: hl.exe, and hl_linux that a native Linux installation starts from and
// that may be its only one.
inline constexpr std::array<std::string_view, 2> kLaunchers{"hl.exe", "hl_linux"};

// What servers send down to the player: maps, sounds, and config files the game may run.
inline constexpr std::string_view kDownloadsFolder = "cstrike_downloads";
// The base game, whose config files the game also runs.
inline constexpr std::string_view kValveFolder = "valve";
// The four game folders the scan expects at least one of: both editions, the servers' downloads,
// the base game.
inline constexpr std::array<std::string_view, 4> kScannedFolders{
    kEditionFolders[0], kEditionFolders[1], kDownloadsFolder, kValveFolder};
// The downloads folder alone, as a list of folders.
inline constexpr std::array<std::string_view, 1> kDownloadsFolders{kDownloadsFolder};
// Every edition the engine searches for a language before cstrike itself (cstrike_russian,
// cstrike_german..., and cstrike_addon, cstrike_hd, cstrike_lv), as a name pattern ('*': any).
inline constexpr std::string_view kLanguageEditions = "cstrike_*";

// Places outside the game's folders, where the server browser and the emulators of builds sold
// without Steam keep their settings: the game folder itself, its platform/ and platform/config/
// (the game's own), and config/ (where an emulator keeps what Steam would).
inline constexpr std::string_view kGameFolderItself = "";
inline constexpr std::string_view kPlatformFolder = "platform";
inline constexpr std::string_view kPlatformConfigFolder = "platform/config";
inline constexpr std::string_view kConfigFolder = "config";

// Whether the game folder at `path` lies in a Steam library: a folder on its way is named
// steamapps (any letter case; either separator).
bool inSteamLibrary(std::string_view path);

// Where the file at `relative` ('/' separated, below the game folder) stands when reports list the
// game's files folder by folder: the editions, the other language editions, the base game, the
// settings of the game folder itself, then what servers left in their downloads.
int reportOrder(std::string_view relative);

// Where a Steam library keeps the game, below the library's folder.
inline constexpr std::string_view kSteamGameFolder = "steamapps/common/Half-Life";

// `relative` ('/' separated) below `folder`, with the host's separator. Like the engine's paths,
// it begins with `folder` exactly as given, as the host wants the paths of a run to.
inline std::string below(std::string_view folder, std::string_view relative, char separator) {
    return joinPath(folder, std::string(1, '/').append(relative), separator);
}

// The file of the target `slot` below the game folder, '/' separated ("cstrike/config.cfg").
std::string slotFile(const SlotInfo& slot);

// What of the game's layout a folder holds: its launchers (files) and its folders of the game.
struct FolderLook {
    std::vector<std::string> launchers;  // those of kLaunchers that are there, in that order
    std::vector<std::string> editions;   // those of kEditionFolders that are folders
    bool anyScannedFolder = false;       // any of kScannedFolders is a folder
};
FolderLook lookAt(TreeReader& reader, const std::string& folder);

// Whether `folder` is a game folder: it holds one of the launchers.
inline bool isGameFolder(TreeReader& reader, const std::string& folder) {
    return !lookAt(reader, folder).launchers.empty();
}

}  // namespace morvane

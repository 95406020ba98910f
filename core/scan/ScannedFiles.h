#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "core/game/GameLayout.h"
#include "engine/TargetTable.h"

namespace morvane::scan {

// How the game treats a scanned file, which decides the rules that apply to it.
enum class FileKind {
    GameConfig,  // config.cfg: written by the game itself, in a fixed form
    OwnConfig,   // userconfig.cfg, autoexec.cfg, valve.rc...: the player's own
    Resource,    // the menu, loading screen and scoreboard layouts
    Welcome,     // the welcome page, and the one the last server sent (motd_temp.html)
    Download,    // a .cfg below cstrike_downloads: a server's file as a whole
};

struct ScannedName {
    std::string_view relative;  // below a scanned folder, '/' separated
    FileKind kind;
    bool inValve;  // also read in the valve folder
    Group group;   // the kind of advertising it carries, as a clean chooses them
};

// The files read in each scanned folder. The config files are read first: the aliases they define
// count in all of them.
inline constexpr std::array<ScannedName, 14> kScannedNames{{
    {"config.cfg", FileKind::GameConfig, true, Group::Config},
    {"userconfig.cfg", FileKind::OwnConfig, true, Group::Config},
    {"autoexec.cfg", FileKind::OwnConfig, true, Group::Config},
    {"valve.rc", FileKind::OwnConfig, true, Group::Config},
    {"joystick.cfg", FileKind::OwnConfig, true, Group::Config},
    {"language.cfg", FileKind::OwnConfig, true, Group::Config},
    {"violence.cfg", FileKind::OwnConfig, true, Group::Config},
    {"resource/GameMenu.res", FileKind::Resource, false, Group::Menu},
    {"resource/LoadingDialog.res", FileKind::Resource, false, Group::Loading},
    {"resource/LoadingDialogNoBanner.res", FileKind::Resource, false, Group::Loading},
    {"resource/LoadingDialogVAC.res", FileKind::Resource, false, Group::Loading},
    {"resource/UI/ScoreBoard.res", FileKind::Resource, false, Group::Scoreboard},
    {"motd.txt", FileKind::Welcome, false, Group::Motd},
    {"motd_temp.html", FileKind::Welcome, false, Group::Motd},
}};

// The folders below the game folder that are scanned: kScannedFolders (core/game/GameLayout.h).

// The kind of the file at `relative` ('/' separated, below the game folder), or no value when it
// is not scanned. Names are compared ignoring ASCII case, as the game finds them.
std::optional<FileKind> fileKindOf(std::string_view relative);

// Whether the scanned file at `relative` is a server's own as a whole: a file below the downloads
// folder, or the welcome page the last server sent (motd_temp.html). Nothing of the player's is in
// it.
bool isServersFile(std::string_view relative);

// The group of the scanned file at `relative`: a downloaded config file is of the config group.
std::optional<Group> groupOf(std::string_view relative);

}  // namespace morvane::scan

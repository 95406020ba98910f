#pragma once

#include "core/scan/Family.h"

namespace morvane::scan {

// The families of files the scan reads, one file each in core/scan/families/.
extern const Family kDownloadedConfigs;  // every .cfg a server left below cstrike_downloads
extern const Family kConfigs;            // the config files the game runs
extern const Family kLayouts;            // the menu, loading screens and scoreboard
extern const Family kWelcomePages;       // motd.txt, and the page the last server sent
extern const Family kMasterLists;        // the master-server lists of the server browser
extern const Family kFavourites;         // the server browser's favourites and history
extern const Family kEmulatorSettings;   // rev.ini, of builds sold without Steam

}  // namespace morvane::scan

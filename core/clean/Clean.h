#pragma once

#include <ctime>
#include <string>

#include "cli/CliOptions.h"
#include "cli/CommandResult.h"
#include "core/Seams.h"

namespace morvane::cli {

// `morvane-cli clean` on one game folder, whose launcher and replacement files were checked:
// searches the chosen groups and, in one run on the folder (waiting for another to end):
//  1. unless --no-backup, copies every file the clean may change into a new backup, with a
//     manifest, outside the game folder; a backup that cannot be written stops the clean with
//     nothing changed;
//  2. with --keep-settings, takes the planted lines out of the chosen groups' config files instead
//     of deleting config.cfg and userconfig.cfg (suspect lines stay), and deletes what servers left
//     in cstrike_downloads and the planted welcome page the last server sent (motd_temp.html) for
//     those groups;
//  3. runs the removal run, as the options window does;
//  4. records in the backup what became of each file, and keeps the newest backups only.
// Exit status 0 when every target was treated as asked, 1 otherwise. `now` names the backup.
CommandResult runClean(Seams& seams, const CliOptions& options, const std::string& game,
                       std::time_t now);

}  // namespace morvane::cli

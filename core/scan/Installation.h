#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/scan/ConsoleReach.h"
#include "core/scan/Family.h"

namespace morvane::scan {

// What the installation as a whole shows, gathered from the files of every family before any file
// is judged: what a line, an entry or a setting means can depend on the others.
struct Installation {
    // The config files' aliases and what they run, as gathered; then what the console can do.
    ConsoleDefinitions definitions;
    Console console;

    // Settles what follows from everything gathered.
    void settle();
};

// The findings in `files` of an installation at `game`, judged together as the scan judges them,
// ordered by file and line. Every file must come with its family and place.
std::vector<Finding> judgeFiles(std::string_view game, const std::vector<ScannedFile>& files);

// The same for files given by their path below the game folder and content, each placed as the
// scan would place it on disk; files no family holds are left out.
std::vector<Finding> judgeFiles(std::string_view game,
                                const std::vector<std::pair<std::string, std::string>>& files);

}  // namespace morvane::scan

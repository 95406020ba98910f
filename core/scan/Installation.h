#pragma once

#include <cstddef>
#include <set>
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

    // Where the game folder is, and what shows a build sold without Steam, and its maker's hand.
    bool steamLibrary = false;             // the game folder lies in a Steam library
    bool emulator = false;                 // an emulator's settings or lists are there
    bool foreignInBuildLists = false;      // a list of the build's own (outside platform/) names a
                                           // master that is not Valve's
    std::size_t files = 0;                 // the files the scan read
    std::size_t masterLists = 0;           // of which master lists
    bool brandedName = false;              // the game's default name is dressed with a brand
    std::set<std::string> foreignMasters;  // the hosts (lower case) of masters not Valve's
    std::set<std::string> presetServers;   // the hosts of servers the emulator is told to use
    // Settled: the hosts the build points at (its pre-set servers, and the foreign masters where
    // the build's hand shows), and the names their sites are registered under.
    std::set<std::string> buildHosts;
    std::set<std::string> buildSites;

    // A Steam installation: the game asks Steam for servers, and never reads the lists.
    bool steam() const { return steamLibrary && !emulator; }
    // The hand of a build's maker: an emulator, or masters not Valve's in the build's own lists.
    bool makersHand() const { return emulator || foreignInBuildLists; }
    // A game build around the lists, which reads them: the maker's hand, or any of the game's
    // files beside the lists (a list alone is one published by itself).
    bool buildAround() const { return makersHand() || files > masterLists; }

    // Settles what follows from everything gathered.
    void settle();
};

// The findings in `files` of an installation at `game`, judged together as the scan judges them:
// file by file, folder by folder as reports list them, each file's by line. Every file must come
// with its family and place.
std::vector<Finding> judgeFiles(std::string_view game, const std::vector<ScannedFile>& files);

// The same for files given by their path below the game folder and content, each placed as the
// scan would place it on disk; files no family holds are left out.
std::vector<Finding> judgeFiles(std::string_view game,
                                const std::vector<std::pair<std::string, std::string>>& files);

}  // namespace morvane::scan

#pragma once

#include <string>
#include <vector>

#include "platform/Reason.h"
#include "platform/TreeReader.h"

namespace morvane::find {

// One game installation found on this machine.
struct Installation {
    std::string folder;                  // the Half-Life folder, links resolved
    std::vector<std::string> launchers;  // those of hl.exe and hl_linux that are there
    std::vector<std::string> editions;   // those of cstrike and cstrike_russian that are there
};

struct FoundInstallations {
    std::vector<Installation> installations;  // each once, in the order of the roots
    std::vector<Reason> problems;             // library lists that could not be read: "LIST: why"
    // Libraries named by a list that are not absolute paths, and so not searched: "LIST: PATH".
    std::vector<std::string> skipped;
};

// Looks for the game in every Steam library that the roots lead to: each root that is a folder is
// a library itself, and so is every folder its steamapps/libraryfolders.vdf names; the game is
// the library's steamapps/common/Half-Life. Missing roots and libraries are passed over silently;
// a library named by a path that is not absolute is not searched (it would depend on the current
// folder) but named in `skipped`.
FoundInstallations findInstallations(TreeReader& reader, const std::vector<std::string>& roots);

}  // namespace morvane::find

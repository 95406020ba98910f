#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "core/Outcome.h"
#include "core/scan/Finding.h"
#include "core/scan/Protection.h"
#include "platform/TreeReader.h"

namespace morvane::scan {

struct EditionProtection {
    std::string folder;
    Protection state;
};

struct ScanReport {
    std::vector<Finding> findings;
    std::vector<EditionProtection> protection;  // each edition folder present, in order
    // The files and folders that are there but could not be read, so the scan cannot vouch for
    // them: unread, their paths below the game folder ('/' separated), and why.
    std::vector<Outcome> unread;
    std::map<std::string, std::string> contents;  // the bytes of every file read, by file
};

// Game files are small; anything larger is not read into memory.
inline constexpr std::size_t kMaxScannedFileSize = 16u << 20;

// Reads (never changes) the files of every family (core/scan/Family.h) in the installation at
// `game`, and reports what servers and distributors planted there, ordered by file and line, and
// where cl_filterstuffcmd stands: config.cfg, then userconfig.cfg, then autoexec.cfg of each
// edition folder decide it, the last setting winning. Folders are walked as deep as they go (links
// are not followed); what cannot be read is named as unread.
ScanReport scanGame(TreeReader& reader, const std::string& game);

}  // namespace morvane::scan

#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "core/Outcome.h"
#include "core/Seams.h"
#include "core/backup/Manifest.h"

namespace morvane::undo {

struct Request {
    std::string game;
    std::optional<std::string> id;  // the backup to put back; the latest when none
    bool force = false;             // put back files changed since the clean too
    std::time_t now = 0;            // names the backup of what the undo overwrites
};

struct Result {
    // Why nothing was put back, if it was not: no backups folder, no such backup (bad input), no
    // backup at all, the backup unusable (damaged or unreadable), busy, files changed since (listed
    // in changed) and not forced, or the backup of what it would overwrite not made or written.
    Stopped stop;
    std::string id;  // the backup
    // The files not as the clean left them: changed since, or unreadable (not read, and why).
    std::vector<Outcome> changed;
    std::vector<Outcome> leftovers;  // temporary files a killed run left, removed first
    // What became of each file put back (put back, removed, or failed and why); empty when the
    // folder was already as before the clean.
    std::vector<Outcome> files;
    std::string backupId;  // the backup of what it overwrote; empty when none was kept
    std::optional<Reason> backupIncomplete;  // why that backup could not be completed

    bool anyFailed() const;
};

// Puts back the files of a backup of the game folder, in one run on the folder (waited for before
// any backup is read, so that a clean's is whole), each copied back whole and given its recorded
// permissions (only those, when its bytes are as they were), a link made again with its target, a
// file the clean made removed, each under its name as it was. The manifest and every copy are
// checked against their hashes first, and a file changed since the clean is not touched unless
// forced: then nothing is put back. A file already as it was before the clean is left alone. What
// it overwrites is backed up first, as a clean backs up, so that an undo can be undone; a file
// that cannot be is left as it is. Before putting anything back, it removes the temporary files a
// killed run left (see removeLeftovers).
Result run(Seams& seams, const Request& request);

// One backup of a game folder, and its manifest or why that cannot be read.
struct Listed {
    std::string id;
    std::optional<backup::Manifest> manifest;
    Reason error;
};

struct Listing {
    bool noBackupsFolder = false;
    std::vector<Listed> backups;  // newest first
};

Listing list(Seams& seams, const std::string& game);

}  // namespace morvane::undo

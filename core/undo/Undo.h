#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "core/Seams.h"
#include "core/backup/Manifest.h"

namespace morvane::undo {

struct Request {
    std::string game;
    std::optional<std::string> id;  // the backup to put back; the latest when none
    bool force = false;             // put back files changed since the clean too
    std::time_t now = 0;            // names the backup of what the undo overwrites
};

// Why nothing was put back.
enum class Stop {
    None,
    NoBackupsFolder,  // there is no home folder, so no backups
    NoSuchBackup,     // the backup asked for is not there (bad input)
    NoBackup,         // there is no backup of the game folder at all
    Unusable,         // it is damaged or cannot be read (detail says why)
    Busy,             // another run held the folder past kLockWait
    ChangedSince,     // files changed since the clean (listed in changed), and not forced
    BackupNotMade,    // the backup of what it would overwrite cannot be made (detail says why)
};

// A file that is not as the clean left it: changed since, or unreadable (error says why).
struct Changed {
    std::string path;
    std::string error;
};

// What became of one file put back.
struct Restored {
    enum class What { PutBack, Removed, Failed };
    std::string path;
    What what = What::PutBack;
    std::string reason;  // for a failure
};

struct Result {
    Stop stop = Stop::None;
    std::string id;      // the backup
    std::string detail;  // for Unusable and BackupNotMade
    std::vector<Changed> changed;
    std::vector<Leftover> leftovers;  // temporary files a killed run left, removed first
    std::vector<Restored> files;      // empty when the folder was already as before the clean
    std::string backupId;             // the backup of what it overwrote; empty when none was kept
    std::string backupIncomplete;     // why that backup could not be completed, if it could not

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
    std::string error;
};

struct Listing {
    bool noBackupsFolder = false;
    std::vector<Listed> backups;  // newest first
};

Listing list(Seams& seams, const std::string& game);

}  // namespace morvane::undo

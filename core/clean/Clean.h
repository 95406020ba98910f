#pragma once

#include <array>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "core/Outcome.h"
#include "core/Seams.h"
#include "engine/RemovalRun.h"

namespace morvane::clean {

// A clean of one game folder, as the driver asks for it.
struct Request {
    std::string game;
    std::array<bool, kGroupCount> groups{};  // the chosen option groups
    bool blockServerMotd = false;
    bool readOnly = false;
    bool keepSettings = false;  // take the planted things out of the settings' files instead
    bool backUp = true;
    bool force = false;  // clean a folder that holds no launcher of the game too
    std::optional<std::string> filesFolder;  // the replacement files; beside the program if none
    std::time_t now = 0;                     // names the backup
};

struct Result {
    // Why the clean did not begin, if it did not (nothing was changed then): not a game folder,
    // busy, no backups folder, the backup not made or not written.
    Stopped stop;
    std::array<bool, kGroupCount> found{};  // what the search found, group by group
    Verdict verdict = Verdict::NotRemoved;
    std::vector<Outcome> files;  // what became of each file it treated or could not treat
    // The files (or folders) of the chosen groups that --keep-settings could not read, and so did
    // not treat: the scan's outcomes, by path.
    std::vector<Outcome> notRead;
    std::string backupId;                    // the backup kept; empty when none was
    std::optional<Reason> backupIncomplete;  // why the backup kept could not be completed

    // Whether everything asked was done.
    bool done() const {
        return stop == Stop::None && notRead.empty() && !backupIncomplete && !anyFailed(files);
    }
};

// Searches the chosen groups and, in one run on the folder (waiting up to kLockWait for another):
//  1. when asked, copies every file the clean may change (those of the chosen groups, and the
//     welcome-page temp files) into a new backup, with a manifest, outside the game folder; a
//     backup that cannot be written stops the clean, nothing changed; a file that cannot be read
//     into it is left as it is and reported failed; either way it then removes the temporary files
//     a killed run left (see removeLeftovers), each among the files, deleted or failed;
//  2. runs the removal run, as the options window does, and within it, right after its first
//     size reading so that the verdict weighs them too, with keepSettings: treats each file the
//     scan found something planted in, for the chosen groups, as its family's place says
//     (core/scan/Family.h): takes the planted lines, entries or settings out, keeping every other
//     byte and the file's permissions and attributes (a link, or a file with other hard links, is
//     left as it is and reported failed), instead of deleting config.cfg and userconfig.cfg
//     (suspect things stay), or deletes a server's own file (what servers left in
//     cstrike_downloads, the planted welcome page the last server sent);
//  3. records in the backup what became of each file, and keeps the newest backups only. A clean
//     that changed nothing keeps no backup.
// The replacement files are checked beforehand with missingReplacements().
Result run(Seams& seams, const Request& request);

// The same on a record its caller searched (the options window's, which keeps its slots from one
// search to the next): what follows run()'s search, with its backup, on the record's status flags
// as they are. The groups whose slots a search filled count as chosen: the removal run may change
// their files' attributes, so those files are backed up too.
Result removeSearched(Seams& seams, EngineRecord& record, std::time_t now);

// A replacement file the request needs that is not a readable regular file.
struct MissingReplacement {
    std::string name;     // in the replacement folder
    std::string path;     // its name alone where the program's folder is unknown
    bool absent = false;  // not there at all (else there, but unreadable)
};

// Those of the replacement files that the request's groups and options need which cannot be read.
std::vector<MissingReplacement> missingReplacements(FileHost& host, const Request& request);

}  // namespace morvane::clean

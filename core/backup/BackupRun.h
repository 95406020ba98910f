#pragma once

#include <ctime>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/Seams.h"
#include "core/backup/Backups.h"

namespace morvane::backup {

// A backup made by a command that changes a game folder, within its run on the folder: every file
// the command may change is copied before the first change, and what became of each is recorded
// after the last, so that undo can put them back and tell what changed since.
class BackupRun {
  public:
    // In `backups` (the user's folder of backups); `by` names the command in the manifest.
    BackupRun(Seams& seams, const std::string& backups, const std::string& game, std::string by,
              std::time_t now);

    // Copies those of `files` ('/' separated, below the game folder) that are there into a new
    // backup, with its manifest, each under its name as the folder spells it, once however many of
    // `files` name it. A file that cannot be read, or would take the copies past kMaxCopies, is
    // left out of it and named in unreadable(): the command must leave it alone. Stops, saying
    // why, when the backup's folder cannot be made (BackupNotMade) or the backup cannot be written
    // (BackupNotWritten: nothing of it is left).
    Stopped start(const std::vector<std::string>& files);
    // The files left out, and why.
    const std::map<std::string, Reason>& unreadable() const { return unreadable_; }

    // Records the state of each file now, and how it came to it: those in `rewritten` (named as
    // they were given to start()) had lines taken out or added rather than being replaced. A backup
    // of a command that changed nothing is not kept; of the others, the kKeptBackups made last are.
    void finish(const std::set<std::string>& rewritten);

    // The backup kept; empty when there is none.
    const std::string& id() const { return id_; }
    // Why finish() could not record what became of the files in the backup kept, if it could not.
    std::optional<Reason> incomplete() const { return id_.empty() ? std::nullopt : incomplete_; }
    // The game folder's backups, where the command may also stage files of its own.
    GameBackups& backups() { return backups_; }

  private:
    Seams& s_;
    std::string game_;
    std::time_t now_;
    GameBackups backups_;
    Manifest manifest_;
    std::vector<std::set<std::string>> asked_;  // by entry: the names start() was given for it
    std::string copies_;
    std::string id_;
    std::optional<Reason> incomplete_;
    std::map<std::string, Reason> unreadable_;
};

}  // namespace morvane::backup

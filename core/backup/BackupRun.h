#pragma once

#include <ctime>
#include <map>
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

    enum class Start {
        Made,
        FolderNotMade,  // the backup's folder could not be made (error() says why)
        NotWritten,     // it could not be written (error() says why); nothing of it is left
    };
    // Copies those of `files` ('/' separated, below the game folder) that are there into a new
    // backup, with its manifest, each under its name as the folder spells it, once however many of
    // `files` name it. A file that cannot be read, or would take the copies past kMaxCopies, is
    // left out of it and named in unreadable(): the command must leave it alone.
    Start start(const std::vector<std::string>& files);
    // The files left out, and why.
    const std::map<std::string, std::string>& unreadable() const { return unreadable_; }

    // Records the state of each file now, and how it came to it: those in `rewritten` (named as
    // they were given to start()) had lines taken out or added rather than being replaced. A backup
    // of a command that changed nothing is not kept; of the others, the kKeptBackups made last are.
    void finish(const std::set<std::string>& rewritten);

    // The backup kept; empty when there is none.
    const std::string& id() const { return id_; }
    // Why start() failed, or why finish() could not record what became of the files.
    const std::string& error() const { return error_; }
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
    std::string error_;
    std::map<std::string, std::string> unreadable_;
};

// What is said of a file a command leaves alone because it could not be backed up, and why.
inline std::string notBackedUp(const std::string& why) {
    return "not backed up (" + why + "), so left as it is";
}

}  // namespace morvane::backup

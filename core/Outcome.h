#pragma once

#include <string>
#include <vector>

#include "platform/Permissions.h"
#include "platform/Reason.h"

namespace morvane {

// What a command did to one file, or what it found of one it read: the same for every command.
enum class Done {
    Replaced,   // clean: the replacement is in place
    Rewritten,  // clean: the planted lines were taken out, every other byte kept; protect: the
                // guard's line was added
    Deleted,    // clean, and before any command's changes a temporary file a killed run left: gone
    Absent,     // clean: there was nothing to treat (the file, or its folder, did not exist)
    PutBack,    // undo: written back as the backup holds it
    Removed,    // undo: a file the command undone made is gone again
    Kept,       // protect: it turns the guard on already, so it is left as it is
    Changed,    // undo: not as the command undone left it (changed since, or unreadable)
    Unread,     // scan: there, but it could not be read
    Failed,     // it could not be treated as asked, or was left as it is on purpose
};

// Why, as a value, beside the system's own words (Outcome::detail): the programs word the two
// together (reasonOf), each in its reader's language.
enum class Cause {
    None,           // the detail says it all, if there is one
    Copy,           // putting a copy in place failed
    Delete,         // deleting it failed
    Attributes,     // changing its attributes or permissions failed
    NotBackedUp,    // it could not be read into the backup, so it is left as it is
    Link,           // a link, never written through: left as it is
    HardLinks,      // it has other names (hard links), which a new file would split: left as it is
    NotRead,        // it could not be read, so it was not treated
    LinkNotKept,    // a link the backup recorded without its target: not made again
    FolderNotRead,  // a folder that could not be listed
};

// What guarded a file against change (the player's mark, or a booster's on what it planted),
// which a rewrite got past and gave back.
struct Guards {
    bool readOnly = false;
    bool hidden = false;
    bool system = false;
};

Guards guardsOf(const Permissions& permissions);

struct Outcome {
    std::string path;  // the file's path; scan's below the game folder, '/' separated
    Done done = Done::Absent;
    Cause cause = Cause::None;
    // The system's own words (or ours, where the cause has an argument of its own: a limit, why a
    // file could not be read), kept apart from the cause; empty for a file treated as asked.
    Reason detail;
    Guards guards{};  // of a rewritten file: those it had, and has again
};

// The outcome's cause and detail as one reason, to be worded by the programs: "copy: ..." for a
// failed copy, the detail alone where the cause adds nothing.
Reason reasonOf(const Outcome& outcome);

// Whether any of `files` could not be treated.
bool anyFailed(const std::vector<Outcome>& files);

// Why a command stopped before it changed anything, whichever command it was.
enum class Stop {
    None,
    NotAGameFolder,    // no launcher there, and not forced (bad input)
    NoEditionFolder,   // neither edition folder there (bad input)
    Busy,              // another run held the folder past kLockWait
    NoBackupsFolder,   // there is no home folder to keep backups in
    BackupNotMade,     // the backup's folder could not be made (the detail says why)
    BackupNotWritten,  // the backup could not be written (the detail says why)
    NoSuchBackup,      // the backup asked for is not there (bad input)
    NoBackup,          // there is no backup of the game folder at all
    BackupUnusable,    // it is damaged or cannot be read (the detail says why)
    ChangedSince,      // files changed since the command undone (named), and not forced
};

// A stop and its detail: the system's words, or ours.
struct Stopped {
    Stop cause = Stop::None;
    Reason detail;

    bool operator==(Stop stop) const { return cause == stop; }
};

}  // namespace morvane

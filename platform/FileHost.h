#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Permissions.h"
#include "platform/Reason.h"

namespace morvane {

// Result of looking one path up with the ordinary-file filter.
enum class Lookup {
    Absent,   // nothing of that name, or only a folder (or a hidden/system entry where the host has
              // those)
    Present,  // an entry of that name that is not a folder
    Failed,   // the lookup itself failed (for example, the drive is not ready)
};

// Attribute values the removal run writes.
enum class Attributes {
    Normal,    // no attribute at all: in particular, writable again
    ReadOnly,  // the read-only attribute alone
};

// What became of one change (attributes, delete, copy).
struct ChangeResult {
    bool succeeded = false;
    // Failed only because the target, or a folder on the way to it, does not exist: there was
    // nothing to treat. Never set together with `succeeded`.
    bool absent = false;
    // Why it failed, in a few words of the host's (the system's error where there is one), not yet
    // worded; empty on success.
    Reason reason;
    // For a change of attributes or permissions that changed them: what they were before it, so
    // that they can be given back. None for any other change, and when they were as asked.
    std::optional<Permissions> previous = std::nullopt;

    static ChangeResult done() { return {true, false, {}}; }
    static ChangeResult changed(const Permissions& previous) { return {true, false, {}, previous}; }
    static ChangeResult missing(Reason why) { return {false, true, std::move(why)}; }
    static ChangeResult failure(Reason why) { return {false, false, std::move(why)}; }
};

// A temporary file of a copy that a killed run left in a game folder, and what became of it.
struct Leftover {
    std::string path;  // the folder's path as given, its separator and the file's name
    ChangeResult removed;
};

// Whether a run on a game folder could begin.
enum class RunStart {
    Begun,  // changes may be made until endChanges()
    Busy,   // another run held the folder for longer than the wait: nothing was done
};

// The host operations the cleaning engine needs. Paths are passed exactly as the engine built
// them: the host never normalises them.
//
// Changes (attributes, delete, copy) are made only inside a run, between beginChanges() and
// endChanges(); outside a run every change fails. Within a run:
//  - The game folder is the folder as it was when the run began: it is opened once, then, and a
//    link in its own path is the user's choice. A change names its target by a path that begins
//    with the game folder's text as given, followed by a separator; any other path fails.
//  - Below the game folder a target is reached one folder at a time. A link, or "..", met on the
//    way is never followed: the change fails. This holds whatever is swapped in while the run is
//    going on, so nothing outside the game folder can change.
//  - A change acts on the target's name only. A link at the target is deleted or replaced, never
//    written through. A target with more than one hard link never has its attributes changed
//    (the attributes belong to its other names too); it may be deleted or replaced, which removes
//    or replaces this one name.
//  - Runs on the same game folder, in this process or any other, take turns: a run holds the
//    folder's run lock from beginChanges() to endChanges(). The lock leaves the folder's total
//    size alone.
//  - Temporary files of copies (and of links) are named so that no other run can name them, and
//    are removed by the run that made them; those left by a killed run are removed only while the
//    lock is held: by a later copy to the same target, and by removeLeftovers.
//
// One implementation per operating system sits behind this interface; each passes the same
// contract tests, and tests wrap it to make any single operation fail.
class FileHost {
  public:
    virtual ~FileHost() = default;

    // Begins a run on `gameFolder`, first waiting for another run on it to end: up to `wait`, or
    // without limit when it has no value. Ends a run begun earlier and not yet ended. When the
    // game folder cannot be opened the run still begins, and every change in it fails saying why.
    virtual RunStart beginChanges(const std::string& gameFolder,
                                  std::optional<std::chrono::milliseconds> wait) = 0;

    // Ends the run: releases the lock and whatever the run held. Does nothing outside a run.
    virtual void endChanges() = 0;

    // The separator that the fixed relative paths (written with backslashes) are turned into.
    virtual char separator() const = 0;

    // Whether an ordinary file exists at `path`.
    virtual Lookup lookupFile(const std::string& path) = 0;

    // Whether `path` names a regular file that this program can open for reading. Never blocks:
    // a FIFO, a device or a folder is simply not one. Changes nothing.
    virtual bool isReadableFile(const std::string& path) = 0;

    // Whether `path` and `reference` are both regular files that can be read (see isReadableFile)
    // and hold the same bytes. Bounded: the sizes are compared first, and nothing is read when they
    // differ or when `reference` is larger than `limit`. False when anything cannot be read. Names
    // are matched as lookupFile matches them. Never blocks, and changes nothing, inside a run or
    // outside one.
    virtual bool sameContent(const std::string& path, const std::string& reference,
                             std::uint64_t limit) = 0;

    // Gives the file at `path` the attributes `value`. Absent when nothing exists there (an empty
    // path included). Fails on a link, a folder or anything but a regular file, and on a file with
    // more than one link unless it has those attributes already. A file that has them already
    // counts as done. A change that changes them says what they were (`previous`).
    virtual ChangeResult setAttributes(const std::string& path, Attributes value) = 0;

    // Gives the file at `path` the permissions `value`, as setAttributes does its attributes: the
    // same targets are absent or refused, and a file with other hard links is changed only when it
    // has those permissions already. An owner or group that is not given is left as it is. The
    // mode and the owner are given separately: when one cannot be, the other still is, and the
    // reason says which could not. The driver puts back what a backup recorded with it, and the
    // removal run what its unlocking changed on a file it then did not change. A host that keeps
    // attributes instead of modes sets the attribute set given, else the read-only attribute
    // alone, from the owner's write bit.
    virtual ChangeResult setPermissions(const std::string& path, const Permissions& value) {
        return setAttributes(path,
                             (value.mode & 0200) != 0 ? Attributes::Normal : Attributes::ReadOnly);
    }

    // Removes the file's name. Absent when it does not exist; fails when it is a folder or
    // read-only.
    virtual ChangeResult deleteFile(const std::string& path) = 0;

    // `destination` receives a whole copy of `source`, replacing an entry of that name. Checks the
    // source first: when it is not a regular file that can be read (see isReadableFile), fails
    // before the destination is touched. Absent when the destination's folder does not exist.
    // Fails, leaving the destination exactly as it was, when the source cannot be read or written
    // out whole, or an existing destination is read-only or a folder. Where the host keeps owners,
    // the copy keeps those of the file it replaces, and a new file takes those of the folder it is
    // made in (as far as whoever runs it may give files away).
    virtual ChangeResult copyFile(const std::string& source, const std::string& destination) = 0;

    // Makes `path` a symbolic link whose target is the text `target`, kept as given (a relative one
    // leads from the link's folder), in place of an entry of that name: as copyFile puts a copy
    // there, whole or not at all, and never through a link. Absent when the folder does not exist.
    // Fails, leaving the entry as it was, on a folder or a read-only file, and where the system
    // makes no link (Windows without the right to make them, and Wine, which only pretends): a
    // link is made only when it reads back as one with that target.
    virtual ChangeResult createLink(const std::string& path, const std::string& target) = 0;

    // Removes from the folder `folder` below the game folder, reached as a change's target is,
    // every entry named as a copy's temporary file (see copyFile) that is not a folder: what a
    // killed run left. Only while the run holds the folder's lock, since a live run's files are its
    // own; nothing otherwise, nor when the folder is not there. Each one found is named with what
    // became of it.
    virtual std::vector<Leftover> removeLeftovers(const std::string& folder) = 0;

    // Total size in bytes of all files in the tree below `folder`, or no value when the folder
    // itself cannot be read.
    virtual std::optional<std::uint64_t> folderSize(const std::string& folder) = 0;

    // The folder holding the running program's executable, without a trailing separator except at a
    // root; no value when it cannot be determined.
    virtual std::optional<std::string> programFolder() = 0;
};

// Ends the host's run when it goes, however the code that began it leaves.
class ChangesEnd {
  public:
    explicit ChangesEnd(FileHost& host) : host_(host) {}
    ChangesEnd(const ChangesEnd&) = delete;
    ChangesEnd& operator=(const ChangesEnd&) = delete;
    ~ChangesEnd() { host_.endChanges(); }

  private:
    FileHost& host_;
};

}  // namespace morvane

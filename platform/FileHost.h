#pragma once

#include <cstdint>
#include <optional>
#include <string>

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

// The host operations the cleaning engine needs. Every operation either succeeds or fails; the
// engine only needs to know that it failed, never why. Paths are passed exactly as the engine
// built them: the host never normalises them.
//
// One implementation per operating system sits behind this interface; tests wrap it to make any
// single operation fail.
class FileHost {
  public:
    virtual ~FileHost() = default;

    // Confines every later change (attributes, delete, copy) to the tree below `folder`: a change
    // whose target lies elsewhere once links in the folders above it are resolved fails. Reads are
    // not confined. When `folder` cannot be resolved, every change fails.
    virtual void confineChangesTo(const std::string& folder) = 0;

    // The separator that the fixed relative paths (written with backslashes) are turned into.
    virtual char separator() const = 0;

    // Whether an ordinary file exists at `path`.
    virtual Lookup lookupFile(const std::string& path) = 0;

    // Whether `path` names a regular file that this program can open for reading. Never blocks:
    // a FIFO, a device or a folder is simply not one. Changes nothing.
    virtual bool isReadableFile(const std::string& path) = 0;

    // Fails when nothing exists at `path` (an empty path included). Never follows a link at `path`.
    virtual bool setAttributes(const std::string& path, Attributes value) = 0;

    // Removes the file. Fails when it does not exist, is a folder, or is read-only.
    virtual bool deleteFile(const std::string& path) = 0;

    // `destination` receives a whole copy of `source`, replacing an entry of that name (a link at
    // `destination` is replaced, never written through). Fails, leaving the destination exactly as
    // it was, when the source cannot be read, the destination's folder does not exist, or an
    // existing destination is read-only or a folder.
    virtual bool copyFile(const std::string& source, const std::string& destination) = 0;

    // Total size in bytes of all files in the tree below `folder`, or no value when the folder
    // itself cannot be read.
    virtual std::optional<std::uint64_t> folderSize(const std::string& folder) = 0;

    // The folder holding the running program's executable, without a trailing separator except at a
    // root; no value when it cannot be determined.
    virtual std::optional<std::string> programFolder() = 0;
};

}  // namespace morvane

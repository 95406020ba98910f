#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Permissions.h"
#include "platform/Reason.h"

namespace morvane {

// What a path leads to.
enum class EntryKind { Missing, File, Folder, Link, Other };

struct FolderEntry {
    std::string name;
    EntryKind kind;  // of the entry itself: a link is a link
};

// The bytes of a file and its permissions, or why they could not be read.
struct FileRead {
    std::optional<std::string> bytes;
    Reason error;  // why, when there are no bytes
    Permissions permissions;
    std::uint32_t links = 1;  // its names (hard links): more than one is shared with other names
};

// Read-only access to the game's files and the user's folders, for the driver's commands beyond
// the removal run. Changes nothing and never blocks. Names are matched as the FileHost matches
// them: exactly, or else ignoring ASCII case when that picks out one entry.
//
// One implementation per operating system sits behind this interface.
class TreeReader {
  public:
    virtual ~TreeReader() = default;

    // The separator between the components of the paths this reader takes.
    virtual char separator() const = 0;

    // What `path` leads to, links followed (as the game follows them). Missing also when the
    // folder above it is missing or cannot be searched.
    virtual EntryKind kindOf(const std::string& path) = 0;

    // What is at `path` itself: a link there is a link, not what it leads to.
    virtual EntryKind kindOfEntry(const std::string& path) = 0;

    // The target of the symbolic link at `path` itself, as its text was written; no value when
    // there is no link there or its text cannot be read.
    virtual std::optional<std::string> linkTarget(const std::string& path) = 0;

    // The whole content of the regular file that `path` leads to. A file larger than `limit`
    // bytes, a folder, a FIFO or a device is not read.
    virtual FileRead readFile(const std::string& path, std::size_t limit) = 0;

    // The entries of the folder `path`, in no particular order, without "." and ".."; no value
    // when it cannot be read.
    virtual std::optional<std::vector<FolderEntry>> listFolder(const std::string& path) = 0;

    // `path` with every link, "." and ".." resolved; no value when it cannot be resolved.
    virtual std::optional<std::string> canonicalPath(const std::string& path) = 0;

    // Whether `path` names a place by itself, whatever the current folder (and, where the system
    // has them, the current drive) is.
    virtual bool isAbsolute(const std::string& path) const = 0;
};

}  // namespace morvane

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/Permissions.h"
#include "platform/Reason.h"

namespace morvane::backup {

// A file's state at one moment: its size, hash and permissions, or that it was not there, or that
// a link stood there (which is never followed: only its target's text is kept, so that it can be
// made again).
struct FileState {
    bool present = false;
    bool link = false;
    std::uint64_t size = 0;
    std::string sha256;  // hexadecimal
    Permissions permissions;
    std::string linkTarget;  // a link's target as written; empty when it could not be read

    bool operator==(const FileState&) const = default;
};

// Whether the file is in the state `recorded` now. A state recorded without an attribute set (by
// a host that keeps modes, or before backups kept attribute sets) is compared without one, and a
// link recorded without its target (one that could not be read, or before backups kept targets)
// without its target.
bool isAsRecorded(const FileState& now, const FileState& recorded);

// What a command did to a file, as it comes out of its states before and after.
enum class Action { Pending, Unchanged, Replaced, Rewritten, Deleted, Created, Permissions };

struct ManifestEntry {
    std::string file;  // below the game folder, '/' separated
    Action action = Action::Pending;
    FileState before;                // a copy of the file is kept when it was there
    std::optional<FileState> after;  // no value while the command has not ended
};

// What one backup holds: the game folder, when and by what it was made, and every file the command
// could change.
struct Manifest {
    std::string game;          // links resolved
    std::string time;          // UTC, as 2024-05-01T10:00:00Z
    std::string by = "clean";  // the command that made it: "clean", "protect" or "undo ID"
    // The order in which the backups of one game folder were made, from 1, whatever the clock
    // said; 0 for a backup of the first format, made before they were numbered.
    std::uint64_t number = 0;
    std::vector<ManifestEntry> entries;
};

// The number a backup's text gives itself, read as far as it can be when the rest of it cannot:
// where a damaged backup stands among the others. No value when that line cannot be read.
std::optional<std::uint64_t> numberIn(std::string_view bytes);

// Whether the entry's file was there, not as a link, so that its bytes are kept.
inline bool keepsCopy(const ManifestEntry& entry) {
    return entry.before.present && !entry.before.link;
}

// A backup as one file: the manifest as a text of lines (any byte may stand in a name), with the
// number of its entries and, last, its own hash; then the copies of the kept files, one after the
// other in the entries' order, each as long as its entry's size says.
std::string formatBackup(const Manifest& manifest, std::string_view copies);

struct Backup {
    Manifest manifest;
    std::vector<std::string> copies;  // by entry; empty for an entry whose bytes are not kept
};

// Reads a file that formatBackup wrote, or says why it cannot be used: a line that does not fit,
// entries missing or added, a hash that does not match (the manifest was cut short or edited), or
// copies that are not the files recorded. Only the manifest when `copies` is false.
std::variant<Backup, Reason> parseBackup(std::string_view bytes, bool copies = true);

// Reads the manifest of the first format ("morvane-backup 1"), which carried neither its entry
// count nor a hash and kept each copy in a file of its own (storedCopyName).
std::variant<Manifest, Reason> parseFirstManifest(std::string_view text);

// Where the first format kept the copy of the entry at `index` in its backup.
std::string storedCopyName(std::size_t index);

// The action that takes a file from `before` to `after`; `rewritten` when the command took lines
// out of it or added some rather than replacing it.
Action actionOf(const FileState& before, const FileState& after, bool rewritten);

std::string_view actionName(Action action);

}  // namespace morvane::backup

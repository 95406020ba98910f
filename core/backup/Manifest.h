#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/Permissions.h"

namespace morvane::backup {

// A file's state at one moment: its size, hash and permissions, or that it was not there, or that
// a link stood there (which is never followed, and of which nothing is kept).
struct FileState {
    bool present = false;
    bool link = false;
    std::uint64_t size = 0;
    std::string sha256;  // hexadecimal
    Permissions permissions;

    bool operator==(const FileState&) const = default;
};

// What a clean did to a file, as it comes out of its states before and after.
enum class Action { Pending, Unchanged, Replaced, Rewritten, Deleted, Created, Permissions };

struct ManifestEntry {
    std::string file;  // below the game folder, '/' separated
    Action action = Action::Pending;
    FileState before;                // a copy of the file is kept when it was there
    std::optional<FileState> after;  // no value while the clean has not ended
};

// What one backup holds: the game folder, when the clean began, and every file it could change.
struct Manifest {
    std::string game;  // links resolved
    std::string time;  // UTC, as 2024-05-01T10:00:00Z
    std::vector<ManifestEntry> entries;
};

// The manifest as a text of lines, one per file; any byte may stand in a name.
std::string formatManifest(const Manifest& manifest);

// Reads a text that formatManifest wrote, or says on which line it does not fit.
std::variant<Manifest, std::string> parseManifest(std::string_view text);

// Where the copy of the entry at `index` is kept in its backup.
std::string storedCopyName(std::size_t index);

// The action that takes a file from `before` to `after`; `rewritten` when the clean took lines
// out of it rather than replacing it.
Action actionOf(const FileState& before, const FileState& after, bool rewritten);

std::string_view actionName(Action action);

}  // namespace morvane::backup

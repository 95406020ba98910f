#pragma once

#include <sys/types.h>

#include <map>
#include <string>

namespace morvane::test {

// What one entry of a tree holds: its kind, permission bits, and its bytes (a file) or its target
// (a link).
struct EntryState {
    char kind = '?';  // 'f' file, 'd' folder, 'l' link, '?' anything else
    mode_t mode = 0;
    std::string content;

    bool operator==(const EntryState&) const = default;
};

// Every entry below a folder, by path relative to it; links are recorded, never followed.
using Snapshot = std::map<std::string, EntryState>;

Snapshot snapshotOf(const std::string& root);

// One line per path whose entry differs between `expected` and `actual`; empty when they agree.
std::string differences(const Snapshot& expected, const Snapshot& actual);

// The bytes of the file at `path`; empty when it cannot be read.
std::string fileContent(const std::string& path);

// The entries below `root` whose name ends in `suffix`, separated by spaces; empty when none.
std::string pathsEndingIn(const std::string& root, const std::string& suffix);

}  // namespace morvane::test

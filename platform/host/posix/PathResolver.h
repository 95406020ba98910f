#pragma once

#include <string>

namespace morvane::posix {

// Finds the entry a path names on a case-sensitive file system. A component that does not exist
// as written but matches exactly one entry of its folder when ASCII case is ignored is taken as
// that entry, so "gamemenu.res" answers for "GameMenu.res". Components that match nothing, or
// more than one entry, are kept as written. Nothing else is changed: separators, "." and ".."
// stay where they are.
std::string resolveCase(const std::string& path);

// The same rule for one name in the folder open as `folder`: `name` itself when an entry of that
// name exists, else the one entry that matches it ignoring ASCII case, else `name`.
std::string resolveCaseIn(int folder, const std::string& name);

// Everything before the last separator ("/" for an entry at the root, "." for a bare name).
std::string parentOf(const std::string& path);

// The last component.
std::string nameOf(const std::string& path);

}  // namespace morvane::posix

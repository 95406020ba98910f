#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace morvane::posix {

// Sum of the sizes of the regular files in the tree below `folder`: links are not followed and
// add nothing, nor do the folders themselves. A subfolder that cannot be read adds nothing. No
// value only when `folder` itself cannot be read. One synchronous call; the walk uses threads of
// its own, walkerCount() of them.
std::optional<std::uint64_t> folderSize(const std::string& folder);

// The walk's thread count is chosen for the disk, not for the processors. A player runs the program
// right after starting the computer or the game, when the tree is not in the page cache: the walk
// then waits on directory reads and statx calls, and more of them in flight finish sooner. Warm,
// threads beyond the processors cost next to nothing. One per usable processor, bounded:
inline constexpr unsigned kMinWalkers = 16;  // the cold walk stops gaining at 16 threads
inline constexpr unsigned kMaxWalkers = 32;  // beyond this the file system's own locks decide
unsigned walkerCount();

}  // namespace morvane::posix

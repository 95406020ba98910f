#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace morvane::posix {

// Sum of the sizes of the regular files in the tree below `folder`: links are not followed and
// add nothing, nor do the folders themselves. A subfolder that cannot be read adds nothing. No
// value only when `folder` itself cannot be read. One synchronous call; the walk uses a few
// threads of its own, one per processor this process may run on, at most kMaxWalkers.
std::optional<std::uint64_t> folderSize(const std::string& folder);

// More threads than this gain little: the walk is bound by the file system's own locks by then.
inline constexpr unsigned kMaxWalkers = 4;

}  // namespace morvane::posix

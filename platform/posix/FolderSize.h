#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace morvane::posix {

// Sum of the sizes of the regular files in the tree below `folder`. Links are not followed; a
// subfolder that cannot be read adds nothing. No value only when `folder` itself cannot be read.
std::optional<std::uint64_t> folderSize(const std::string& folder);

}  // namespace morvane::posix

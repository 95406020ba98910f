#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace morvane::win32 {

// Sum of the sizes of the files in the tree below `folder` (a path as the program holds it, UTF-8),
// hidden and system files included. Links and junctions are neither followed nor counted; other
// reparse points (files kept in the cloud, deduplicated files) are ordinary files and folders
// here. A subfolder that cannot be read adds nothing; no value only when `folder` itself cannot be
// read. One synchronous call; the walk uses walkerCount() threads, this one among them.
std::optional<std::uint64_t> folderSize(const std::string& folder);

// As on POSIX: one per usable processor, 16 to 32 (the walk waits on the disk, not the processor).
unsigned walkerCount();

}  // namespace morvane::win32

#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace morvane::posix {

// Sum of st_size over the regular files in the tree below `folder`, read by `workers` threads (the
// calling thread is one of them; 0 counts as 1). The call is synchronous: the threads start and end
// inside it.
//  - Links are never followed and add nothing; nor do folders, devices, pipes or sockets.
//  - Each folder is read whole and closed before its subfolders are opened, so every worker holds
//    one folder descriptor at a time besides the shared one of `folder`.
//  - A subfolder or file that cannot be read adds nothing; a tree deeper than PATH_MAX is walked.
//  - Memory grows with the number of folders waiting to be read, never with the number of files.
// No value when `folder` itself cannot be opened as a folder, or when memory ran out on the way.
// When fewer threads can be started, the walk just takes longer.
std::optional<std::uint64_t> sumRegularFiles(const std::string& folder, unsigned workers);

}  // namespace morvane::posix

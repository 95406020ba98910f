#include "platform/host/posix/FolderSize.h"

#include <sched.h>

#include <algorithm>
#include <thread>

#include "platform/host/posix/TreeWalk.h"

namespace morvane::posix {
namespace {

// The processors this process may run on, which a container or `taskset` may limit below the
// machine's count.
unsigned usableProcessors() {
    cpu_set_t set;
    if (::sched_getaffinity(0, sizeof set, &set) == 0)
        return static_cast<unsigned>(CPU_COUNT(&set));
    return std::thread::hardware_concurrency();
}

}  // namespace

unsigned walkerCount() {
    return std::clamp(usableProcessors(), kMinWalkers, kMaxWalkers);
}

std::optional<std::uint64_t> folderSize(const std::string& folder) {
    return sumRegularFiles(folder, walkerCount());
}

}  // namespace morvane::posix

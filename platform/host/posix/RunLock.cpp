#include "platform/host/posix/RunLock.h"

#include <sys/file.h>

#include <cerrno>
#include <thread>

namespace morvane::posix {

LockState lockFolder(int folder, std::optional<std::chrono::milliseconds> wait,
                     const std::function<void()>& onWait) {
    // flock has no time limit of its own: a bounded wait polls.
    constexpr auto kPoll = std::chrono::milliseconds(25);
    const auto start = std::chrono::steady_clock::now();
    bool waited = false;
    for (;;) {
        if (::flock(folder, LOCK_EX | LOCK_NB) == 0)
            return LockState::Held;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            return LockState::Unavailable;
        if (!waited && onWait)
            onWait();
        waited = true;
        if (!wait) {
            while (::flock(folder, LOCK_EX) != 0) {
                if (errno != EINTR)
                    return LockState::Unavailable;
            }
            return LockState::Held;
        }
        if (std::chrono::steady_clock::now() - start >= *wait)
            return LockState::Busy;
        std::this_thread::sleep_for(kPoll);
    }
}

}  // namespace morvane::posix

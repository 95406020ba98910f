#pragma once

#include <chrono>
#include <functional>
#include <optional>

namespace morvane::posix {

enum class LockState {
    Held,         // the lock is ours until the descriptor is closed
    Busy,         // another holder kept it for longer than the wait
    Unavailable,  // the file system gives no such lock: going on without it
};

// Takes the exclusive advisory lock (flock) of the folder open as `folder`, waiting up to `wait`
// for another holder to let it go, or without limit when `wait` has no value. flock locks belong
// to the open file, so they also keep apart two opens in one process, and they die with the
// process that held them: a killed run never leaves its folder locked. `onWait` is called once
// when the lock is found taken.
LockState lockFolder(int folder, std::optional<std::chrono::milliseconds> wait,
                     const std::function<void()>& onWait);

}  // namespace morvane::posix

#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace morvane::posix {

// Calls `each` with every entry of the folder open as `folder`. Reads through an open of its own,
// so the position of `folder` is left as it was; nothing is read when the folder cannot be.
template <typename Each>
void forEachEntry(int folder, Each each) {
    const int own = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (own < 0)
        return;
    DIR* dir = ::fdopendir(own);
    if (dir == nullptr) {
        ::close(own);
        return;
    }
    while (const dirent* entry = ::readdir(dir))
        each(*entry);
    ::closedir(dir);
}

}  // namespace morvane::posix

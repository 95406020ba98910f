#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <utility>

namespace morvane::test {

// While it lives, nothing can be added to, removed from or renamed in `folder`, whoever runs the
// driver: through the immutable attribute as root, whom modes do not stop, else through its mode.
// held() is false when that cannot be done here (a file system without the attribute).
class Unwritable {
  public:
    explicit Unwritable(std::string folder) : folder_(std::move(folder)) {
        held_ = ::geteuid() == 0 ? immutable(true) : ::chmod(folder_.c_str(), 0555) == 0;
    }
    Unwritable(const Unwritable&) = delete;
    Unwritable& operator=(const Unwritable&) = delete;
    ~Unwritable() {
        if (held_ && ::geteuid() == 0)
            immutable(false);
        else if (held_)
            ::chmod(folder_.c_str(), 0755);
    }
    bool held() const { return held_; }

  private:
    bool immutable(bool on) const {
        const int fd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return done;
    }

    std::string folder_;
    bool held_ = false;
};

}  // namespace morvane::test

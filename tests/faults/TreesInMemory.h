#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace morvane::test {

// While it lives, temporary trees go to a memory file system when there is one. For tests that
// check which operations are made and what they leave, not that data reaches the disk: flushing
// each copy to disk, and creating thousands of files on a busy one, would cost most of their time.
class TreesInMemory {
  public:
    TreesInMemory() {
        if (const char* old = std::getenv("TMPDIR"))
            old_ = old;
        struct stat st;
        if (::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) &&
            ::access("/dev/shm", W_OK) == 0) {
            ::setenv("TMPDIR", "/dev/shm", 1);
        }
    }
    TreesInMemory(const TreesInMemory&) = delete;
    TreesInMemory& operator=(const TreesInMemory&) = delete;
    ~TreesInMemory() {
        if (old_) {
            ::setenv("TMPDIR", old_->c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
    }

  private:
    std::optional<std::string> old_;
};

}  // namespace morvane::test

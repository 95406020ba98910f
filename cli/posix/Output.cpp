#include "cli/Output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace morvane::cli {

Output::Output() {
    for (int fd = 0; fd < 3; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        closed_[fd] = true;
        const int parked = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (parked >= 0 && parked != fd) {
            ::dup2(parked, fd);
            ::close(parked);
        }
    }
}

void Output::write(int fd, std::string_view text) {
    if (closed_[fd]) {
        failed_ = failed_ || !text.empty();
        return;
    }
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            failed_ = true;
            return;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
}

}  // namespace morvane::cli

#include "DeepPaths.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>
#include <vector>

namespace morvane::test {
namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// Removes everything inside the open folder `fd`.
void emptyFolder(int fd) {
    DIR* dir = ::fdopendir(::dup(fd));
    if (dir == nullptr)
        return;
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    for (const std::string& name : names) {
        struct stat st;
        if (::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISDIR(st.st_mode)) {
            ::fchmodat(fd, name.c_str(), 0700, 0);
            const FolderFd child(::openat(fd, name.c_str(), kFolderFlags));
            if (child.get() >= 0)
                emptyFolder(child.get());
            ::unlinkat(fd, name.c_str(), AT_REMOVEDIR);
        } else {
            ::unlinkat(fd, name.c_str(), 0);
        }
    }
}

}  // namespace

FolderFd::~FolderFd() {
    if (fd_ >= 0)
        ::close(fd_);
}

FolderFd& FolderFd::operator=(FolderFd&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

FolderFd makeFolders(const std::string& base, const std::string& relative) {
    FolderFd current(::open(base.c_str(), kFolderFlags));
    std::size_t start = 0;
    while (current.get() >= 0 && start < relative.size()) {
        std::size_t end = relative.find('/', start);
        if (end == std::string::npos)
            end = relative.size();
        const std::string name = relative.substr(start, end - start);
        ::mkdirat(current.get(), name.c_str(), 0755);
        current = FolderFd(::openat(current.get(), name.c_str(), kFolderFlags));
        start = end + 1;
    }
    if (current.get() < 0)
        throw std::runtime_error("cannot make folders " + relative);
    return current;
}

void writeFileAt(const FolderFd& folder, const std::string& name, const std::string& content) {
    const int fd =
        ::openat(folder.get(), name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const bool ok = fd >= 0 && ::write(fd, content.data(), content.size()) ==
                                   static_cast<ssize_t>(content.size());
    if (fd >= 0)
        ::close(fd);
    if (!ok)
        throw std::runtime_error("cannot write " + name);
}

std::string readFileAt(const FolderFd& folder, const std::string& name) {
    const int fd = ::openat(folder.get(), name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return "<missing>";
    std::string content;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        content.append(buffer, n);
    ::close(fd);
    return content;
}

void removeDeep(const std::string& path) {
    {
        ::chmod(path.c_str(), 0700);
        const FolderFd top(::open(path.c_str(), kFolderFlags));
        if (top.get() >= 0)
            emptyFolder(top.get());
    }
    ::rmdir(path.c_str());
}

}  // namespace morvane::test

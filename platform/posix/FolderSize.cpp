#include "FolderSize.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace morvane::posix {
namespace {

// Sums one folder's files and returns the names of its subfolders, so the folder's descriptor is
// closed before the walk descends and few descriptors stay open however deep the tree is.
std::uint64_t sumFolder(int dirFd, std::vector<std::string>& subfolders) {
    DIR* dir = ::fdopendir(dirFd);
    if (dir == nullptr) {
        ::close(dirFd);
        return 0;
    }
    std::uint64_t total = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        struct stat st;
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISREG(st.st_mode)) {
            total += static_cast<std::uint64_t>(st.st_size);
        } else if (S_ISDIR(st.st_mode)) {
            subfolders.emplace_back(name);
        }
    }
    ::closedir(dir);
    return total;
}

std::uint64_t sumTree(const std::string& path, int fd) {
    std::vector<std::string> subfolders;
    std::uint64_t total = sumFolder(fd, subfolders);
    for (const std::string& name : subfolders) {
        const std::string child = path + "/" + name;
        const int childFd = ::open(child.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (childFd >= 0) total += sumTree(child, childFd);
    }
    return total;
}

}  // namespace

std::optional<std::uint64_t> folderSize(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    return sumTree(folder, fd);
}

}  // namespace morvane::posix

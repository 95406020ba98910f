#include "platform/host/posix/TreeWalk.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/host/PendingFolders.h"
#include "platform/host/posix/Fd.h"

namespace morvane::posix {
namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
// Only the type and size are wanted; never wait for a remote file system to sync them.
constexpr int kStatFlags = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT | AT_STATX_DONT_SYNC;
constexpr unsigned kStatMask = STATX_TYPE | STATX_SIZE;
// Large enough that an ordinary folder is read in one call besides the one that finds its end.
constexpr std::size_t kEntryBufferSize = 64 * 1024;

// Opens the folder at `path` below `root` without following a link at its end. A path too long to
// name in one call is opened a stretch of whole names at a time.
int openFolder(int root, const std::string& path) {
    if (path.size() < PATH_MAX)
        return ::openat(root, path.c_str(), kFolderFlags);
    int fd = root;
    std::string stretch;
    for (std::size_t start = 0; start < path.size();) {
        std::size_t end = path.size();
        if (end - start >= PATH_MAX)
            end = path.rfind('/', start + PATH_MAX - 1);
        if (end == std::string::npos || end <= start)
            end = start;  // cannot happen: names are short
        stretch.assign(path, start, end - start);
        const int next = end > start ? ::openat(fd, stretch.c_str(), kFolderFlags) : -1;
        if (fd != root)
            ::close(fd);
        if (next < 0)
            return -1;
        fd = next;
        start = end + 1;
    }
    return fd;
}

bool isDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// One thread's reading: whole folders, their regular files summed, their subfolders handed back.
// Allocates only for subfolder paths.
class Walker final : public FolderReader {
  public:
    explicit Walker(int root) : root_(root), entries_(kEntryBufferSize) {}

    std::uint64_t read(const std::string& folder, std::vector<std::string>& found) override {
        found_ = &found;
        return readFolder(folder);
    }

  private:
    // The size of the regular files directly in `folder`; its subfolders go into found_. What
    // cannot be opened or read adds nothing.
    std::uint64_t readFolder(const std::string& folder) {
        const Fd fd(openFolder(root_, folder));
        if (!fd.valid())
            return 0;
        std::uint64_t total = 0;
        for (;;) {
            const ssize_t n = ::getdents64(fd.get(), entries_.data(), entries_.size());
            if (n <= 0)
                break;
            for (ssize_t at = 0; at < n;) {
                const auto* entry = reinterpret_cast<const dirent64*>(entries_.data() + at);
                at += entry->d_reclen;
                total += takeEntry(fd.get(), folder, *entry);
            }
        }
        return total;
    }

    // A regular file's size. A folder is queued and adds nothing; so does anything else. The file
    // system's entry type spares a stat for folders and links; an entry of unknown type is stat'ed.
    std::uint64_t takeEntry(int fd, const std::string& folder, const dirent64& entry) {
        if (isDotOrDotDot(entry.d_name))
            return 0;
        unsigned char type = entry.d_type;
        if (type == DT_REG || type == DT_UNKNOWN) {
            struct statx st;
            if (::statx(fd, entry.d_name, kStatFlags, kStatMask, &st) != 0)
                return 0;
            if (S_ISREG(st.stx_mode))
                return st.stx_size;
            if (type == DT_REG || !S_ISDIR(st.stx_mode))
                return 0;
            type = DT_DIR;
        }
        if (type == DT_DIR)
            found_->push_back(subfolder(folder, entry.d_name));
        return 0;
    }

    static std::string subfolder(const std::string& folder, const char* name) {
        if (folder == ".")
            return name;
        std::string path;
        path.reserve(folder.size() + 1 + std::strlen(name));
        path.append(folder).append(1, '/').append(name);
        return path;
    }

    int root_;
    std::vector<char> entries_;
    std::vector<std::string>* found_ = nullptr;
};

}  // namespace

std::optional<std::uint64_t> sumRegularFiles(const std::string& folder, unsigned workers) {
    const Fd root(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!root.valid())
        return std::nullopt;
    return sumFolders(".", workers, [&root] { return std::make_unique<Walker>(root.get()); });
}

}  // namespace morvane::posix

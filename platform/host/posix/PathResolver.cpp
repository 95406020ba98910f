#include "platform/host/posix/PathResolver.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "platform/host/posix/Fd.h"
#include "platform/host/posix/FolderEntries.h"

namespace morvane::posix {
namespace {

bool equalsIgnoringAsciiCase(const char* a, const std::string& b) {
    std::size_t i = 0;
    for (; a[i] != '\0' && i < b.size(); ++i) {
        auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
        if (lower(static_cast<unsigned char>(a[i])) != lower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return a[i] == '\0' && i == b.size();
}

// The single entry of the folder open as `folder` whose name equals `name` ignoring ASCII case,
// or `name` itself.
std::string matchInFolder(int folder, const std::string& name) {
    std::string match;
    int matches = 0;
    forEachEntry(folder, [&](const dirent& entry) {
        if (equalsIgnoringAsciiCase(entry.d_name, name)) {
            match = entry.d_name;
            ++matches;
        }
    });
    return matches == 1 ? match : name;
}

}  // namespace

std::string resolveCaseIn(int folder, const std::string& name) {
    struct stat st;
    if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 || errno != ENOENT)
        return name;
    return matchInFolder(folder, name);
}

std::string resolveCase(const std::string& path) {
    struct stat st;
    if (path.empty() || ::lstat(path.c_str(), &st) == 0)
        return path;
    std::string resolved;
    std::size_t pos = 0;
    while (pos <= path.size()) {
        const std::size_t end = std::min(path.find('/', pos), path.size());
        const std::string name = path.substr(pos, end - pos);
        if (name.empty() || name == "." || name == "..") {
            resolved += name;
        } else {
            const Fd folder(::open(resolved.empty() ? "." : resolved.c_str(),
                                   O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            resolved += folder.valid() ? resolveCaseIn(folder.get(), name) : name;
        }
        if (end < path.size())
            resolved += '/';
        pos = end + 1;
    }
    return resolved;
}

std::string parentOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace morvane::posix

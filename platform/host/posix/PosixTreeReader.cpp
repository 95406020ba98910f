#include "platform/host/posix/PosixTreeReader.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "platform/host/Reasons.h"
#include "platform/host/posix/Fd.h"
#include "platform/host/posix/PathResolver.h"

namespace morvane {
namespace {

EntryKind kindOfMode(mode_t mode) {
    if (S_ISREG(mode))
        return EntryKind::File;
    if (S_ISDIR(mode))
        return EntryKind::Folder;
    if (S_ISLNK(mode))
        return EntryKind::Link;
    return EntryKind::Other;
}

EntryKind kindOfDirent(int folder, const dirent& entry) {
    switch (entry.d_type) {
        case DT_REG:
            return EntryKind::File;
        case DT_DIR:
            return EntryKind::Folder;
        case DT_LNK:
            return EntryKind::Link;
        case DT_UNKNOWN: {
            struct stat st;
            if (::fstatat(folder, entry.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                return EntryKind::Missing;
            return kindOfMode(st.st_mode);
        }
        default:
            return EntryKind::Other;
    }
}

}  // namespace

EntryKind PosixTreeReader::kindOf(const std::string& path) {
    struct stat st;
    if (path.empty() || ::stat(posix::resolveCase(path).c_str(), &st) != 0)
        return EntryKind::Missing;
    return kindOfMode(st.st_mode);
}

EntryKind PosixTreeReader::kindOfEntry(const std::string& path) {
    struct stat st;
    if (path.empty() || ::lstat(posix::resolveCase(path).c_str(), &st) != 0)
        return EntryKind::Missing;
    return kindOfMode(st.st_mode);
}

std::optional<std::string> PosixTreeReader::linkTarget(const std::string& path) {
    if (path.empty())
        return std::nullopt;
    // A link's text is short; a longer one than the buffer is read again with room for it.
    for (std::size_t size = 256;; size *= 2) {
        std::string text(size, '\0');
        const ssize_t n = ::readlink(posix::resolveCase(path).c_str(), text.data(), size);
        if (n < 0)
            return std::nullopt;
        if (static_cast<std::size_t>(n) < size) {
            text.resize(static_cast<std::size_t>(n));
            return text;
        }
    }
}

FileRead PosixTreeReader::readFile(const std::string& path, std::size_t limit) {
    // Without O_NONBLOCK, opening a FIFO would wait for a writer that never comes.
    posix::Fd in(::open(posix::resolveCase(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st;
    if (!in.valid() || ::fstat(in.get(), &st) != 0)
        return {std::nullopt, Reason::systemError(static_cast<std::uint32_t>(errno)), {}};
    if (!S_ISREG(st.st_mode))
        return {std::nullopt, because("not a regular file"), {}};
    if (static_cast<std::uint64_t>(st.st_size) > limit)
        return {std::nullopt, tooLarge(limit), {}};
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(in.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return {std::nullopt, Reason::systemError(static_cast<std::uint32_t>(errno)), {}};
        if (n == 0)
            break;
        // The file may grow while it is read; the limit holds all the same.
        if (bytes.size() + static_cast<std::size_t>(n) > limit)
            return {std::nullopt, tooLarge(limit), {}};
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return {std::move(bytes),
            {},
            {st.st_mode & 07777u, st.st_uid, st.st_gid, std::nullopt},
            static_cast<std::uint32_t>(st.st_nlink)};
}

std::optional<std::vector<FolderEntry>> PosixTreeReader::listFolder(const std::string& path) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(posix::resolveCase(path).c_str()),
                                            ::closedir);
    if (!dir)
        return std::nullopt;
    std::vector<FolderEntry> entries;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            entries.push_back({std::string(name), kindOfDirent(::dirfd(dir.get()), *entry)});
    }
    return entries;
}

std::optional<std::string> PosixTreeReader::canonicalPath(const std::string& path) {
    char buffer[PATH_MAX];
    if (path.empty() || ::realpath(posix::resolveCase(path).c_str(), buffer) == nullptr)
        return std::nullopt;
    return std::string(buffer);
}

}  // namespace morvane

#include "PosixFileHost.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

#include "Fd.h"
#include "FolderSize.h"
#include "PathResolver.h"

namespace morvane {
namespace {

using posix::Fd;
using posix::parentOf;
using posix::resolveCase;

std::optional<std::string> realPath(const std::string& path) {
    char buffer[PATH_MAX];
    if (::realpath(path.c_str(), buffer) == nullptr)
        return std::nullopt;
    return std::string(buffer);
}

bool isWritableFile(const struct stat& st) {
    return (st.st_mode & S_IWUSR) != 0;
}

bool copyContents(int from, int to, off_t size) {
    off_t done = 0;
    while (done < size) {
        const ssize_t n = ::sendfile(to, from, nullptr, static_cast<std::size_t>(size - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// What the new file takes over from the entry it replaces.
struct Inherited {
    mode_t mode;
    std::optional<std::pair<uid_t, gid_t>> owner;  // none: a new file, owned by whoever runs us
};

// Writes `source` to `temp` whole, mode and owner as inherited; on any failure removes what it
// wrote.
bool writeTemp(int source, off_t size, const std::string& temp, const Inherited& inherited) {
    ::unlink(temp.c_str());  // a leftover of an interrupted run
    Fd out(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!out.valid())
        return false;
    // Keeping the owner matters when we run as root on a player's folder: the game must still be
    // able to read and write what we replaced. Only root can give a file away, so for anyone
    // else this is the owner already or fails harmlessly.
    if (inherited.owner) {
        [[maybe_unused]] const int kept =
            ::fchown(out.get(), inherited.owner->first, inherited.owner->second);
    }
    const bool ok = copyContents(source, out.get(), size) &&
                    ::fchmod(out.get(), inherited.mode) == 0 && ::fdatasync(out.get()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

void PosixFileHost::confineChangesTo(const std::string& folder) {
    confined_ = true;
    root_ = realPath(folder);
}

bool PosixFileHost::mayChange(const std::string& path) const {
    if (path.empty())
        return false;
    if (!confined_)
        return true;
    if (!root_)
        return false;
    const std::optional<std::string> parent = realPath(parentOf(path));
    if (!parent)
        return false;
    if (*root_ == "/" || *parent == *root_)
        return true;
    return parent->size() > root_->size() && parent->compare(0, root_->size(), *root_) == 0 &&
           (*parent)[root_->size()] == '/';
}

Lookup PosixFileHost::lookupFile(const std::string& path) {
    struct stat st;
    if (path.empty())
        return Lookup::Absent;
    if (::lstat(resolveCase(path).c_str(), &st) != 0) {
        return errno == ENOENT || errno == ENOTDIR ? Lookup::Absent : Lookup::Failed;
    }
    return S_ISDIR(st.st_mode) ? Lookup::Absent : Lookup::Present;
}

bool PosixFileHost::isReadableFile(const std::string& path) {
    if (path.empty())
        return false;
    // Without O_NONBLOCK, opening a FIFO would wait for a writer that never comes.
    Fd in(::open(resolveCase(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st;
    return in.valid() && ::fstat(in.get(), &st) == 0 && S_ISREG(st.st_mode);
}

bool PosixFileHost::setAttributes(const std::string& path, Attributes value) {
    const std::string target = resolveCase(path);
    struct stat st;
    if (!mayChange(target) || ::lstat(target.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return false;
    }
    const mode_t mode =
        value == Attributes::ReadOnly ? (st.st_mode & ~mode_t{0222}) : (st.st_mode | S_IWUSR);
    return ::chmod(target.c_str(), mode & 07777) == 0;
}

bool PosixFileHost::deleteFile(const std::string& path) {
    const std::string target = resolveCase(path);
    struct stat st;
    if (!mayChange(target) || ::lstat(target.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) {
        return false;
    }
    if (S_ISREG(st.st_mode) && !isWritableFile(st))
        return false;
    return ::unlink(target.c_str()) == 0;
}

bool PosixFileHost::copyFile(const std::string& source, const std::string& destination) {
    if (source.empty() || destination.empty())
        return false;
    Fd in(::open(resolveCase(source).c_str(), O_RDONLY | O_CLOEXEC));
    struct stat from;
    if (!in.valid() || ::fstat(in.get(), &from) != 0 || !S_ISREG(from.st_mode))
        return false;

    const std::string target = resolveCase(destination);
    if (!mayChange(target))
        return false;
    struct stat existing;
    Inherited inherited{newFileMode(), std::nullopt};
    if (::lstat(target.c_str(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode))
            return false;
        if (S_ISREG(existing.st_mode)) {
            if (!isWritableFile(existing))
                return false;
            inherited = {static_cast<mode_t>(existing.st_mode & 07777),
                         std::pair{existing.st_uid, existing.st_gid}};
        }
    }
    const std::string temp = parentOf(target) + "/." + posix::nameOf(target) + kPartialSuffix;
    if (!writeTemp(in.get(), from.st_size, temp, inherited))
        return false;
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

std::optional<std::uint64_t> PosixFileHost::folderSize(const std::string& folder) {
    return posix::folderSize(folder);
}

std::optional<std::string> PosixFileHost::programFolder() {
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return std::nullopt;
    return parentOf(std::string(buffer, static_cast<std::size_t>(n)));
}

}  // namespace morvane

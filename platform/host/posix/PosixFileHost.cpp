#include "platform/host/posix/PosixFileHost.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/host/RunPaths.h"
#include "platform/host/TempNames.h"
#include "platform/host/posix/FolderEntries.h"
#include "platform/host/posix/FolderSize.h"
#include "platform/host/posix/PathResolver.h"
#include "platform/host/posix/RunLock.h"

namespace morvane {
namespace {

using posix::Fd;
using posix::parentOf;
using posix::resolveCase;
using posix::resolveCaseIn;

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
// Copies are written in stretches of this size, so a test can step in after the first.
constexpr std::size_t kCopyStretch = 1 << 20;
// Files are compared in stretches of this size.
constexpr std::size_t kCompareStretch = 1 << 14;

// The current errno, after `what` when given.
Reason why(Reason what = {}) {
    return std::move(what).withError(static_cast<std::uint32_t>(errno));
}

bool isWritableFile(const struct stat& st) {
    return (st.st_mode & S_IWUSR) != 0;
}

bool isLink(int folder, const std::string& name) {
    struct stat st;
    return ::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
}

bool isSlash(char c) {
    return c == '/';
}

// Replaces `folder` by its subfolder named `written` (matched as names are), never following a
// link.
// False, with `failure` set, when that cannot be opened: absent when it does not exist or is
// not a folder.
bool descend(Fd& folder, const std::string& written, ChangeResult& failure) {
    const std::string name = resolveCaseIn(folder.get(), written);
    Fd next(::openat(folder.get(), name.c_str(), kFolderFlags));
    if (next.valid()) {
        folder = std::move(next);
        return true;
    }
    const int error = errno;
    if (error == ELOOP || (error == ENOTDIR && isLink(folder.get(), name))) {
        failure = ChangeResult::failure(because("%s is a link, not followed", name));
        return false;
    }
    Reason reason = Reason::text(name).withError(static_cast<std::uint32_t>(error));
    failure = error == ENOENT || error == ENOTDIR ? ChangeResult::missing(std::move(reason))
                                                  : ChangeResult::failure(std::move(reason));
    return false;
}

// Opens the regular file at `path` for reading. O_NONBLOCK keeps a FIFO from waiting for a writer
// that never comes; the type is checked on the open descriptor, so nothing can be swapped in
// between. On failure `reason` says why.
Fd openReadable(const std::string& path, Reason& reason) {
    Fd in(path.empty()
              ? -1
              : ::open(resolveCase(path).c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st;
    if (!in.valid() || ::fstat(in.get(), &st) != 0) {
        reason = path.empty() ? because("no path") : why();
        return Fd();
    }
    if (!S_ISREG(st.st_mode)) {
        reason = because("not a regular file");
        return Fd();
    }
    return in;
}

// Reads exactly `size` bytes of `fd` into `buffer`: false on an error or an early end.
bool readExactly(int fd, char* buffer, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, buffer + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Copies `size` bytes from `from` to `to`; `afterFirst` runs once the first stretch is written.
template <typename AfterFirst>
bool copyContents(int from, int to, off_t size, AfterFirst afterFirst) {
    off_t done = 0;
    bool first = true;
    while (done < size) {
        const auto stretch =
            std::min<std::size_t>(static_cast<std::size_t>(size - done), kCopyStretch);
        const ssize_t n = ::sendfile(to, from, nullptr, stretch);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;  // the source ended early: it changed while we read it
            return false;
        }
        done += n;
        if (std::exchange(first, false))
            afterFirst();
    }
    return true;
}

// What the new file takes over from the entry it replaces, or from its folder.
struct Inherited {
    mode_t mode;
    std::optional<std::pair<uid_t, gid_t>> owner;  // none: owned by whoever runs us
};

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

RunStart PosixFileHost::beginChanges(const std::string& gameFolder,
                                     std::optional<std::chrono::milliseconds> wait) {
    endChanges();
    begun_ = true;
    gameFolder_ = gameFolder;
    // Opened once, following a link in its own path: that is the folder the user chose.
    game_.reset(::open(gameFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!game_.valid()) {
        gameError_ = why(because("cannot open the game folder"));
        return RunStart::Begun;
    }
    switch (posix::lockFolder(game_.get(), wait, [&] { at(Moment::Waiting, gameFolder); })) {
        case posix::LockState::Held:
            locked_ = true;
            break;
        case posix::LockState::Busy:
            endChanges();
            return RunStart::Busy;
        case posix::LockState::Unavailable:
            break;  // runs are not kept apart then, but their temporary files still are
    }
    return RunStart::Begun;
}

void PosixFileHost::endChanges() {
    game_.reset();
    begun_ = false;
    locked_ = false;
    gameError_ = {};
}

PosixFileHost::Target PosixFileHost::reach(const std::string& path) {
    Target target;
    if (auto refused = refusal(path, begun_, game_.valid(), gameError_, gameFolder_, isSlash)) {
        target.failure = std::move(*refused);
        return target;
    }
    at(Moment::Reaching, path);
    std::vector<std::string> names;
    if (!namesBelow(path, gameFolder_.size(), isSlash, names, target.failure))
        return target;
    Fd folder(::fcntl(game_.get(), F_DUPFD_CLOEXEC, 0));
    for (std::size_t i = 0; i + 1 < names.size() && folder.valid(); ++i) {
        if (!descend(folder, names[i], target.failure))
            return target;
    }
    if (!folder.valid()) {
        target.failure = ChangeResult::failure(why());
        return target;
    }
    target.name = resolveCaseIn(folder.get(), names.back());
    target.folder = std::move(folder);
    at(Moment::Reached, path);
    return target;
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
    Reason reason;
    return openReadable(path, reason).valid();
}

bool PosixFileHost::sameContent(const std::string& path, const std::string& reference,
                                std::uint64_t limit) {
    Reason unreadable;
    const Fd file = openReadable(path, unreadable);
    const Fd other = openReadable(reference, unreadable);
    struct stat st, otherSt;
    if (!file.valid() || !other.valid() || ::fstat(file.get(), &st) != 0 ||
        ::fstat(other.get(), &otherSt) != 0 || st.st_size != otherSt.st_size ||
        static_cast<std::uint64_t>(otherSt.st_size) > limit) {
        return false;
    }
    char left[kCompareStretch];
    char right[kCompareStretch];
    for (off_t done = 0; done < st.st_size;) {
        const auto stretch =
            std::min<std::size_t>(static_cast<std::size_t>(st.st_size - done), kCompareStretch);
        if (!readExactly(file.get(), left, stretch) || !readExactly(other.get(), right, stretch) ||
            std::memcmp(left, right, stretch) != 0) {
            return false;
        }
        done += static_cast<off_t>(stretch);
    }
    return true;
}

ChangeResult PosixFileHost::setAttributes(const std::string& path, Attributes value) {
    return changePermissions(path, [value](const struct stat& st) {
        const mode_t now = st.st_mode & 07777;
        return Permissions{value == Attributes::ReadOnly ? (now & ~mode_t{0222}) : (now | S_IWUSR),
                           st.st_uid, st.st_gid, std::nullopt};
    });
}

ChangeResult PosixFileHost::setPermissions(const std::string& path, const Permissions& value) {
    return changePermissions(path, [&value](const struct stat& st) {
        return Permissions{value.mode & 07777, value.owner.value_or(st.st_uid),
                           value.group.value_or(st.st_gid), std::nullopt};
    });
}

ChangeResult PosixFileHost::changePermissions(
    const std::string& path, const std::function<Permissions(const struct stat&)>& wanted) {
    const Target target = reach(path);
    if (!target.folder.valid())
        return target.failure;
    // O_PATH opens the entry itself, never what a link points to, and no device is opened.
    const Fd file(
        ::openat(target.folder.get(), target.name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat st;
    if (!file.valid() || ::fstat(file.get(), &st) != 0)
        return errno == ENOENT ? ChangeResult::missing(why()) : ChangeResult::failure(why());
    if (S_ISLNK(st.st_mode))
        return ChangeResult::failure(because("a link, not followed"));
    if (!S_ISREG(st.st_mode))
        return ChangeResult::failure(S_ISDIR(st.st_mode) ? because("a folder")
                                                         : because("not a regular file"));
    const Permissions now{st.st_mode & 07777u, st.st_uid, st.st_gid, std::nullopt};
    const Permissions next = wanted(st);
    if (next == now)
        return ChangeResult::done();
    if (st.st_nlink > 1)
        return ChangeResult::failure(because("has other hard links, whose mode it shares"));
    // The owner first: giving a file away clears its set-user and set-group bits. The mode is
    // given all the same when the owner cannot be: it is what keeps the file read-only.
    Reason ownerFailure;
    if ((next.owner != now.owner || next.group != now.group) &&
        ::fchownat(file.get(), "", *next.owner, *next.group, AT_EMPTY_PATH) != 0) {
        ownerFailure =
            why(next.owner == now.owner   ? because("cannot give it its group back")
                : next.group == now.group ? because("cannot give it its owner back")
                                          : because("cannot give it its owner and group back"));
    }
    // An O_PATH descriptor takes no fchmod; its /proc name reaches exactly the file it holds.
    const std::string self = "/proc/self/fd/" + std::to_string(file.get());
    if (::chmod(self.c_str(), next.mode) != 0) {
        return ChangeResult::failure(
            ownerFailure.empty() ? why()
                                 : because("%s, nor its mode: %s", ownerFailure,
                                           Reason::systemError(static_cast<std::uint32_t>(errno))));
    }
    if (!ownerFailure.empty())
        return ChangeResult::failure(because("%s; its mode is given back", ownerFailure));
    return ChangeResult::changed(now);
}

ChangeResult PosixFileHost::deleteFile(const std::string& path) {
    const Target target = reach(path);
    if (!target.folder.valid())
        return target.failure;
    struct stat st;
    if (::fstatat(target.folder.get(), target.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? ChangeResult::missing(why()) : ChangeResult::failure(why());
    if (S_ISDIR(st.st_mode))
        return ChangeResult::failure(because("a folder"));
    if (S_ISREG(st.st_mode) && !isWritableFile(st))
        return ChangeResult::failure(because("read-only"));
    if (::unlinkat(target.folder.get(), target.name.c_str(), 0) != 0)
        return errno == ENOENT ? ChangeResult::missing(why()) : ChangeResult::failure(why());
    return ChangeResult::done();
}

namespace {

// Looks at the entry `name` in `folder` that a copy or a link is to take the place of, into
// `existing` (its st_mode 0 when there is none): why it may not be replaced, if it may not (a
// folder, a read-only file, or it cannot be looked at).
std::optional<ChangeResult> refusedReplacing(int folder, const std::string& name,
                                             struct stat& existing) {
    if (::fstatat(folder, name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) != 0) {
        existing.st_mode = 0;
        return errno == ENOENT ? std::nullopt : std::optional(ChangeResult::failure(why()));
    }
    if (S_ISDIR(existing.st_mode))
        return ChangeResult::failure(because("a folder"));
    if (S_ISREG(existing.st_mode) && !isWritableFile(existing))
        return ChangeResult::failure(because("read-only"));
    return std::nullopt;
}

}  // namespace

ChangeResult PosixFileHost::copyFile(const std::string& source, const std::string& destination) {
    Reason unreadable;
    const Fd in = openReadable(source, unreadable);
    struct stat from;
    if (!in.valid() || ::fstat(in.get(), &from) != 0)
        return ChangeResult::failure(because("the replacement cannot be read: %s", unreadable));

    const Target target = reach(destination);
    if (!target.folder.valid())
        return target.failure;
    const int folder = target.folder.get();
    struct stat existing;
    if (auto refused = refusedReplacing(folder, target.name, existing))
        return *refused;
    // A new file is the folder's owner's, as the files beside it are the player's.
    Inherited inherited{newFileMode(), std::nullopt};
    if (S_ISREG(existing.st_mode)) {
        inherited = {static_cast<mode_t>(existing.st_mode & 07777),
                     std::pair{existing.st_uid, existing.st_gid}};
    } else if (struct stat holder; ::fstat(folder, &holder) == 0) {
        inherited.owner = std::pair{holder.st_uid, holder.st_gid};
    }

    if (locked_)
        posix::removeLeftovers(folder, target.name);
    posix::TempFile temp(folder, target.name);
    if (!temp.valid())
        return ChangeResult::failure(temp.error());
    // Keeping the owner matters when we run as root on a player's folder: the game must still be
    // able to read and write what we replaced or made. Only root can give a file away, so for
    // anyone else this is the owner already or fails harmlessly.
    if (inherited.owner) {
        [[maybe_unused]] const int kept =
            ::fchown(temp.fd(), inherited.owner->first, inherited.owner->second);
    }
    const bool written = copyContents(in.get(), temp.fd(), from.st_size,
                                      [&] { at(Moment::Writing, destination); }) &&
                         ::fchmod(temp.fd(), inherited.mode) == 0 && ::fdatasync(temp.fd()) == 0;
    if (!written)
        return ChangeResult::failure(why(because("cannot write the copy")));
    if (!temp.giveName())
        return ChangeResult::failure(temp.error());
    at(Moment::Renaming, destination);
    if (!temp.rename())
        return ChangeResult::failure(temp.error());
    return ChangeResult::done();
}

ChangeResult PosixFileHost::createLink(const std::string& path, const std::string& text) {
    const Target target = reach(path);
    if (!target.folder.valid())
        return target.failure;
    const int folder = target.folder.get();
    struct stat existing;
    if (auto refused = refusedReplacing(folder, target.name, existing))
        return *refused;
    if (locked_)
        posix::removeLeftovers(folder, target.name);
    // Made under a name no other run can choose, then renamed over the entry: whole or not at all.
    std::string temp;
    for (int i = 0; i < kNameTries && temp.empty(); ++i) {
        const std::string candidate = posix::randomName(target.name);
        if (::symlinkat(text.c_str(), folder, candidate.c_str()) == 0)
            temp = candidate;
        else if (errno != EEXIST)
            break;
    }
    if (temp.empty())
        return ChangeResult::failure(why(because("cannot make the link")));
    // Owned as the folder it stands in, as a file made there would be for the game; only root can
    // give it away, and for anyone else this fails harmlessly.
    struct stat holder;
    if (::fstat(folder, &holder) == 0) {
        [[maybe_unused]] const int owned =
            ::fchownat(folder, temp.c_str(), holder.st_uid, holder.st_gid, AT_SYMLINK_NOFOLLOW);
    }
    at(Moment::Renaming, path);
    if (::renameat(folder, temp.c_str(), folder, target.name.c_str()) != 0) {
        const ChangeResult failed =
            ChangeResult::failure(why(because("cannot put the link in place")));
        ::unlinkat(folder, temp.c_str(), 0);
        return failed;
    }
    return ChangeResult::done();
}

std::vector<Leftover> PosixFileHost::removeLeftovers(const std::string& folder) {
    std::vector<Leftover> found;
    if (!locked_)
        return found;
    const Target target = reach(folder);
    const Fd inside(target.folder.valid()
                        ? ::openat(target.folder.get(), target.name.c_str(), kFolderFlags)
                        : -1);
    if (!inside.valid())
        return found;
    std::vector<std::string> names;
    posix::forEachEntry(inside.get(), [&](const dirent& entry) {
        struct stat st;
        if (isLeftover(entry.d_name) &&
            ::fstatat(inside.get(), entry.d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            !S_ISDIR(st.st_mode)) {
            names.emplace_back(entry.d_name);
        }
    });
    for (const std::string& name : names) {
        const std::string path = folder + '/' + name;
        found.push_back({path, deleteFile(path)});
    }
    return found;
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

#include "platform/host/posix/PosixStateStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/host/posix/Fd.h"
#include "platform/host/posix/FolderEntries.h"
#include "platform/host/posix/PathResolver.h"
#include "platform/host/posix/TempFile.h"

namespace morvane {
namespace {

using posix::Fd;

// `what` failed for the reason errno gives (because() leaves errno as it was).
ChangeResult failure(Reason what) {
    return ChangeResult::failure(std::move(what).withError(static_cast<std::uint32_t>(errno)));
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Removes everything in the folder open as `folder`, depth first, never following a link.
bool emptyFolder(int folder) {
    bool ok = true;
    std::vector<std::string> files, folders;
    posix::forEachEntry(folder, [&](const dirent& entry) {
        const std::string name = entry.d_name;
        if (name == "." || name == "..")
            return;
        struct stat st;
        const bool isFolder =
            ::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
        (isFolder ? folders : files).push_back(name);
    });
    for (const std::string& name : files)
        ok = ::unlinkat(folder, name.c_str(), 0) == 0 && ok;
    for (const std::string& name : folders) {
        const Fd inner(
            ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        ok = inner.valid() && emptyFolder(inner.get()) &&
             ::unlinkat(folder, name.c_str(), AT_REMOVEDIR) == 0 && ok;
    }
    return ok;
}

}  // namespace

ChangeResult PosixStateStore::makeFolders(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode)
                   ? ChangeResult::done()
                   : ChangeResult::failure(Reason::on(path, because("not a folder")));
    const std::string parent = posix::parentOf(path);
    if (parent != path && parent != "." && parent != "/") {
        if (ChangeResult above = makeFolders(parent); !above.succeeded)
            return above;
    }
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return failure(because("cannot make %s", path));
    return ChangeResult::done();
}

ChangeResult PosixStateStore::makeNewFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) == 0)
        return ChangeResult::done();
    return errno == EEXIST ? ChangeResult::missing(because("%s exists", path))
                           : failure(because("cannot make %s", path));
}

ChangeResult PosixStateStore::writeFile(const std::string& path, std::string_view bytes) {
    const Fd folder(::open(posix::parentOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid())
        return failure(because("cannot open the folder of %s", path));
    posix::TempFile temp(folder.get(), posix::nameOf(path));
    if (!temp.valid())
        return ChangeResult::failure(Reason::on(path, temp.error()));
    if (!writeAll(temp.fd(), bytes) || ::fsync(temp.fd()) != 0)
        return failure(because("cannot write %s", path));
    if (!temp.giveName() || !temp.rename())
        return ChangeResult::failure(Reason::on(path, temp.error()));
    // The new name lasts only once the folder is on disk too.
    if (::fsync(folder.get()) != 0)
        return failure(because("cannot flush the folder of %s", path));
    return ChangeResult::done();
}

ChangeResult PosixStateStore::removeTree(const std::string& path) {
    const Fd folder(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder.valid())
        return errno == ENOENT ? ChangeResult::done() : failure(because("cannot open %s", path));
    if (!emptyFolder(folder.get()) || ::rmdir(path.c_str()) != 0)
        return failure(because("cannot remove %s", path));
    return ChangeResult::done();
}

ChangeResult PosixStateStore::removeEmptyFolder(const std::string& path) {
    if (::rmdir(path.c_str()) != 0 && errno != ENOENT)
        return failure(because("cannot remove %s", path));
    return ChangeResult::done();
}

}  // namespace morvane

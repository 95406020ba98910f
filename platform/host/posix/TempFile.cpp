#include "platform/host/posix/TempFile.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>

#include <cerrno>
#include <string_view>

#include "platform/host/posix/FolderEntries.h"

namespace morvane::posix {

std::string randomName(const std::string& target) {
    unsigned char bytes[kRandomLength] = {};
    for (std::size_t got = 0; got < sizeof bytes;) {
        const ssize_t n = ::getrandom(bytes + got, sizeof bytes - got, 0);
        if (n > 0)
            got += static_cast<std::size_t>(n);
        else if (errno != EINTR)
            break;  // left as zeros: O_EXCL and the retries still keep names apart
    }
    return tempName(target, bytes);
}

TempFile::TempFile(int folder, std::string target, Kind kind)
    : folder_(folder), target_(std::move(target)) {
    if (kind == Kind::Unnamed) {
        file_.reset(::openat(folder_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
        if (file_.valid())
            return;
        // Without O_TMPFILE support the file is named from the start.
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            fail(because("cannot create a temporary file"));
            return;
        }
    }
    for (int i = 0; i < kNameTries && !file_.valid(); ++i) {
        const std::string candidate = randomName(target_);
        file_.reset(::openat(folder_, candidate.c_str(),
                             O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (file_.valid())
            name_ = candidate;
        else if (errno != EEXIST)
            break;
    }
    if (!file_.valid())
        fail(because("cannot create a temporary file"));
}

TempFile::~TempFile() {
    if (!name_.empty())
        ::unlinkat(folder_, name_.c_str(), 0);
}

bool TempFile::fail(Reason what) {
    error_ = std::move(what).withError(static_cast<std::uint32_t>(errno));
    return false;
}

bool TempFile::giveName() {
    if (!name_.empty())
        return true;
    // Linking through /proc needs no privilege; AT_EMPTY_PATH is the way when /proc is missing.
    const std::string self = "/proc/self/fd/" + std::to_string(file_.get());
    for (int i = 0; i < kNameTries; ++i) {
        const std::string candidate = randomName(target_);
        int linked =
            ::linkat(AT_FDCWD, self.c_str(), folder_, candidate.c_str(), AT_SYMLINK_FOLLOW);
        if (linked != 0 && errno == ENOENT)
            linked = ::linkat(file_.get(), "", folder_, candidate.c_str(), AT_EMPTY_PATH);
        if (linked == 0) {
            name_ = candidate;
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    return fail(because("cannot name the temporary file"));
}

bool TempFile::rename() {
    if (::renameat(folder_, name_.c_str(), folder_, target_.c_str()) != 0)
        return fail(because("cannot put the copy in place"));  // the destructor removes it
    name_.clear();
    return true;
}

void removeLeftovers(int folder, const std::string& target) {
    forEachEntry(folder, [&](const dirent& entry) {
        if (entry.d_type != DT_DIR && isLeftoverOf(entry.d_name, target))
            ::unlinkat(folder, entry.d_name, 0);
    });
}

}  // namespace morvane::posix

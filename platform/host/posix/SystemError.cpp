#include "platform/host/posix/SystemError.h"

#include <cerrno>
#include <cstring>
#include <string_view>

#include "platform/Reason.h"
#include "platform/Translate.h"

namespace morvane::posix {
namespace {

struct Known {
    int error;
    std::string_view text;  // in English as the C library words it, so English output is unchanged
};

constexpr Known kKnown[] = {
    {EPERM, i18n::trMark("Operation not permitted")},
    {ENOENT, i18n::trMark("No such file or directory")},
    {EIO, i18n::trMark("Input/output error")},
    {ENXIO, i18n::trMark("No such device or address")},
    {EAGAIN, i18n::trMark("Resource temporarily unavailable")},
    {ENOMEM, i18n::trMark("Cannot allocate memory")},
    {EACCES, i18n::trMark("Permission denied")},
    {EBUSY, i18n::trMark("Device or resource busy")},
    {EEXIST, i18n::trMark("File exists")},
    {EXDEV, i18n::trMark("Invalid cross-device link")},
    {ENODEV, i18n::trMark("No such device")},
    {ENOTDIR, i18n::trMark("Not a directory")},
    {EISDIR, i18n::trMark("Is a directory")},
    {EINVAL, i18n::trMark("Invalid argument")},
    {ENFILE, i18n::trMark("Too many open files in system")},
    {EMFILE, i18n::trMark("Too many open files")},
    {ETXTBSY, i18n::trMark("Text file busy")},
    {EFBIG, i18n::trMark("File too large")},
    {ENOSPC, i18n::trMark("No space left on device")},
    {EROFS, i18n::trMark("Read-only file system")},
    {EMLINK, i18n::trMark("Too many links")},
    {ENAMETOOLONG, i18n::trMark("File name too long")},
    {ENOTEMPTY, i18n::trMark("Directory not empty")},
    {ELOOP, i18n::trMark("Too many levels of symbolic links")},
    {EOVERFLOW, i18n::trMark("Value too large for defined data type")},
    {EOPNOTSUPP, i18n::trMark("Operation not supported")},
    {ESTALE, i18n::trMark("Stale file handle")},
    {EDQUOT, i18n::trMark("Disk quota exceeded")},
};

}  // namespace

std::string errorText(int error, bool english) {
    for (const Known& known : kKnown) {
        if (known.error == error)
            return english ? std::string(known.text) : i18n::tr(known.text);
    }
    // The program never sets a locale: the C library words its errors in English.
    return std::strerror(error);
}

}  // namespace morvane::posix

namespace morvane {

std::string systemErrorText(std::uint32_t code, bool english) {
    return posix::errorText(static_cast<int>(code), english);
}

}  // namespace morvane

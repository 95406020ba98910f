#include "platform/host/win32/TempFile.h"

#include <bcrypt.h>

#include <vector>

#include "platform/Translate.h"
#include "platform/host/TempNames.h"
#include "platform/host/win32/Utf16.h"

namespace morvane::win32 {
namespace {

constexpr DWORD kCopyStretch = 1 << 20;

}  // namespace

std::wstring randomPath(const std::wstring& folder, const std::string& target) {
    unsigned char random[kRandomLength] = {};
    // Left as zeros should the system give none: making the entry only where none is, and the
    // retries, still keep the names apart.
    BCryptGenRandom(nullptr, random, sizeof random, BCRYPT_USE_SYSTEM_PREFERRED_RNG);
    return folder + L"\\" + wide(tempName(target, random));
}

TempFile::TempFile(const std::wstring& folder, const std::string& target) {
    for (int i = 0; i < kNameTries && !file_.valid(); ++i) {
        path_ = randomPath(folder, target);
        file_.reset(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file_.valid() && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (!file_.valid()) {
        fail(i18n::trMark("cannot create a temporary file"));
        path_.clear();
    }
}

TempFile::~TempFile() {
    file_.reset();
    if (!path_.empty())
        DeleteFileW(path_.c_str());
}

bool TempFile::copyFrom(HANDLE from) {
    std::vector<char> stretch(kCopyStretch);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(from, stretch.data(), kCopyStretch, &got, nullptr))
            return fail(i18n::trMark("cannot read the replacement"));
        if (got == 0)
            break;
        if (!writeAll(stretch.data(), got))
            return false;
    }
    return FlushFileBuffers(file_.get()) || fail(i18n::trMark("cannot write the copy"));
}

bool TempFile::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const auto size = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kCopyStretch));
        if (!writeAll(bytes.data(), size))
            return false;
        bytes.remove_prefix(size);
    }
    return FlushFileBuffers(file_.get()) || fail(i18n::trMark("cannot write the copy"));
}

bool TempFile::writeAll(const char* data, DWORD size) {
    DWORD written = 0;
    if (!WriteFile(file_.get(), data, size, &written, nullptr) || written != size)
        return fail(i18n::trMark("cannot write the copy"));
    return true;
}

bool TempFile::moveOver(const std::wstring& target) {
    file_.reset();
    if (!MoveFileExW(path_.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return fail(i18n::trMark("cannot put the copy in place"));
    }
    path_.clear();
    return true;
}

bool TempFile::fail(std::string_view what) {
    const DWORD error = GetLastError();
    error_ = Reason::ours(what).withError(error);
    return false;
}

}  // namespace morvane::win32

#include "platform/host/win32/LongPath.h"

#include <windows.h>

#include "platform/host/win32/Utf16.h"

namespace morvane::win32 {

namespace {

// Room left under MAX_PATH for what a call may add (a folder's "\*", a temporary file's name).
constexpr std::size_t kShortPathLimit = MAX_PATH - 12;

std::wstring fullPath(const std::wstring& path) {
    DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    while (size != 0) {
        std::wstring full(size, L'\0');
        const DWORD written = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
        if (written < size) {
            full.resize(written);
            return full;
        }
        size = written;
    }
    return path;
}

std::wstring extended(const std::wstring& path) {
    if (path.empty() || path.starts_with(LR"(\\?\)"))
        return path;
    const std::wstring full = fullPath(path);
    if (full.starts_with(LR"(\\)"))
        return LR"(\\?\UNC\)" + full.substr(2);
    return LR"(\\?\)" + full;
}

}  // namespace

std::wstring systemPath(const std::string& path) {
    std::wstring result = wide(path);
    return result.size() < kShortPathLimit ? result : extended(result);
}

std::wstring extendedPath(const std::string& path) {
    return extended(wide(path));
}

}  // namespace morvane::win32

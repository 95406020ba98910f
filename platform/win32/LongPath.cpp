#include "LongPath.h"

#include <windows.h>

#include "Utf16.h"

namespace morvane::win32 {

namespace {

// Room left under MAX_PATH for what a call may add (a folder's "\*" or a temporary name's tail is
// added to the extended form, which has no such limit).
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

}  // namespace

std::wstring systemPath(const std::string& path) {
    std::wstring result = wide(path);
    if (result.size() < kShortPathLimit || result.starts_with(LR"(\\?\)"))
        return result;
    result = fullPath(result);
    if (result.starts_with(LR"(\\)"))
        return LR"(\\?\UNC\)" + result.substr(2);
    return LR"(\\?\)" + result;
}

}  // namespace morvane::win32

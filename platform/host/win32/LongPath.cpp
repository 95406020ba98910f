#include "platform/host/win32/LongPath.h"

#include <windows.h>

#include "platform/host/win32/Utf16.h"

namespace morvane::win32 {

namespace {

// Room left under MAX_PATH for what a call may add (a folder's "\*", a temporary file's name).
constexpr std::size_t kShortPathLimit = MAX_PATH - 12;
constexpr std::wstring_view kExtended = LR"(\\?\)";

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

// A path already in the extended form is taken literally by the system, where a run of
// separators is an empty name: they are folded as the ordinary form's are.
std::wstring foldedSeparators(const std::wstring& path) {
    std::wstring folded(kExtended);
    for (std::size_t i = kExtended.size(); i < path.size(); ++i) {
        if (path[i] != L'\\' || folded.back() != L'\\')
            folded += path[i];
    }
    return folded;
}

std::wstring extended(const std::wstring& path) {
    if (path.empty())
        return path;
    if (path.starts_with(kExtended))
        return foldedSeparators(path);
    const std::wstring full = fullPath(path);
    if (full.starts_with(LR"(\\)"))
        return LR"(\\?\UNC\)" + full.substr(2);
    return std::wstring(kExtended) + full;
}

// A drive alone ("D:") would name that drive's current folder. The paths of a run are the game
// folder's text followed by a separator and names, so "D:" is the drive's root there.
std::wstring asFolder(std::wstring path) {
    if (path.size() == 2 && path[1] == L':')
        path += L'\\';
    return path;
}

}  // namespace

std::wstring systemPath(const std::string& path) {
    std::wstring result = asFolder(wide(path));
    return result.size() < kShortPathLimit && !result.starts_with(kExtended) ? result
                                                                             : extended(result);
}

std::wstring extendedPath(const std::string& path) {
    return extended(asFolder(wide(path)));
}

}  // namespace morvane::win32

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <optional>

#include "platform/UserPlaces.h"
#include "platform/host/win32/Utf16.h"

namespace morvane {
namespace {

std::optional<std::string> knownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::optional<std::string> folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path)))
        folder = win32::narrow(path);
    CoTaskMemFree(path);
    return folder;
}

// A text value of the registry, as Steam leaves it there.
std::optional<std::string> registryText(HKEY root, const wchar_t* key, const wchar_t* name) {
    wchar_t value[1024];
    DWORD size = sizeof value;
    if (RegGetValueW(root, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::string text = win32::narrow(value);
    std::replace(text.begin(), text.end(), '/',
                 '\\');  // Steam writes "c:/program files (x86)/steam"
    return text;
}

}  // namespace

// Steam's folder as Steam itself recorded it (for this user, then for the machine), then where its
// installer puts it by default.
UserPlaces userPlaces() {
    UserPlaces places;
    for (auto root :
         {registryText(HKEY_CURRENT_USER, L"Software\\Valve\\Steam", L"SteamPath"),
          registryText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\WOW6432Node\\Valve\\Steam", L"InstallPath"),
          registryText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Valve\\Steam", L"InstallPath")}) {
        if (root)
            places.steamRoots.push_back(*root);
    }
    for (const auto& programs :
         {knownFolder(FOLDERID_ProgramFilesX86), knownFolder(FOLDERID_ProgramFiles)}) {
        if (programs)
            places.steamRoots.push_back(*programs + "\\Steam");
    }
    if (const auto local = knownFolder(FOLDERID_LocalAppData))
        places.backupsFolder = *local + "\\Morvane\\backups";
    return places;
}

}  // namespace morvane

#include "platform/host/win32/EntryPlace.h"

#include <vector>

#include "platform/host/win32/SystemError.h"

namespace morvane::win32 {
namespace {

bool sameIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// `folder` (a path) followed by `name`, with one separator: a root's path ends with one already.
std::wstring joined(const std::wstring& folder, const std::wstring& name) {
    return folder.ends_with(L'\\') ? folder + name : folder + L"\\" + name;
}

bool volumeOf(HANDLE entry, DWORD& serial) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(entry, &info))
        return false;
    serial = info.dwVolumeSerialNumber;
    return true;
}

Placed byIdentity(HANDLE entry, HANDLE folder, const std::wstring& name, DWORD& error) {
    DWORD entryVolume = 0, folderVolume = 0;
    const std::wstring entryPath = pathOnVolume(entry);
    const std::wstring folderPath = entryPath.empty() ? std::wstring() : pathOnVolume(folder);
    if (folderPath.empty() || !volumeOf(entry, entryVolume) || !volumeOf(folder, folderVolume)) {
        error = GetLastError();
        return Placed::Unknown;
    }
    return entryVolume == folderVolume && sameIgnoringCase(entryPath, joined(folderPath, name))
               ? Placed::There
               : Placed::Elsewhere;
}

}  // namespace

Placed placeOf(HANDLE entry, HANDLE folder, const std::wstring& folderFinal,
               const std::wstring& name, DWORD& error) {
    if (!folderFinal.empty()) {
        if (const std::wstring final = finalPathOf(entry); !final.empty())
            return sameIgnoringCase(final, joined(folderFinal, name)) ? Placed::There
                                                                      : Placed::Elsewhere;
    }
    return byIdentity(entry, folder, name, error);
}

std::wstring pathOnVolume(HANDLE entry) {
    // Room for the longest path there can be.
    std::vector<char> buffer(sizeof(FILE_NAME_INFO) + 32768 * sizeof(wchar_t));
    if (!GetFileInformationByHandleEx(entry, FileNameInfo, buffer.data(),
                                      static_cast<DWORD>(buffer.size()))) {
        return {};
    }
    const auto* info = reinterpret_cast<const FILE_NAME_INFO*>(buffer.data());
    return std::wstring(info->FileName, info->FileNameLength / sizeof(wchar_t));
}

}  // namespace morvane::win32

#include "platform/host/win32/Win32TreeReader.h"

#include <windows.h>

#include "platform/host/Reasons.h"
#include "platform/host/win32/Attributes.h"
#include "platform/host/win32/Handle.h"
#include "platform/host/win32/LinkText.h"
#include "platform/host/win32/LongPath.h"
#include "platform/host/win32/SystemError.h"
#include "platform/host/win32/Utf16.h"

namespace morvane {
namespace {

using win32::FindHandle;
using win32::Handle;
using win32::systemPath;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool isLink(DWORD attributes, DWORD tag) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && IsReparseTagNameSurrogate(tag);
}

EntryKind kindOfOpen(HANDLE handle, bool entryItself) {
    FILE_ATTRIBUTE_TAG_INFO info;
    if (!GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &info, sizeof info))
        return EntryKind::Missing;
    if (entryItself && isLink(info.FileAttributes, info.ReparseTag))
        return EntryKind::Link;
    if ((info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return EntryKind::Folder;
    return GetFileType(handle) == FILE_TYPE_DISK ? EntryKind::File : EntryKind::Other;
}

EntryKind kindAt(const std::string& path, bool entryItself) {
    if (path.empty())
        return EntryKind::Missing;
    const DWORD flags =
        FILE_FLAG_BACKUP_SEMANTICS | (entryItself ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    const Handle entry(CreateFileW(systemPath(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll,
                                   nullptr, OPEN_EXISTING, flags, nullptr));
    return entry.valid() ? kindOfOpen(entry.get(), entryItself) : EntryKind::Missing;
}

FileRead unread(Reason why) {
    return {std::nullopt, std::move(why), {}, 1};
}

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

}  // namespace

EntryKind Win32TreeReader::kindOf(const std::string& path) {
    return kindAt(path, false);
}

EntryKind Win32TreeReader::kindOfEntry(const std::string& path) {
    return kindAt(path, true);
}

std::optional<std::string> Win32TreeReader::linkTarget(const std::string& path) {
    if (path.empty())
        return std::nullopt;
    const Handle entry(CreateFileW(
        systemPath(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    const auto text = entry.valid() ? win32::linkTextOf(entry.get()) : std::nullopt;
    return text ? std::optional(win32::narrow(*text)) : std::nullopt;
}

FileRead Win32TreeReader::readFile(const std::string& path, std::size_t limit) {
    if (kindOf(path) == EntryKind::Folder)
        return unread(because("not a regular file"));
    // Opening a pipe or a device never waits; only a file on a disk is read.
    const Handle in(CreateFileW(systemPath(path).c_str(), GENERIC_READ, kShareAll, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!in.valid())
        return unread(Reason::systemError(GetLastError()));
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileType(in.get()) != FILE_TYPE_DISK || !GetFileInformationByHandle(in.get(), &info))
        return unread(because("not a regular file"));
    if ((static_cast<std::uint64_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow) > limit)
        return unread(morvane::tooLarge(limit));
    std::string bytes;
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(in.get(), buffer, sizeof buffer, &got, nullptr))
            return unread(Reason::systemError(GetLastError()));
        if (got == 0)
            break;
        // The file may grow while it is read; the limit holds all the same.
        if (bytes.size() + got > limit)
            return unread(morvane::tooLarge(limit));
        bytes.append(buffer, got);
    }
    const bool readOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    return {std::move(bytes),
            {},
            {readOnly ? 0444U : 0644U, std::nullopt, std::nullopt,
             info.dwFileAttributes & win32::kSettableAttributes},
            info.nNumberOfLinks};
}

std::optional<std::vector<FolderEntry>> Win32TreeReader::listFolder(const std::string& path) {
    if (kindOf(path) != EntryKind::Folder)
        return std::nullopt;
    std::wstring pattern = win32::extendedPath(path);
    while (!pattern.empty() && pattern.back() == L'\\')
        pattern.pop_back();
    WIN32_FIND_DATAW entry;
    const FindHandle found(FindFirstFileExW((pattern + L"\\*").c_str(), FindExInfoBasic, &entry,
                                            FindExSearchNameMatch, nullptr, 0));
    std::vector<FolderEntry> entries;
    if (!found.valid())
        return GetLastError() == ERROR_FILE_NOT_FOUND ? std::optional(entries) : std::nullopt;
    do {
        const std::wstring_view name = entry.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const EntryKind kind = isLink(entry.dwFileAttributes, entry.dwReserved0) ? EntryKind::Link
                               : (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                                   ? EntryKind::Folder
                                   : EntryKind::File;
        entries.push_back({win32::narrow(name), kind});
    } while (FindNextFileW(found.get(), &entry));
    return entries;
}

// The final path as the system resolves it, in the ordinary form ("C:\...", "\\server\share\...").
std::optional<std::string> Win32TreeReader::canonicalPath(const std::string& path) {
    if (path.empty())
        return std::nullopt;
    const Handle entry(CreateFileW(systemPath(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    std::wstring final = entry.valid() ? win32::finalPathOf(entry.get()) : std::wstring();
    if (final.empty())
        return std::nullopt;
    if (final.starts_with(LR"(\\?\UNC\)"))
        final = LR"(\\)" + final.substr(8);
    else if (final.starts_with(LR"(\\?\)"))
        final = final.substr(4);
    return win32::narrow(final);
}

// "C:\..." and "\\server\share\..." (the extended forms too); "C:name" and "\name" depend on
// the current folder of a drive, or on the current drive.
bool Win32TreeReader::isAbsolute(const std::string& path) const {
    const bool drive = path.size() >= 3 && path[1] == ':' && isSeparator(path[2]);
    return drive || (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1]));
}

}  // namespace morvane

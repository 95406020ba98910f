#include "platform/host/win32/Win32StateStore.h"

#include <windows.h>

#include "platform/Translate.h"
#include "platform/host/win32/Handle.h"
#include "platform/host/win32/LongPath.h"
#include "platform/host/win32/TempFile.h"
#include "platform/host/win32/Utf16.h"

namespace morvane {
namespace {

// `what` (a text marked with trMark, of `path`) failed for the reason GetLastError gives.
ChangeResult failure(std::string_view what, const std::string& path) {
    const DWORD error = GetLastError();
    return ChangeResult::failure(Reason::ours(what, {Reason::text(path)}).withError(error));
}

std::wstring withoutClosingSeparator(std::wstring path) {
    while (path.size() > 1 && path.back() == L'\\')
        path.pop_back();
    return path;
}

// Removes what the folder holds and then the folder; a link in it is removed itself.
bool removeFolder(const std::wstring& folder) {
    bool ok = true;
    WIN32_FIND_DATAW entry;
    const win32::FindHandle found(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (found.valid()) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = folder + L"\\" + name;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0)
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                ok = DeleteFileW(child.c_str()) && ok;
            else if ((entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
                ok = RemoveDirectoryW(child.c_str()) && ok;
            else
                ok = removeFolder(child) && ok;
        } while (FindNextFileW(found.get(), &entry));
    }
    return RemoveDirectoryW(folder.c_str()) && ok;
}

}  // namespace

ChangeResult Win32StateStore::makeFolders(const std::string& path) {
    const std::wstring folder = withoutClosingSeparator(win32::extendedPath(path));
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                   ? ChangeResult::done()
                   : ChangeResult::failure(Reason::on(path, because("not a folder")));
    }
    const std::size_t slash = path.find_last_of("\\/");
    if (slash != std::string::npos && slash > 0 && path[slash - 1] != ':') {
        if (ChangeResult above = makeFolders(path.substr(0, slash)); !above.succeeded)
            return above;
    }
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return failure(i18n::trMark("cannot make %s"), path);
    return ChangeResult::done();
}

ChangeResult Win32StateStore::makeNewFolder(const std::string& path) {
    if (CreateDirectoryW(win32::extendedPath(path).c_str(), nullptr))
        return ChangeResult::done();
    return GetLastError() == ERROR_ALREADY_EXISTS
               ? ChangeResult::missing(because("%s exists", path))
               : failure(i18n::trMark("cannot make %s"), path);
}

ChangeResult Win32StateStore::writeFile(const std::string& path, std::string_view bytes) {
    const std::wstring file = win32::extendedPath(path);
    const std::size_t slash = file.find_last_of(L'\\');
    if (slash == std::wstring::npos)
        return ChangeResult::failure(Reason::on(path, because("no folder")));
    win32::TempFile temp(file.substr(0, slash), win32::narrow(file.substr(slash + 1)));
    if (!temp.valid() || !temp.write(bytes) || !temp.moveOver(file))
        return ChangeResult::failure(Reason::on(path, temp.error()));
    return ChangeResult::done();
}

ChangeResult Win32StateStore::removeTree(const std::string& path) {
    const std::wstring folder = withoutClosingSeparator(win32::extendedPath(path));
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return ChangeResult::done();
    const bool removed = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0
                             ? RemoveDirectoryW(folder.c_str()) != FALSE
                             : removeFolder(folder);
    return removed ? ChangeResult::done() : failure(i18n::trMark("cannot remove %s"), path);
}

ChangeResult Win32StateStore::removeEmptyFolder(const std::string& path) {
    const std::wstring folder = withoutClosingSeparator(win32::extendedPath(path));
    if (RemoveDirectoryW(folder.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND ||
        GetLastError() == ERROR_PATH_NOT_FOUND) {
        return ChangeResult::done();
    }
    return failure(i18n::trMark("cannot remove %s"), path);
}

}  // namespace morvane

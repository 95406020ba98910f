#include "platform/host/win32/Win32FileHost.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/host/RunPaths.h"
#include "platform/host/TempNames.h"
#include "platform/host/win32/Attributes.h"
#include "platform/host/win32/EntryPlace.h"
#include "platform/host/win32/FolderWalk.h"
#include "platform/host/win32/LinkText.h"
#include "platform/host/win32/LongPath.h"
#include "platform/host/win32/SystemError.h"
#include "platform/host/win32/TempFile.h"
#include "platform/host/win32/Utf16.h"

namespace morvane {
namespace {

using win32::FindHandle;
using win32::Handle;
using win32::narrow;
using win32::systemPath;
using win32::wide;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// A folder held open so: read and written in by anyone, renamed or removed by no one.
constexpr DWORD kShareAllButDelete = FILE_SHARE_READ | FILE_SHARE_WRITE;
// The entry at the path itself, a folder as well as a file, never what a reparse point names.
constexpr DWORD kEntryFlags = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;
using win32::kSettableAttributes;

bool isMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The system's `error`, after `what` when given.
Reason why(Reason what, DWORD error) {
    return std::move(what).withError(error);
}

// A failed call, on the entry `name` when given: absent when what it looked for does not exist.
ChangeResult failed(DWORD error, const std::string& name = {}) {
    Reason reason = Reason::text(name).withError(error);
    return isMissing(error) ? ChangeResult::missing(std::move(reason))
                            : ChangeResult::failure(std::move(reason));
}

Handle openEntry(const std::wstring& path, DWORD access, DWORD share) {
    return Handle(
        CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, kEntryFlags, nullptr));
}

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

std::wstring withoutClosingSeparator(std::wstring path) {
    while (!path.empty() && path.back() == L'\\')
        path.pop_back();
    return path;
}

// Why a change fails when the entry open as `entry` is not the one named `name` in the open
// folder `folder` (see placeOf); nothing when it is.
std::optional<ChangeResult> misplaced(HANDLE entry, HANDLE folder, const std::wstring& folderFinal,
                                      const std::string& name) {
    DWORD error = 0;
    switch (win32::placeOf(entry, folder, folderFinal, wide(name), error)) {
        case win32::Placed::There:
            return std::nullopt;
        case win32::Placed::Elsewhere:
            return ChangeResult::failure(because("%s is not where its path leads", name));
        case win32::Placed::Unknown:
            break;
    }
    return ChangeResult::failure(why(because("cannot tell where %s is", name), error));
}

// Opens the file at `path` for reading, if it is a file on a disk: a pipe, a device or a folder
// is not one, and opening one never waits. On failure `reason` says why.
Handle openReadable(const std::string& path, Reason& reason) {
    if (path.empty()) {
        reason = because("no path");
        return Handle();
    }
    Handle in(CreateFileW(systemPath(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!in.valid()) {
        reason = Reason::systemError(GetLastError());
        return Handle();
    }
    if (GetFileType(in.get()) != FILE_TYPE_DISK) {
        reason = because("not a regular file");
        return Handle();
    }
    return in;
}

// Reads exactly `size` bytes of `file` into `buffer`: false on an error or an early end.
bool readExactly(HANDLE file, char* buffer, DWORD size) {
    DWORD done = 0;
    while (done < size) {
        DWORD got = 0;
        if (!ReadFile(file, buffer + done, size - done, &got, nullptr) || got == 0)
            return false;
        done += got;
    }
    return true;
}

}  // namespace

RunStart Win32FileHost::beginChanges(const std::string& gameFolder,
                                     std::optional<std::chrono::milliseconds> wait) {
    endChanges();
    begun_ = true;
    gameFolder_ = gameFolder;
    // Opened once, following a link in its own path: that is the folder the user chose.
    game_.reset(gameFolder.empty()
                    ? INVALID_HANDLE_VALUE
                    : CreateFileW(systemPath(gameFolder).c_str(), FILE_READ_ATTRIBUTES,
                                  kShareAllButDelete, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!game_.valid() || !GetFileInformationByHandle(game_.get(), &info)) {
        const DWORD error = GetLastError();
        gameError_ = gameFolder.empty() ? because("no game folder")
                                        : why(because("cannot open the game folder"), error);
        game_.reset();
        return RunStart::Begun;
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        gameError_ = because("cannot open the game folder: not a folder");
        game_.reset();
        return RunStart::Begun;
    }
    // A drive root's final path ends with its separator; names are joined to it with one. Where
    // the final path cannot be had, names are joined to the path as given, and what is reached
    // through it is confined by identity instead (see placeOf).
    gameFinal_ = withoutClosingSeparator(win32::finalPathOf(game_.get()));
    gamePath_ =
        gameFinal_.empty() ? withoutClosingSeparator(win32::extendedPath(gameFolder)) : gameFinal_;
    if (gameFinal_.empty() && win32::pathOnVolume(game_.get()).empty()) {
        const DWORD error = GetLastError();
        gameError_ = why(because("cannot tell where the game folder is"), error);
        game_.reset();
        return RunStart::Begun;
    }
    switch (lock_.take(win32::folderIdentity(game_.get()), wait)) {
        case win32::LockState::Held:
            locked_ = true;
            break;
        case win32::LockState::Busy:
            endChanges();
            return RunStart::Busy;
        case win32::LockState::Unavailable:
            break;  // runs are not kept apart then, but their temporary files still are
    }
    return RunStart::Begun;
}

void Win32FileHost::endChanges() {
    lock_.release();
    locked_ = false;
    game_.reset();
    gameFinal_.clear();
    gamePath_.clear();
    gameError_ = {};
    begun_ = false;
}

Win32FileHost::Target Win32FileHost::reach(const std::string& path) {
    Target target;
    if (auto refused = refusal(path, begun_, game_.valid(), gameError_, gameFolder_, isSeparator)) {
        target.failure = std::move(*refused);
        return target;
    }
    std::vector<std::string> names;
    if (!namesBelow(path, gameFolder_.size(), isSeparator, names, target.failure))
        return target;
    // Final paths are compared only when the path is built from one.
    const bool byFinalPath = !gameFinal_.empty();
    std::wstring folder = gamePath_;
    HANDLE holder = game_.get();
    for (std::size_t i = 0; i + 1 < names.size(); ++i) {
        const std::wstring expected = folder + L"\\" + wide(names[i]);
        Handle next = openEntry(expected, FILE_READ_ATTRIBUTES, kShareAllButDelete);
        BY_HANDLE_FILE_INFORMATION info;
        if (!next.valid() || !GetFileInformationByHandle(next.get(), &info)) {
            target.failure = failed(GetLastError(), names[i]);
            return target;
        }
        if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            target.failure = ChangeResult::failure(because("%s is a link, not followed", names[i]));
            return target;
        }
        if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            target.failure = ChangeResult::missing(because("%s is not a folder", names[i]));
            return target;
        }
        // Held open, the folder stays where it is; it must be where the path says.
        if (auto elsewhere = misplaced(next.get(), holder, byFinalPath ? folder : L"", names[i])) {
            target.failure = std::move(*elsewhere);
            return target;
        }
        folder = expected;
        holder = next.get();
        target.folders.push_back(std::move(next));
    }
    target.holder = holder;
    target.folderFinal = byFinalPath ? folder : L"";
    target.name = wide(names.back());
    // As the folder spells it: a file moved in under the name as written would take that spelling.
    WIN32_FIND_DATAW spelled;
    if (target.name.find_first_of(L"*?") == std::wstring::npos) {
        const FindHandle found(FindFirstFileW((folder + L"\\" + target.name).c_str(), &spelled));
        if (found.valid())
            target.name = spelled.cFileName;
    }
    target.folder = std::move(folder);
    target.entryName = narrow(target.name);
    return target;
}

// The entry at the target, open as `entry`, must be the one of that name in its folder: a link
// that the system does not show as one (a Unix link under Wine) leads elsewhere.
std::optional<ChangeResult> Win32FileHost::misplacedTarget(const Target& target,
                                                           HANDLE entry) const {
    return misplaced(entry, target.holder, target.folderFinal, target.entryName);
}

Lookup Win32FileHost::lookupFile(const std::string& path) {
    if (path.empty())
        return Lookup::Absent;
    WIN32_FIND_DATAW entry;
    const FindHandle found(FindFirstFileW(systemPath(path).c_str(), &entry));
    if (!found.valid())
        return isMissing(GetLastError()) ? Lookup::Absent : Lookup::Failed;
    // The ordinary-file filter: folders and hidden or system entries do not match.
    constexpr DWORD kFiltered =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return (entry.dwFileAttributes & kFiltered) != 0 ? Lookup::Absent : Lookup::Present;
}

bool Win32FileHost::isReadableFile(const std::string& path) {
    Reason reason;
    return openReadable(path, reason).valid();
}

bool Win32FileHost::sameContent(const std::string& path, const std::string& reference,
                                std::uint64_t limit) {
    constexpr DWORD kCompareStretch = 1 << 14;
    Reason unreadable;
    const Handle file = openReadable(path, unreadable);
    const Handle other = openReadable(reference, unreadable);
    LARGE_INTEGER size, otherSize;
    if (!file.valid() || !other.valid() || !GetFileSizeEx(file.get(), &size) ||
        !GetFileSizeEx(other.get(), &otherSize) || size.QuadPart != otherSize.QuadPart ||
        static_cast<std::uint64_t>(otherSize.QuadPart) > limit) {
        return false;
    }
    char left[kCompareStretch];
    char right[kCompareStretch];
    for (LONGLONG done = 0; done < size.QuadPart;) {
        const auto stretch = static_cast<DWORD>(
            std::min<LONGLONG>(size.QuadPart - done, static_cast<LONGLONG>(kCompareStretch)));
        if (!readExactly(file.get(), left, stretch) || !readExactly(other.get(), right, stretch) ||
            std::memcmp(left, right, stretch) != 0) {
            return false;
        }
        done += stretch;
    }
    return true;
}

ChangeResult Win32FileHost::setAttributes(const std::string& path, Attributes value) {
    return changeAttributes(path, value == Attributes::ReadOnly ? FILE_ATTRIBUTE_READONLY : 0,
                            FILE_ATTRIBUTE_READONLY);
}

ChangeResult Win32FileHost::setPermissions(const std::string& path, const Permissions& value) {
    if (!value.attributes)
        return FileHost::setPermissions(path, value);
    return changeAttributes(path, *value.attributes & kSettableAttributes, kSettableAttributes);
}

ChangeResult Win32FileHost::changeAttributes(const std::string& path, DWORD wanted, DWORD shared) {
    const Target target = reach(path);
    if (!target.reached())
        return target.failure;
    const Handle file =
        openEntry(target.path(), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, kShareAll);
    BY_HANDLE_FILE_INFORMATION info;
    if (!file.valid() || !GetFileInformationByHandle(file.get(), &info))
        return failed(GetLastError());
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return ChangeResult::failure(because("a link, not followed"));
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return ChangeResult::failure(because("a folder"));
    if (auto elsewhere = misplacedTarget(target, file.get()))
        return *elsewhere;
    const DWORD now = info.dwFileAttributes & kSettableAttributes;
    if (now == wanted)
        return ChangeResult::done();
    if (info.nNumberOfLinks > 1) {
        // The attributes are the other names' too: only a file that has those that matter as
        // wanted already is let be.
        if ((now & shared) == (wanted & shared))
            return ChangeResult::done();
        return ChangeResult::failure(because("has other hard links, whose attributes it shares"));
    }
    // As SetFileAttributesW would set them, through the handle of the entry checked above.
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = wanted != 0 ? wanted : FILE_ATTRIBUTE_NORMAL;
    if (!SetFileInformationByHandle(file.get(), FileBasicInfo, &basic, sizeof basic))
        return ChangeResult::failure(Reason::systemError(GetLastError()));
    // As the tree reader shows a file: its read-only attribute as a mode, and its whole set.
    const std::uint32_t mode = (now & FILE_ATTRIBUTE_READONLY) != 0 ? 0444 : 0644;
    return ChangeResult::changed(Permissions{mode, std::nullopt, std::nullopt, now});
}

ChangeResult Win32FileHost::deleteFile(const std::string& path) {
    const Target target = reach(path);
    if (!target.reached())
        return target.failure;
    const Handle file = openEntry(target.path(), FILE_READ_ATTRIBUTES | DELETE, kShareAll);
    BY_HANDLE_FILE_INFORMATION info;
    if (!file.valid() || !GetFileInformationByHandle(file.get(), &info))
        return failed(GetLastError());
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return ChangeResult::failure(because("a folder"));
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0)
        return ChangeResult::failure(because("read-only"));
    if (auto elsewhere = misplacedTarget(target, file.get()))
        return *elsewhere;
    // Through the handle of the entry checked above, so that no other one is deleted: a link goes
    // itself; the name goes when the handle is closed.
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (!SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition,
                                    sizeof disposition)) {
        return failed(GetLastError());
    }
    return ChangeResult::done();
}

ChangeResult Win32FileHost::copyFile(const std::string& source, const std::string& destination) {
    Reason unreadable;
    const Handle in = openReadable(source, unreadable);
    if (!in.valid())
        return ChangeResult::failure(because("the replacement cannot be read: %s", unreadable));

    const Target target = reachToReplace(destination);
    if (!target.reached())
        return target.failure;
    win32::TempFile temp(target.folder, narrow(target.name));
    if (!temp.valid() || !temp.copyFrom(in.get()) || !temp.moveOver(target.path()))
        return ChangeResult::failure(temp.error());
    return ChangeResult::done();
}

Win32FileHost::Target Win32FileHost::reachToReplace(const std::string& path) {
    Target target = reach(path);
    if (!target.reached())
        return target;
    const Handle existing = openEntry(target.path(), FILE_READ_ATTRIBUTES, kShareAll);
    BY_HANDLE_FILE_INFORMATION info;
    std::optional<ChangeResult> refused;
    if (!existing.valid()) {
        refused = isMissing(GetLastError()) ? std::nullopt : std::optional(failed(GetLastError()));
    } else if (!GetFileInformationByHandle(existing.get(), &info)) {
        refused = failed(GetLastError());
    } else if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        // A folder, or a link to one, cannot have a file moved over it; it stays as it is.
        refused = ChangeResult::failure(because("a folder"));
    } else if ((info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
        refused = ChangeResult::failure(because("read-only"));
    } else {
        refused = misplacedTarget(target, existing.get());
    }
    if (refused) {
        Target none;
        none.failure = std::move(*refused);
        return none;
    }
    if (locked_)
        removeLeftoversOf(target);
    return target;
}

ChangeResult Win32FileHost::createLink(const std::string& path, const std::string& text) {
    const Target target = reachToReplace(path);
    if (!target.reached())
        return target.failure;
    const std::wstring wanted = wide(text);
    std::wstring temp;
    for (int i = 0; i < kNameTries && temp.empty(); ++i) {
        const std::wstring candidate = win32::randomPath(target.folder, narrow(target.name));
        if (win32::makeFileLink(candidate, wanted))
            temp = candidate;
        else if (const DWORD error = GetLastError(); error != ERROR_ALREADY_EXISTS)
            return ChangeResult::failure(why(because("cannot make the link"), error));
    }
    if (temp.empty())
        return ChangeResult::failure(because("cannot make the link: every name tried is taken"));
    // Wine says it made a link where it made nothing: what was made must read back as this link.
    Handle made = openEntry(temp, FILE_READ_ATTRIBUTES, kShareAll);
    const auto madeText = made.valid() ? win32::linkTextOf(made.get()) : std::nullopt;
    made.reset();
    if (madeText != wanted) {
        DeleteFileW(temp.c_str());
        return ChangeResult::failure(because("this system made no link"));
    }
    if (!MoveFileExW(temp.c_str(), target.path().c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        DeleteFileW(temp.c_str());
        return ChangeResult::failure(why(because("cannot put the link in place"), error));
    }
    return ChangeResult::done();
}

std::vector<Leftover> Win32FileHost::removeLeftovers(const std::string& folder) {
    std::vector<Leftover> found;
    if (!locked_)
        return found;
    const Target target = reach(folder);
    if (!target.reached())
        return found;
    std::vector<std::string> names;
    {
        WIN32_FIND_DATAW entry;
        const FindHandle search(
            FindFirstFileW((target.path() + L"\\.*" + wide(kPartialSuffix)).c_str(), &entry));
        for (bool more = search.valid(); more; more = FindNextFileW(search.get(), &entry)) {
            const std::string name = narrow(entry.cFileName);
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && isLeftover(name))
                names.push_back(name);
        }
    }
    for (const std::string& name : names) {
        const std::string path = folder + "\\" + name;
        found.push_back({path, deleteFile(path)});
    }
    return found;
}

// The temporary files of copies to this target that a killed run left behind. Only while the run
// lock is held: a live run's files are its own.
void Win32FileHost::removeLeftoversOf(const Target& target) const {
    WIN32_FIND_DATAW entry;
    const std::wstring pattern = target.folder + L"\\." + target.name + L"*" + wide(kPartialSuffix);
    const FindHandle found(FindFirstFileW(pattern.c_str(), &entry));
    if (!found.valid())
        return;
    const std::string name = narrow(target.name);
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            isLeftoverOf(narrow(entry.cFileName), name)) {
            DeleteFileW((target.folder + L"\\" + entry.cFileName).c_str());
        }
    } while (FindNextFileW(found.get(), &entry));
}

std::optional<std::uint64_t> Win32FileHost::folderSize(const std::string& folder) {
    return win32::folderSize(folder);
}

// No MAX_PATH limit: the buffer grows until the whole path fits.
std::optional<std::string> Win32FileHost::programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::nullopt;
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return std::nullopt;
    path.resize(slash);
    if (path.ends_with(L':'))
        path += L'\\';  // a drive root keeps its separator
    return narrow(path);
}

}  // namespace morvane

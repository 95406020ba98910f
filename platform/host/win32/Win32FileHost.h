#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/FileHost.h"
#include "platform/host/win32/Handle.h"
#include "platform/host/win32/RunLock.h"

namespace morvane {

// The file operations on Windows, through the wide (UTF-16) calls only; paths in and out are UTF-8.
//  - The fixed relative paths use '\'; the game folder is used as given. Names are matched as the
//    file system matches them (without regard to case on NTFS).
//  - Present means FindFirstFileW finds an entry of that name that is not a folder and not marked
//    hidden or system. Read-only means the read-only attribute alone; writable again means no
//    attribute at all (FILE_ATTRIBUTE_NORMAL), so hidden and system go too; a backup's whole
//    attribute set is given back through setPermissions.
//  - A run opens the game folder once and keeps it, and every folder on the way to a target, open
//    without sharing deletion, so none of them can be renamed or replaced while it goes on; each is
//    opened without following a reparse point and checked to be where it should be (placeOf): its
//    final path against the path, or, where that cannot be had, by identity. Changes then act on
//    the target's name in that folder: a link or junction met on the way is never followed, and
//    one at the target itself is changed as the entry it is. The entry at the target is checked
//    as the folders are before it is changed, so that a link the system does not show as one (a
//    Unix link under Wine) is refused; it is deleted through its own handle.
//  - A game folder at a drive root ("D:\") takes the paths the engine joins to it ("D:\\cstrike"):
//    a run of separators there names one entry.
//  - The run lock is a named mutex of the game folder's identity (RunLock).
//  - A target is named as the folder spells it where an entry answers to its name, so that what
//    is put in its place keeps that spelling ("Config.CFG" stays so when "config.cfg" is asked).
//  - Copies are written to a temporary file in the target's folder, flushed, and moved over the
//    target with MoveFileExW; links are made under a temporary name, read back, and moved so too.
//    Paths too long for MAX_PATH go in the "\\?\" form.
class Win32FileHost : public FileHost {
  public:
    ~Win32FileHost() override { endChanges(); }

    RunStart beginChanges(const std::string& gameFolder,
                          std::optional<std::chrono::milliseconds> wait) override;
    void endChanges() override;
    char separator() const override { return '\\'; }
    Lookup lookupFile(const std::string& path) override;
    bool isReadableFile(const std::string& path) override;
    bool sameContent(const std::string& path, const std::string& reference,
                     std::uint64_t limit) override;
    ChangeResult setAttributes(const std::string& path, Attributes value) override;
    // The whole attribute set when one is given; else the read-only attribute, from the mode.
    ChangeResult setPermissions(const std::string& path, const Permissions& value) override;
    ChangeResult deleteFile(const std::string& path) override;
    ChangeResult copyFile(const std::string& source, const std::string& destination) override;
    // A symbolic link to a file, made where the user may make one (developer mode, or the right
    // to make links); Wine 8 makes none.
    ChangeResult createLink(const std::string& path, const std::string& target) override;
    std::vector<Leftover> removeLeftovers(const std::string& folder) override;
    std::optional<std::uint64_t> folderSize(const std::string& folder) override;
    std::optional<std::string> programFolder() override;

  private:
    // The target of a change: the folders that lead to it, held open, the path of the one that
    // holds it (and that folder's final path, when the path is one) and its name there; or why it
    // cannot be reached.
    struct Target {
        std::vector<win32::Handle> folders;
        HANDLE holder = nullptr;  // the folder that holds it: the game folder or the last one
        std::wstring folder;
        std::wstring folderFinal;  // empty when confined by identity
        std::wstring name;
        std::string entryName;
        ChangeResult failure;
        bool reached() const { return !folder.empty(); }
        std::wstring path() const { return folder + L"\\" + name; }
    };
    Target reach(const std::string& path);
    std::optional<ChangeResult> misplacedTarget(const Target& target, HANDLE entry) const;
    // Gives the file at `path` the attribute set `wanted`. A file with other hard links, whose
    // attributes they share, is let be when those of `shared` are as wanted already.
    ChangeResult changeAttributes(const std::string& path, DWORD wanted, DWORD shared);
    // The target of a copy or a link to be put in place of its entry, the leftovers of copies to
    // it that a killed run left removed; not reached, saying why, when that entry may not be
    // replaced (a folder, read-only, or not where its path leads).
    Target reachToReplace(const std::string& path);
    void removeLeftoversOf(const Target& target) const;

    bool begun_ = false;
    std::string gameFolder_;
    win32::Handle game_;
    std::wstring gameFinal_;  // the game folder's final path; empty when it cannot be had
    std::wstring gamePath_;   // what names are joined to: the final path, or the path as given
    Reason gameError_;        // why the game folder could not be opened
    win32::RunLock lock_;
    bool locked_ = false;
};

}  // namespace morvane

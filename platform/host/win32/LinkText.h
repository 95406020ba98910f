#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace morvane::win32 {

// The target of the symbolic link open as `entry` (opened as itself, FILE_FLAG_OPEN_REPARSE_POINT),
// as its maker gave it: the name the link prints, else the name it substitutes without its "\??\".
// No value for anything but a symbolic link (a junction included), or when it cannot be read.
std::optional<std::wstring> linkTextOf(HANDLE entry);

// Makes a symbolic link to a file at `at` (a path in the system's form) with the target `text`,
// where the system lets this user make one: as an unprivileged user in developer mode, else with
// the right to make links. Fails, with GetLastError saying why, when it cannot.
bool makeFileLink(const std::wstring& at, const std::wstring& text);

}  // namespace morvane::win32

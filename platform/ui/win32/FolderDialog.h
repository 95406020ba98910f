#pragma once

#include <windows.h>

#include <string>

namespace morvane::ui::win32 {

// The system's folder dialog (SHBrowseForFolderW), modal to `owner`, offering file-system folders
// only, titled `title`, with `startFolder` selected when it opens unless it is empty. Returns the
// chosen folder as the system writes it (a drive root with its backslash, "C:\"), of any length,
// or "" on cancel.
std::string browseForFolder(HWND owner, const std::string& title, const std::string& startFolder);

}  // namespace morvane::ui::win32

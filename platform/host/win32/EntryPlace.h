#pragma once

#include <windows.h>

#include <string>

namespace morvane::win32 {

// Whether an open file or folder is the entry its path names, for a run that may change only
// what lies below its game folder.
enum class Placed {
    There,      // the entry of that name in the folder
    Elsewhere,  // reached through a link, or a folder moved or swapped in on the way
    Unknown,    // the system could not tell: see the error
};

// Whether `entry` is the entry named `name` in the open folder `folder`. By final paths when the
// folder's is known (`folderFinal`, without a closing separator) and the entry's can be had. Else
// by identity: the entry is on the folder's volume (its serial number) and its path there is the
// folder's followed by the name. The final path cannot be had for a path longer than MAX_PATH
// under Wine, nor on a volume without a drive letter. On Unknown, `error` says why.
Placed placeOf(HANDLE entry, HANDLE folder, const std::wstring& folderFinal,
               const std::wstring& name, DWORD& error);

// The path of an open file or folder on its volume ("\Games\cs"), or "" when the system cannot
// tell (GetLastError says why).
std::wstring pathOnVolume(HANDLE entry);

}  // namespace morvane::win32

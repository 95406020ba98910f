#pragma once

#include <windows.h>

#include <string>

namespace morvane::win32 {

// The text for an error code (GetLastError) in the program's language (platform/Translate.h), or
// in English, in UTF-8, without its closing full stop.
std::string systemMessage(DWORD error, bool english = false);

// The final path of an open file or folder, as the system resolved it ("\\?\C:\..."), or "" when
// it cannot tell.
std::wstring finalPathOf(HANDLE handle);

}  // namespace morvane::win32

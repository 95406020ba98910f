#pragma once

#include <windows.h>

#include <string_view>

namespace morvane::win32 {

// Writes the UTF-8 `text` whole to `stream`: to a console in UTF-16, which it shows whatever its
// code page (Russian, or a Cyrillic folder name, reads right in cmd.exe and PowerShell); to a file
// or a pipe as the UTF-8 it is. False when any of it could not be written.
bool writeText(HANDLE stream, std::string_view text);

}  // namespace morvane::win32

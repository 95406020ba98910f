#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morvane::win32 {

// The program keeps text in UTF-8; every Windows call takes and gives UTF-16.
std::wstring wide(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// The program's arguments after its name, in UTF-8, as the system holds them in UTF-16: the C
// runtime's argv is in the ANSI code page, which cannot carry every folder name (a Cyrillic one
// on a Western system).
std::vector<std::string> programArguments();

}  // namespace morvane::win32

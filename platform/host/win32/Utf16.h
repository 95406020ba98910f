#pragma once

#include <string>
#include <string_view>

namespace morvane::win32 {

// The program keeps text in UTF-8; every Windows call takes and gives UTF-16.
std::wstring wide(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace morvane::win32

#pragma once

#include <string>

namespace morvane::win32 {

// The path as a wide Windows call takes it. A path too long for MAX_PATH, or given in the
// extended form, goes in the extended form (see extendedPath); any other path is passed as it
// stands. A drive alone ("D:") is its root (D:\), as the paths joined to it mean.
std::wstring systemPath(const std::string& path);

// The path in the extended form, which no length limit applies to: "\\?\C:\..." or
// "\\?\UNC\server\share\...", made absolute and with doubled separators folded first, since that
// form is taken literally (a path given in that form has them folded too). A drive alone is its
// root. "" for an empty path.
std::wstring extendedPath(const std::string& path);

}  // namespace morvane::win32

#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/Reason.h"

namespace morvane::find {

// The library folders that the text of a Steam libraryfolders.vdf names, in its order. Both forms
// are read: the old one, "LibraryFolders" { "1" "D:\\Steam" }, and the current one,
// "libraryfolders" { "0" { "path" "..." ... } }. Keys are matched ignoring case. Text that does
// not fit gives a message naming the line.
std::variant<std::vector<std::string>, Reason> libraryFolders(std::string_view vdf);

}  // namespace morvane::find

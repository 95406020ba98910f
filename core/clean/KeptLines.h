#pragma once

#include <set>
#include <string>
#include <string_view>

namespace morvane::clean {

// `content` without the lines numbered `lines` (from 1), each with its line end; every other byte
// is kept as it was, line ends and a last line without one included.
std::string withoutLines(std::string_view content, const std::set<int>& lines);

}  // namespace morvane::clean

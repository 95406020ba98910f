#pragma once

#include <set>
#include <string>
#include <string_view>

namespace morvane::clean {

// `content` without the lines numbered `lines` (from 1, as the scan numbers them: a file whose
// lines end with a lone "\r" is split there), each with its line end; every other byte is kept as
// it was: line ends of every kind, any encoding, and a last line without an end.
std::string withoutLines(std::string_view content, const std::set<int>& lines);

}  // namespace morvane::clean

#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/scan/Finding.h"

namespace morvane::clean {

// `content`, KeyValues (favourites, master lists), without the entries at `entries` (a block, or
// a key and its value); every other byte is kept. An entry alone on its lines goes with those
// lines and their ends; one that shares a line goes with the blanks after it. With
// `stockWhenEmpty` (master lists, whose entries are their "addr" keys), a list block ("hl1") left
// without a master gets Valve's stock one instead of its first: that key and value with the value
// replaced, so the file keeps its layout and line ends.
std::string withoutEntries(std::string_view content, const std::vector<scan::Span>& entries,
                           bool stockWhenEmpty);

// `content`, an emulator's settings, with each setting line at `settings` given the emulator's
// default value (keeping its key, its blanks and its line end), or taken out, line end and all,
// where the emulator has none.
std::string withDefaults(std::string_view content, const std::vector<scan::Span>& settings);

}  // namespace morvane::clean

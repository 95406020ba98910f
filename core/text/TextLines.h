#pragma once

#include <string_view>

namespace morvane::scan {

// Calls `visit(line, number)` for every line of `content`, numbered from 1, without its "\n" or
// "\r\n". A last line without an end is a line; an empty content has none.
template <typename Visit>
void forEachLine(std::string_view content, Visit visit) {
    int number = 0;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? content.size() : end + 1;
        if (end == std::string_view::npos)
            end = content.size();
        std::string_view line = content.substr(start, end - start);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        visit(line, ++number);
        start = next;
    }
}

}  // namespace morvane::scan

#pragma once

#include <algorithm>
#include <string_view>

namespace morvane::scan {

// One line of a text: its bytes without the line end, and the line end ("\n", "\r\n", "\r" or
// nothing for a last line without one).
struct TextLine {
    std::string_view text;
    std::string_view end;
    int number = 0;  // from 1
};

// Calls `visit(line)` for every TextLine of `content`, in order. A line ends at "\r\n", at "\n"
// or at a lone "\r" (old Mac editors), whichever comes first, so that lines of a file whose ends
// were mixed (a line added with another end) never run together; a last line without an end is a
// line; an empty content has none. The lines and their ends put together are `content`.
template <typename Visit>
void forEachTextLine(std::string_view content, Visit visit) {
    int number = 0;
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t end = std::min(content.find_first_of("\r\n", start), content.size());
        std::size_t next = std::min(end + 1, content.size());
        if (end + 1 < content.size() && content[end] == '\r' && content[end + 1] == '\n')
            ++next;
        visit(TextLine{content.substr(start, end - start), content.substr(end, next - end),
                       ++number});
        start = next;
    }
}

// The line end `content` uses: that of its last line that has one; "\n" when none has.
inline std::string_view lineEndOf(std::string_view content) {
    std::string_view found = "\n";
    forEachTextLine(content, [&](const TextLine& line) {
        if (!line.end.empty())
            found = line.end;
    });
    return found;
}

// Calls `visit(line, number)` for every line of `content` as forEachTextLine splits it, without
// its end.
template <typename Visit>
void forEachLine(std::string_view content, Visit visit) {
    forEachTextLine(content, [&](const TextLine& line) { visit(line.text, line.number); });
}

}  // namespace morvane::scan

#pragma once

#include <string_view>

namespace morvane::scan {

// One line of a text: its bytes without the line end, and the line end ("\n", "\r\n", "\r" or
// nothing for a last line without one).
struct TextLine {
    std::string_view text;
    std::string_view end;
    int number = 0;  // from 1
};

// Whether `content` ends its lines with a lone "\r" (old Mac editors): it holds "\r" and no "\n".
inline bool endsLinesWithCr(std::string_view content) {
    return content.find('\n') == std::string_view::npos &&
           content.find('\r') != std::string_view::npos;
}

// Calls `visit(line)` for every TextLine of `content`, in order. Lines end at "\n" (a "\r" before
// it belongs to the end), or at "\r" in a file that ends its lines so; a last line without an end
// is a line; an empty content has none. The lines and their ends put together are `content`.
template <typename Visit>
void forEachTextLine(std::string_view content, Visit visit) {
    const char separator = endsLinesWithCr(content) ? '\r' : '\n';
    int number = 0;
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t found = content.find(separator, start);
        const std::size_t next = found == std::string_view::npos ? content.size() : found + 1;
        std::size_t end = found == std::string_view::npos ? content.size() : found;
        if (separator == '\n' && end > start && content[end - 1] == '\r')
            --end;
        visit(TextLine{content.substr(start, end - start), content.substr(end, next - end),
                       ++number});
        start = next;
    }
}

// Calls `visit(line, number)` for every line of `content` as forEachTextLine splits it, without
// its end.
template <typename Visit>
void forEachLine(std::string_view content, Visit visit) {
    forEachTextLine(content, [&](const TextLine& line) { visit(line.text, line.number); });
}

}  // namespace morvane::scan

#include "core/clean/KeptLines.h"

namespace morvane::clean {

std::string withoutLines(std::string_view content, const std::set<int>& lines) {
    std::string kept;
    int number = 0;
    for (std::size_t start = 0; start < content.size();) {
        const std::size_t end = content.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? content.size() : end + 1;
        if (!lines.contains(++number))
            kept.append(content.substr(start, next - start));
        start = next;
    }
    return kept;
}

}  // namespace morvane::clean

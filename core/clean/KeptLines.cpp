#include "core/clean/KeptLines.h"

#include "core/text/TextLines.h"

namespace morvane::clean {

std::string withoutLines(std::string_view content, const std::set<int>& lines) {
    std::string kept;
    kept.reserve(content.size());
    scan::forEachTextLine(content, [&](const scan::TextLine& line) {
        if (!lines.contains(line.number))
            kept.append(line.text).append(line.end);
    });
    return kept;
}

}  // namespace morvane::clean

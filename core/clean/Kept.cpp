#include "core/clean/Kept.h"

#include <set>

#include "core/clean/KeptLines.h"

namespace morvane::clean {

std::string keptContent(scan::Keep keep, std::string_view content,
                        const std::vector<scan::Finding>& planted) {
    switch (keep) {
        case scan::Keep::Lines: {
            std::set<int> lines;
            for (const scan::Finding& finding : planted)
                lines.insert(finding.line);
            return withoutLines(content, lines);
        }
        case scan::Keep::Leave:
        case scan::Keep::Delete:
            break;
    }
    return std::string(content);
}

}  // namespace morvane::clean

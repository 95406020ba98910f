#include "core/clean/Kept.h"

#include <set>

#include "core/clean/KeptEntries.h"
#include "core/clean/KeptLines.h"

namespace morvane::clean {
namespace {

std::vector<scan::Span> spansOf(const std::vector<scan::Finding>& planted) {
    std::vector<scan::Span> spans;
    for (const scan::Finding& finding : planted)
        spans.push_back(finding.span);
    return spans;
}

}  // namespace

std::string keptContent(scan::Keep keep, std::string_view content,
                        const std::vector<scan::Finding>& planted) {
    switch (keep) {
        case scan::Keep::Lines: {
            std::set<int> lines;
            for (const scan::Finding& finding : planted)
                lines.insert(finding.line);
            return withoutLines(content, lines);
        }
        case scan::Keep::Entries:
        case scan::Keep::Masters:
            return withoutEntries(content, spansOf(planted), keep == scan::Keep::Masters);
        case scan::Keep::Settings:
            return withDefaults(content, spansOf(planted));
        case scan::Keep::Leave:
        case scan::Keep::Delete:
            break;
    }
    return std::string(content);
}

}  // namespace morvane::clean

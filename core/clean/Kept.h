#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/scan/Family.h"

namespace morvane::clean {

// `content` with the planted things `planted` (the scan's findings in it) taken out as `keep`
// says, every other byte kept as it was.
std::string keptContent(scan::Keep keep, std::string_view content,
                        const std::vector<scan::Finding>& planted);

}  // namespace morvane::clean

#pragma once

#include <string>
#include <vector>

#include "core/clean/FileOutcomes.h"

namespace morvane::ui {

// The texts of the options window's warnings that name files.

// The replacement files a run needs that cannot be read: the first named, then how many more.
std::string missingReplacementsNotice(const std::vector<std::string>& paths);

// The files a removal run could not treat, each with the system's reason: at most ten named,
// then how many more. Empty when there are none.
std::string notTreatedNotice(const std::vector<FileOutcome>& outcomes);

}  // namespace morvane::ui

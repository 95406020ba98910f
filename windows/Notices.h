#pragma once

#include <string>
#include <vector>

#include "core/clean/Clean.h"
#include "core/clean/FileOutcomes.h"

namespace morvane::ui {

// The texts of the options window's warnings that name files.

// The replacement files a run needs that cannot be read: the first named, then how many more.
std::string missingReplacementsNotice(const std::vector<std::string>& paths);

// The files a removal run could not treat, each named below `gameFolder` with the system's reason:
// at most ten named, then how many more. Empty when there are none.
std::string notTreatedNotice(const std::vector<FileOutcome>& outcomes,
                             const std::string& gameFolder);

// Why a removal run stopped before any change because its backup could not be made, with the
// system's reason.
std::string backupNotMadeNotice(clean::Stop stop, const std::string& reason);

}  // namespace morvane::ui

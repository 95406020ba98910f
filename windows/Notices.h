#pragma once

#include <string>
#include <vector>

#include "core/Outcome.h"

namespace morvane::ui {

// The texts of the options window's warnings that name files, or say why a run stopped, in the
// windows' language (Russian): core's causes and the system's reasons worded here.

// The replacement files a run needs that cannot be read: the first named, then how many more.
std::string missingReplacementsNotice(const std::vector<std::string>& paths);

// The files a removal run could not treat, each named below `gameFolder` with its reason: at most
// ten named, then how many more. Empty when there are none.
std::string notTreatedNotice(const std::vector<Outcome>& outcomes, const std::string& gameFolder);

// Why a removal run stopped before any change because its backup could not be made, with the
// system's reason.
std::string backupNotMadeNotice(const Stopped& stop);

}  // namespace morvane::ui

#pragma once

#include <vector>

#include "core/Outcome.h"
#include "engine/Steps.h"

namespace morvane {

// One outcome per target the run copied to or deleted, and per target on which any operation
// failed, in the order the run first met them. Taken in the run's order, a failure makes the
// target failed, with the first failure's operation as its cause and the host's reason as its
// detail; a copy or deletion that goes through makes it replaced or deleted, whatever failed
// before it (a link that could not be made writable is replaced all the same); a copy or deletion
// with nothing to treat leaves it absent, with the host's word. Targets of size readings and of
// attribute changes that all went through are left out.
std::vector<Outcome> fileOutcomes(const std::vector<Step>& steps);

}  // namespace morvane

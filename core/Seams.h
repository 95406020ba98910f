#pragma once

#include <chrono>

#include "platform/FileHost.h"
#include "platform/StateStore.h"
#include "platform/TreeReader.h"
#include "platform/UserPlaces.h"

namespace morvane {

// The host's seams that the capabilities beyond the removal run work through.
struct Seams {
    FileHost& host;
    TreeReader& reader;
    StateStore& store;
    UserPlaces places;
};

// How long a capability that changes a game folder waits for another run on it to end.
inline constexpr std::chrono::seconds kLockWait(10);

}  // namespace morvane

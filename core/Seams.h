#pragma once

#include <chrono>

#include "platform/FileHost.h"
#include "platform/StateStore.h"
#include "platform/TreeReader.h"
#include "platform/UserPlaces.h"

namespace morvane::cli {

// The host's seams that the driver's changing commands work through.
struct Seams {
    FileHost& host;
    TreeReader& reader;
    StateStore& store;
    UserPlaces places;
};

// How long a changing command waits for another run on the same game folder to end.
inline constexpr std::chrono::seconds kLockWait(10);

}  // namespace morvane::cli

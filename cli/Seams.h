#pragma once

#include <chrono>

#include "FileHost.h"
#include "StateStore.h"
#include "TreeReader.h"
#include "UserPlaces.h"

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

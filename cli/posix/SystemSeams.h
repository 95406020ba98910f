#pragma once

// The host's seams as this system implements them, for the driver to work through.
#include "PosixFileHost.h"
#include "PosixStateStore.h"
#include "PosixTreeReader.h"

namespace morvane::cli {

using SystemFileHost = PosixFileHost;
using SystemTreeReader = PosixTreeReader;
using SystemStateStore = PosixStateStore;

}  // namespace morvane::cli

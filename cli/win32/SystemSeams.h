#pragma once

// The host's seams as this system implements them, for the driver to work through.
#include "Win32FileHost.h"
#include "Win32StateStore.h"
#include "Win32TreeReader.h"

namespace morvane::cli {

using SystemFileHost = Win32FileHost;
using SystemTreeReader = Win32TreeReader;
using SystemStateStore = Win32StateStore;

}  // namespace morvane::cli

#pragma once

#include "Win32FileHost.h"

namespace morvane::test {

// The host of the system the tests run on.
using NativeFileHost = Win32FileHost;

}  // namespace morvane::test

#pragma once

#include "PosixFileHost.h"

namespace morvane::test {

// The host of the system the tests run on.
using NativeFileHost = PosixFileHost;

}  // namespace morvane::test

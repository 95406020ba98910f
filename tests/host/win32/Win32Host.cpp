// The host the contract tests run against on Windows.
#include "HostContract.h"
#include "Win32FileHost.h"

namespace morvane::test {

std::unique_ptr<FileHost> makeHost() {
    return std::make_unique<Win32FileHost>();
}

}  // namespace morvane::test

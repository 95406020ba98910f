// The host the contract tests run against on POSIX systems.
#include "HostContract.h"
#include "PosixFileHost.h"

namespace morvane::test {

std::unique_ptr<FileHost> makeHost() {
    return std::make_unique<PosixFileHost>();
}

}  // namespace morvane::test

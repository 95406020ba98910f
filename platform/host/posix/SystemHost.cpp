#include "platform/host/SystemHost.h"

#include "platform/host/posix/PosixFileHost.h"
#include "platform/host/posix/PosixStateStore.h"
#include "platform/host/posix/PosixTreeReader.h"

namespace morvane {

std::unique_ptr<FileHost> makeFileHost() {
    return std::make_unique<PosixFileHost>();
}

std::unique_ptr<TreeReader> makeTreeReader() {
    return std::make_unique<PosixTreeReader>();
}

std::unique_ptr<StateStore> makeStateStore() {
    return std::make_unique<PosixStateStore>();
}

}  // namespace morvane

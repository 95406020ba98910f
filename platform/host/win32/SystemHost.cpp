#include "platform/host/SystemHost.h"

#include "platform/host/win32/Win32FileHost.h"
#include "platform/host/win32/Win32StateStore.h"
#include "platform/host/win32/Win32TreeReader.h"

namespace morvane {

std::unique_ptr<FileHost> makeFileHost() {
    return std::make_unique<Win32FileHost>();
}

std::unique_ptr<TreeReader> makeTreeReader() {
    return std::make_unique<Win32TreeReader>();
}

std::unique_ptr<StateStore> makeStateStore() {
    return std::make_unique<Win32StateStore>();
}

}  // namespace morvane

#pragma once

#include <memory>

#include "platform/FileHost.h"
#include "platform/StateStore.h"
#include "platform/TreeReader.h"

namespace morvane {

// The seams as the system the program runs on implements them: posix/ or win32/ beside this.
std::unique_ptr<FileHost> makeFileHost();
std::unique_ptr<TreeReader> makeTreeReader();
std::unique_ptr<StateStore> makeStateStore();

}  // namespace morvane

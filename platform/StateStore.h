#pragma once

#include <string>
#include <string_view>

#include "platform/FileHost.h"

namespace morvane {

// Writing in the user's own state folder, where the driver keeps its backups: never in a game
// folder, which only the FileHost changes. Files are private to the user and flushed to disk
// before a write counts as done. Reading goes through the TreeReader.
//
// One implementation per operating system sits behind this interface.
class StateStore {
  public:
    virtual ~StateStore() = default;

    // Makes the folder `path` and every missing folder above it; done when it is there already.
    virtual ChangeResult makeFolders(const std::string& path) = 0;

    // Makes the folder `path`, which must not exist yet: absent when it does, so that two runs
    // never share one.
    virtual ChangeResult makeNewFolder(const std::string& path) = 0;

    // Puts `bytes` at `path` whole: after a failure, or a crash, `path` holds its old bytes or
    // nothing, never a part.
    virtual ChangeResult writeFile(const std::string& path, std::string_view bytes) = 0;

    // Removes the folder `path` with everything below it; a link below it is removed, never
    // followed. Done when nothing is there.
    virtual ChangeResult removeTree(const std::string& path) = 0;

    // Removes the folder `path` if it holds nothing; fails, leaving it, when it holds anything.
    // Done when nothing is there.
    virtual ChangeResult removeEmptyFolder(const std::string& path) = 0;
};

}  // namespace morvane

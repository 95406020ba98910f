#pragma once

#include "platform/StateStore.h"

namespace morvane {

// The user's state folder on a POSIX system: folders 0700, files 0600, every write flushed and
// renamed into place.
class PosixStateStore : public StateStore {
  public:
    ChangeResult makeFolders(const std::string& path) override;
    ChangeResult makeNewFolder(const std::string& path) override;
    ChangeResult writeFile(const std::string& path, std::string_view bytes) override;
    ChangeResult removeTree(const std::string& path) override;
    ChangeResult removeEmptyFolder(const std::string& path) override;
};

}  // namespace morvane

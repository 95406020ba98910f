#pragma once

#include "platform/StateStore.h"

namespace morvane {

// The user's state folder on Windows (below %LOCALAPPDATA%, the user's own): every write flushed
// and moved into place, links below a removed folder removed, never followed.
class Win32StateStore : public StateStore {
  public:
    ChangeResult makeFolders(const std::string& path) override;
    ChangeResult makeNewFolder(const std::string& path) override;
    ChangeResult writeFile(const std::string& path, std::string_view bytes) override;
    ChangeResult removeTree(const std::string& path) override;
    ChangeResult removeEmptyFolder(const std::string& path) override;
};

}  // namespace morvane

#pragma once

#include <string>

#include "platform/ui/Toolkit.h"

namespace morvane::ui {

// The folder browser: shows the toolkit's folder dialog with the program's title.
class Module1 {
  public:
    // Shows the folder dialog, modal to `owner`, and returns the chosen folder (a root with its
    // trailing separator, any other folder without one) or "" on cancel. A non-empty
    // `startFolder` is remembered as browseStartFolder and preselected; an empty one leaves both
    // the remembered folder and the dialog's own default selection alone.
    std::string BrowseFolder(Toolkit& toolkit, Window& owner, const std::string& startFolder);

    // The last non-empty start folder given; empty before the first.
    const std::string& browseStartFolder() const { return browseStartFolder_; }

  private:
    std::string browseStartFolder_;
};

}  // namespace morvane::ui

#pragma once

#include <string>
#include <vector>

#include "TempTree.h"

namespace morvane::test {

// A demo-like game folder: hl.exe, both edition folders holding every target file with an advert
// in it (each advert a different size from its replacement), motd_temp.html pages, and a few
// ordinary game files. Beside it lies a folder "outside" with a file that no run may touch.
class DemoGame {
  public:
    // Lays the game out at `tree`/`gameRelative`.
    explicit DemoGame(const TempTree& tree, const std::string& gameRelative = "game");

    const std::string& folder() const { return folder_; }
    // The game folder's path relative to the tree, and a path below it.
    std::string relative(const std::string& below = {}) const;

    // Every target file of both editions (slots 1 to 20), relative to the game folder,
    // '/'-separated.
    static std::vector<std::string> targets();
    // What the demo puts in the target at `target` (relative to the game folder).
    static std::string advertFor(const std::string& target);

    // Puts every target's advert back, writable, whatever a run left there.
    void resetTargets() const;

    // Takes the write bits from the files of slots 1 to 18, as a run with the read-only option did.
    void lockAttributeSet() const;

  private:
    const TempTree& tree_;
    std::string relative_;
    std::string folder_;
};

// The replacement file the removal run copies to `target` (relative to the game folder); empty for
// the config files, which have none.
std::string replacementNameFor(const std::string& target);

}  // namespace morvane::test

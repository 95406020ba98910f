#include "core/game/Leftovers.h"

#include <algorithm>
#include <set>

#include "core/game/GameLayout.h"

namespace morvane {
namespace {

// The folder holding `file` ('/' separated); empty for one in the game folder itself.
std::string folderOf(std::string_view file) {
    const std::size_t slash = file.rfind('/');
    return std::string(slash == std::string_view::npos ? std::string_view()
                                                       : file.substr(0, slash));
}

}  // namespace

std::vector<Leftover> removeLeftovers(FileHost& host, const std::string& game,
                                      const std::vector<std::string>& files) {
    std::set<std::string> folders(kScannedFolders.begin(), kScannedFolders.end());
    for (const SlotInfo& slot : kSlots) {
        std::string file(slot.relative.substr(1));
        std::replace(file.begin(), file.end(), '\\', '/');
        folders.insert(folderOf(file));
    }
    for (const std::string& file : files)
        folders.insert(folderOf(file));
    folders.erase("");  // the driver writes nothing in the game folder itself
    std::vector<Leftover> found;
    for (const std::string& folder : folders) {
        std::vector<Leftover> there = host.removeLeftovers(below(game, folder, host.separator()));
        found.insert(found.end(), std::make_move_iterator(there.begin()),
                     std::make_move_iterator(there.end()));
    }
    return found;
}

}  // namespace morvane

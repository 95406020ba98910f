#include "core/game/Leftovers.h"

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

std::vector<Outcome> removeLeftovers(FileHost& host, const std::string& game,
                                     const std::vector<std::string>& files) {
    std::set<std::string> folders(kScannedFolders.begin(), kScannedFolders.end());
    for (const SlotInfo& slot : kSlots)
        folders.insert(folderOf(slotFile(slot)));
    for (const std::string& file : files)
        folders.insert(folderOf(file));
    folders.erase("");  // the driver writes nothing in the game folder itself
    std::vector<Outcome> found;
    for (const std::string& folder : folders) {
        for (Leftover& file : host.removeLeftovers(below(game, folder, host.separator()))) {
            if (file.removed.succeeded)
                found.push_back({std::move(file.path), Done::Deleted, Cause::None, {}});
            else
                found.push_back({std::move(file.path), Done::Failed, Cause::Delete,
                                 std::move(file.removed.reason)});
        }
    }
    return found;
}

}  // namespace morvane

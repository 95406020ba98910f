#include "engine/TargetTable.h"

namespace morvane {
namespace {

constexpr bool inAnEditionFolder(std::string_view relative) {
    for (std::string_view edition : kEditionFolders) {
        if (relative.size() > edition.size() + 1 && relative[0] == '\\' &&
            relative.substr(1, edition.size()) == edition && relative[edition.size() + 1] == '\\')
            return true;
    }
    return false;
}

constexpr bool everyTargetInAnEditionFolder() {
    for (const SlotInfo& slot : kSlots) {
        if (!inAnEditionFolder(slot.relative))
            return false;
    }
    return true;
}
static_assert(everyTargetInAnEditionFolder(), "a target outside the edition folders");

}  // namespace

std::string joinPath(std::string_view folder, std::string_view relative, char separator) {
    std::string path;
    path.reserve(folder.size() + relative.size());
    path.append(folder);
    const std::size_t start = path.size();
    path.append(relative);
    for (auto c = path.begin() + static_cast<std::ptrdiff_t>(start); c != path.end(); ++c)
        *c = *c == '\\' || *c == '/' ? separator : *c;
    return path;
}

}  // namespace morvane

#include "core/game/GameLayout.h"

#include <algorithm>

namespace morvane {

FolderLook lookAt(TreeReader& reader, const std::string& folder) {
    const auto kind = [&](std::string_view name) {
        return reader.kindOf(below(folder, name, reader.separator()));
    };
    FolderLook look;
    for (std::string_view launcher : kLaunchers) {
        if (kind(launcher) == EntryKind::File)
            look.launchers.emplace_back(launcher);
    }
    for (std::string_view edition : kEditionFolders) {
        if (kind(edition) == EntryKind::Folder)
            look.editions.emplace_back(edition);
    }
    look.anyScannedFolder =
        std::any_of(kScannedFolders.begin(), kScannedFolders.end(),
                    [&](std::string_view name) { return kind(name) == EntryKind::Folder; });
    return look;
}

}  // namespace morvane

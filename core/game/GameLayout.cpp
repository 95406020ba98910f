#include "core/game/GameLayout.h"

#include <algorithm>

#include "core/text/AsciiText.h"

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

int reportOrder(std::string_view relative) {
    const std::string_view top = relative.substr(0, relative.find('/'));
    const auto is = [&](std::string_view name) { return equalsIgnoringCase(top, name); };
    for (std::size_t i = 0; i < kEditionFolders.size(); ++i) {
        if (is(kEditionFolders[i]))
            return static_cast<int>(i);
    }
    if (is(kDownloadsFolder))
        return 5;
    if (fitsPattern(kLanguageEditions, top))
        return 2;
    return is(kValveFolder) ? 3 : 4;
}

std::string slotFile(const SlotInfo& slot) {
    std::string file(slot.relative.substr(1));
    std::replace(file.begin(), file.end(), '\\', '/');
    return file;
}

bool inSteamLibrary(std::string_view path) {
    for (std::size_t start = 0; start < path.size();) {
        const std::size_t end = std::min(path.find_first_of("/\\", start), path.size());
        if (equalsIgnoringCase(path.substr(start, end - start), "steamapps"))
            return true;
        start = end + 1;
    }
    return false;
}

}  // namespace morvane

#include "engine/Replacements.h"

#include <algorithm>

#include "engine/RemovalRun.h"

namespace morvane {

std::optional<std::string> replacementFolder(FileHost& host, const ReplacementSource& source) {
    if (source.folder)
        return source.folder;
    const std::optional<std::string> program = host.programFolder();
    if (!program)
        return std::nullopt;
    return joinPath(*program, "\\files", host.separator());
}

std::vector<std::string_view> neededReplacements(const std::array<bool, kGroupCount>& groups,
                                                 bool blockServerMotd) {
    std::vector<std::string_view> names;
    auto need = [&names](std::string_view name) {
        if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    };
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        if (!groups[g])
            continue;
        for (Slot slot : removalSlots(static_cast<Group>(g)))
            need(slotInfo(slot).replacement);
    }
    if (blockServerMotd)
        need(slotInfo(Slot::motdTempPath).replacement);
    return names;
}

std::vector<std::string_view> missingReplacements(std::span<const std::string_view> names,
                                                  FileHost& host, const ReplacementSource& source) {
    const std::optional<std::string> folder = replacementFolder(host, source);
    std::vector<std::string_view> missing;
    for (std::string_view name : names) {
        if (!folder || !host.isReadableFile(replacementPath(*folder, name, host.separator())))
            missing.push_back(name);
    }
    return missing;
}

}  // namespace morvane

#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/EngineRecord.h"
#include "platform/FileHost.h"

namespace morvane {

// Where the replacement files come from. By default the folder "files" beside the program, whose
// folder is asked of the host afresh every time; a driver may name another folder.
struct ReplacementSource {
    std::optional<std::string> folder;
};

// The replacement folder itself, or no value when the program's folder cannot be determined.
std::optional<std::string> replacementFolder(FileHost& host, const ReplacementSource& source);

// The names of the replacement files a removal run would copy when the groups in `groups` are
// treated and, when `blockServerMotd`, the welcome pages are overwritten: each name once, in the
// order the run first needs it.
std::vector<std::string_view> neededReplacements(const std::array<bool, kGroupCount>& groups,
                                                 bool blockServerMotd);

// Those of `names` that are not readable regular files in the replacement folder (all of them
// when the folder cannot be determined). Changes nothing.
std::vector<std::string_view> missingReplacements(std::span<const std::string_view> names,
                                                  FileHost& host, const ReplacementSource& source);

}  // namespace morvane

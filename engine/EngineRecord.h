#pragma once

#include <array>
#include <string>

#include "engine/TargetTable.h"

namespace morvane {

// The state the options window keeps for the cleaning engine: what the user chose, what the last
// search found and the target paths it built. The windows copy box values in (a flag is true only
// for a box value of exactly 1) and status flags out.
struct EngineRecord {
    std::string gameFolder;
    std::array<bool, kGroupCount> options{};  // the six option boxes, in Group order
    bool blockServerMotd = false;             // further option: overwrite the motd_temp.html pages
    bool readOnly = false;                    // further option: mark the attribute set read-only
    std::array<bool, kGroupCount> status{};   // the six status boxes: the last search's findings
    std::array<std::string, kSlotCount>
        slots{};  // empty until a search or run fills them; never cleared

    bool& option(Group group) { return options[static_cast<std::size_t>(group)]; }
    bool& found(Group group) { return status[static_cast<std::size_t>(group)]; }
    std::string& slot(Slot which) { return slots[static_cast<std::size_t>(which)]; }
};

}  // namespace morvane

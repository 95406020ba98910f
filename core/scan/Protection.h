#pragma once

#include <optional>
#include <string_view>

namespace morvane::scan {

// The game's own guard against servers' console commands, cl_filterstuffcmd.
enum class Protection { On, Off, Missing };

inline constexpr std::string_view kFilterSetting = "cl_filterstuffcmd";

// The value `content` leaves cl_filterstuffcmd at when the console runs it (true: on), or no
// value when it does not set it.
std::optional<bool> filterSettingIn(std::string_view content);

// The text naming `state` in reports.
std::string_view protectionName(Protection state);

}  // namespace morvane::scan

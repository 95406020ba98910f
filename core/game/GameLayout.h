#pragma once

#include <array>
#include <string>
#include <string_view>

namespace morvane {

// The folders of a Counter-Strike 1.6 installation that the driver's own commands look at.
inline constexpr std::array<std::string_view, 2> kEditionFolders{"cstrike", "cstrike_russian"};
inline constexpr std::array<std::string_view, 2> kLaunchers{"hl.exe", "hl_linux"};

// `relative` ('/' separated) below `folder`, with the host's separator. Like the engine's paths,
// it begins with `folder` exactly as given, as the host wants the paths of a run to.
inline std::string below(std::string_view folder, std::string_view relative, char separator) {
    std::string path(folder);
    path += separator;
    for (const char c : relative)
        path += c == '/' ? separator : c;
    return path;
}

}  // namespace morvane

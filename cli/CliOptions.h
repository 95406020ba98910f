#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "TargetTable.h"

namespace morvane::cli {

enum class Command { Search, Clean, Size, Find, Scan };

struct CliOptions {
    Command command = Command::Search;
    std::string folder;                      // GAME, or FOLDER for size; empty for find
    std::array<bool, kGroupCount> groups{};  // the chosen option groups
    bool blockServerMotd = false;
    bool readOnly = false;
    bool json = false;
    bool force = false;
    bool allFound = false;  // also every installation `find` lists; GAME may be left out
    std::optional<std::string> filesFolder;
};

struct UsageError {
    std::string message;
};

// The driver's name for each group, in Group order.
inline constexpr std::array<std::string_view, kGroupCount> kGroupNames{
    "menu", "loading", "scoreboard", "config", "motd", "autobuy"};

// Parses the arguments after the program name. Checks only their form, not the file system.
std::variant<CliOptions, UsageError> parseArguments(const std::vector<std::string>& args);

extern const char* const kUsage;

}  // namespace morvane::cli

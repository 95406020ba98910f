#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "engine/TargetTable.h"

namespace morvane::cli {

enum class Command { Search, Clean, Size, Find, Scan, Undo, Protect };

struct CliOptions {
    Command command = Command::Search;
    std::string folder;                      // GAME, or FOLDER for size; empty for find
    std::array<bool, kGroupCount> groups{};  // the chosen option groups
    bool blockServerMotd = false;
    bool readOnly = false;
    bool json = false;
    bool force = false;
    bool allFound = false;      // also every installation `find` lists; GAME may be left out
    bool keepSettings = false;  // clean: take the planted lines out of the config files
    bool noBackup = false;      // clean: no backup first
    bool list = false;          // undo: list the backups instead
    std::optional<std::string> filesFolder;
    std::optional<std::string> run;  // undo: the backup to put back, the latest by default
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

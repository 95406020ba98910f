#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "engine/TargetTable.h"

namespace morvane::cli {

enum class Command { Search, Clean, Size, Find, Scan, Undo, Protect };

// Everything the command line says, as the commands read it.
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

// The driver's name for each group, in Group order.
inline constexpr std::array<std::string_view, kGroupCount> kGroupNames{
    "menu", "loading", "scoreboard", "config", "motd", "autobuy"};

// One option of the driver's: the parser, the help, the manual page and the completion are all
// made from these rows, so a new option is one row.
struct OptionSpec {
    std::string_view name;      // "--files"
    std::string_view argument;  // "DIR" (completed as a folder), another name, or empty
    std::string_view commands;  // the commands that take it, separated by spaces
    std::string_view summary;   // marked with trMark, translated where it is shown
    void (*apply)(CliOptions& options, const std::string& argument);
};

std::span<const OptionSpec> optionTable();

// Whether `command` is among the option's commands.
bool takesOption(std::string_view command, const OptionSpec& option);
// The option's commands as a reader sees them: "search, clean".
std::string commandList(const OptionSpec& option);

struct UsageError {
    std::string message;
};

// Parses the arguments after the program name, by the command and option tables. Checks only
// their form, not the file system.
std::variant<CliOptions, UsageError> parseArguments(const std::vector<std::string>& args);

}  // namespace morvane::cli

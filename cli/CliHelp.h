#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/TargetTable.h"

namespace morvane::cli {

// The driver's own description, one table per kind of thing. The help text, the manual page and
// the shell completion are all made from these tables, so a new command or option is one row
// here (and its parsing in CliOptions.cpp).

struct CommandDoc {
    std::string_view name;
    // What follows the name. Words in capitals are operands; a first operand GAME or FOLDER is a
    // folder, and GROUP... means the command takes groups.
    std::string_view operands;
    std::string_view summary;
};

struct OptionDoc {
    std::string_view name;      // "--files"
    std::string_view argument;  // "DIR" (completed as a folder), another name, or empty
    std::string_view commands;  // the commands that take it, separated by spaces
    std::string_view summary;
};

// Whether `command` is among the option's commands.
bool takesOption(std::string_view command, const OptionDoc& option);
// The option's commands as a reader sees them: "search, clean".
std::string commandList(const OptionDoc& option);

struct TermDoc {
    std::string_view term;  // an operand or an exit status
    std::string_view meaning;
};

std::span<const CommandDoc> commandDocs();
std::span<const OptionDoc> optionDocs();
// The groups' meanings, in Group order (their names are kGroupNames).
const std::array<std::string_view, kGroupCount>& groupSummaries();
std::span<const TermDoc> operandDocs();
std::span<const TermDoc> exitStatusDocs();

inline constexpr std::string_view kProgramName = "morvane-cli";
inline constexpr std::string_view kProgramSummary =
    "remove server advertising from a Counter-Strike 1.6 installation";

// "morvane-cli 0.0.0.2": the version of the whole project.
std::string versionText();
std::string helpText();

// The text that `--help`, `-h` or `--version` asks for, or nothing when the arguments ask for
// something else. --help counts anywhere (no folder or group starts with "--"); -h and --version
// only in first place, where they cannot be a folder either.
std::optional<std::string> helpOrVersion(const std::vector<std::string>& args);

}  // namespace morvane::cli

#pragma once

#include <span>
#include <string_view>

#include "cli/Options.h"
#include "cli/Output.h"
#include "core/Seams.h"

namespace morvane::cli {

// Runs one command on the seams and says what came of it on `output`; returns the exit status.
using Handler = int (*)(const CliOptions& options, Seams& seams, Output& output);

// One command of the driver's: the parser, the dispatch, the help, the manual page and the
// completion are all made from these rows, so a new command is one row (and its handler).
struct CommandSpec {
    std::string_view name;
    Command command;
    // What follows the name. Words in capitals are operands; a first operand GAME or FOLDER is a
    // folder, and GROUP... means the command takes groups.
    std::string_view operands;
    std::string_view summary;  // marked with trMark, translated where it is shown
    Handler handler;
};

std::span<const CommandSpec> commandTable();

// The command of that name, or null.
const CommandSpec* commandNamed(std::string_view name);

// Whether the command's first operand is a folder.
bool takesFolder(const CommandSpec& command);
// Whether the command takes groups.
bool takesGroups(const CommandSpec& command);

}  // namespace morvane::cli

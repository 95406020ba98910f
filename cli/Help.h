#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Options.h"
#include "platform/Translate.h"

namespace morvane::cli {

// The driver's own words beyond its command and option tables (cli/Commands.h, cli/Options.h):
// the help text, the manual page and the shell completion are made from these and those.

struct TermDoc {
    std::string_view term;     // an operand or an exit status
    std::string_view meaning;  // marked with trMark, translated where it is shown
};

// The groups' meanings, in Group order (their names are kGroupNames), marked with trMark.
const std::array<std::string_view, kGroupCount>& groupSummaries();
std::span<const TermDoc> operandDocs();
std::span<const TermDoc> exitStatusDocs();

inline constexpr std::string_view kProgramName = "morvane-cli";
inline constexpr std::string_view kProgramSummary =
    i18n::trMark("remove server advertising from a Counter-Strike 1.6 installation");

// The help's texts and the usage are in the language chosen (platform/Translate.h); the names of
// commands, options, groups and operands never change.
// "morvane-cli 0.0.0.2": the version of the whole project.
std::string versionText();
std::string helpText();
// "usage: morvane-cli search GAME [GROUP...] [--json]" and a line for each other command, then the
// groups: what a usage error prints after its message.
std::string usageText();

// The text that `--help`, `-h` or `--version` asks for, or nothing when the arguments ask for
// something else. --help counts anywhere (no folder or group starts with "--"); -h and --version
// only in first place, where they cannot be a folder either.
std::optional<std::string> helpOrVersion(const std::vector<std::string>& args);

}  // namespace morvane::cli

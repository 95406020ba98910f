#include "cli/Help.h"

#include "cli/Commands.h"

#include <algorithm>
#include <cstddef>

namespace morvane::cli {

namespace {

constexpr std::array<std::string_view, kGroupCount> kGroups{
    "the main menu (resource/GameMenu.res)",
    "the loading screens (resource/LoadingDialog*.res)",
    "the scoreboard shown while TAB is held (resource/UI/ScoreBoard.res)",
    "the config files through which the game spams (config.cfg, userconfig.cfg): deleted, "
    "not replaced; the game writes new ones",
    "the welcome page (motd.txt)",
    "the auto-buy list (autobuy.txt)",
};

constexpr TermDoc kOperands[] = {
    {"GAME",
     "the game folder: the one that holds hl.exe (or hl_linux); both edition folders in it, "
     "cstrike and cstrike_russian, are treated"},
    {"GROUP",
     "a kind of advertising: one of the groups below, or all; search searches every group when "
     "none is named, clean wants them named unless --block-server-motd is given"},
    {"FOLDER", "any folder"},
    {"ID", "a backup, named after the time of its clean (UTC), such as 20240501T100000Z"},
};

constexpr TermDoc kExitStatuses[] = {
    {"0", "everything asked was done; scan: nothing planted was found"},
    {"1",
     "something could not be done; what, is said on standard error; scan: something planted "
     "was found; find: no installation was found; undo: files changed since the clean were "
     "left alone"},
    {"2",
     "bad input (an unknown command, group or option, a folder that is not there, clean with "
     "neither a group nor --block-server-motd); nothing was changed; find, scan: a file or folder "
     "that is there could not be read, or --all-found found nothing"},
};

constexpr std::size_t kWidth = 79;
constexpr std::size_t kTermColumn = 24;

// Appends `text` filled to kWidth, every line after the first indented by `indent`; the first
// line starts at `column` of a line already begun.
void fill(std::string& out, std::string_view text, std::size_t column, std::size_t indent) {
    while (!text.empty()) {
        const std::size_t room = kWidth - column;
        std::size_t cut = text.size();
        if (cut > room) {
            cut = text.rfind(' ', room);
            if (cut == std::string_view::npos || cut == 0)
                cut = std::min(text.find(' '), text.size());
        }
        out.append(text.substr(0, cut));
        text.remove_prefix(std::min(cut + 1, text.size()));
        out += '\n';
        if (!text.empty())
            out.append(indent, ' ');
        column = indent;
    }
}

// "  term        meaning", the meaning filled beside the term or, for a long term, below it.
void termLine(std::string& out, std::string_view term, std::string_view meaning) {
    out += "  ";
    out += term;
    std::size_t column = 2 + term.size();
    if (column + 2 > kTermColumn) {
        out += '\n';
        column = 0;
    }
    out.append(kTermColumn - column, ' ');
    fill(out, meaning, kTermColumn, kTermColumn);
}

// One line per command, each after `lead` (the first) or `more` (the others): the command, its
// operands and its options, filled to the width.
void synopsis(std::string& out, std::string_view lead, std::string_view more) {
    for (const CommandSpec& command : commandTable()) {
        std::string line(&command == commandTable().data() ? lead : more);
        line += std::string(kProgramName) + " " + std::string(command.name);
        if (!command.operands.empty())
            line.append(" ").append(command.operands);
        for (const OptionSpec& option : optionTable()) {
            if (!takesOption(command.name, option))
                continue;
            line += " [" + std::string(option.name);
            if (!option.argument.empty())
                line.append(" ").append(option.argument);
            line += "]";
        }
        fill(out, line, 0, more.size() + 2 + kProgramName.size() + command.name.size());
    }
}

}  // namespace

const std::array<std::string_view, kGroupCount>& groupSummaries() {
    return kGroups;
}
std::span<const TermDoc> operandDocs() {
    return kOperands;
}
std::span<const TermDoc> exitStatusDocs() {
    return kExitStatuses;
}

std::string versionText() {
    return std::string(kProgramName) + " " + MORVANE_VERSION + "\n";
}

std::string helpText() {
    std::string out;
    fill(out,
         std::string(kProgramName) + ": " + std::string(kProgramSummary) +
             ", as the windowed program Morvane does.",
         0, 0);
    out += "\nUsage:\n";
    synopsis(out, "  ", "  ");
    out += "  " + std::string(kProgramName) + " --help | -h\n";
    out += "  " + std::string(kProgramName) + " --version\n\nCommands:\n";
    for (const CommandSpec& command : commandTable())
        termLine(out, command.name, command.summary);
    out += "\nOperands:\n";
    for (const TermDoc& operand : kOperands)
        termLine(out, operand.term, operand.meaning);
    out += "\nGroups:\n";
    for (std::size_t g = 0; g < kGroupCount; ++g)
        termLine(out, kGroupNames[g], kGroups[g]);
    termLine(out, "all", "every group above");
    out += "\nOptions:\n";
    for (const OptionSpec& option : optionTable()) {
        std::string term(option.name);
        if (!option.argument.empty())
            term.append(" ").append(option.argument);
        const std::string commands = commandList(option);
        termLine(out, term, std::string(option.summary) + " [" + commands + "]");
    }
    termLine(out, "-h, --help", "print this help");
    termLine(out, "--version", "print the version");
    out += "\nExit status:\n";
    for (const TermDoc& status : kExitStatuses)
        termLine(out, status.term, status.meaning);
    return out;
}

std::string usageText() {
    std::string out;
    synopsis(out, "usage: ", "       ");
    out += "GROUP:";
    for (std::string_view group : kGroupNames)
        out.append(" ").append(group);
    return out + " all\n";
}

std::optional<std::string> helpOrVersion(const std::vector<std::string>& args) {
    if (!args.empty() && args[0] == "--version")
        return versionText();
    if ((!args.empty() && args[0] == "-h") ||
        std::find(args.begin(), args.end(), "--help") != args.end())
        return helpText();
    return std::nullopt;
}

}  // namespace morvane::cli

#include "cli/CliHelp.h"

#include "cli/CliOptions.h"

#include <algorithm>
#include <cstddef>

namespace morvane::cli {

namespace {

constexpr CommandDoc kCommands[] = {
    {"search", "GAME [GROUP...]", "report which groups carry advertising in GAME; changes nothing"},
    {"clean", "GAME [GROUP...]",
     "search the groups in GAME, then delete the files found and put the clean replacement files "
     "in their place, as the options window of Morvane does; first copies every file it may "
     "change into a backup outside GAME (the ten newest per game folder are kept)"},
    {"size", "FOLDER", "print the total size in bytes of the regular files under FOLDER"},
    {"find", "",
     "list the game installations on this machine: the Half-Life folder of every Steam library "
     "that the usual Steam folders lead to, with its launchers and edition folders; changes "
     "nothing"},
    {"scan", "GAME",
     "report every line and file that servers planted in GAME, and those they may have (suspect), "
     "with the rule that flagged it: "
     "the config files of cstrike, cstrike_russian, cstrike_downloads and valve, the menu, "
     "loading screens, scoreboard and welcome pages, config files downloaded from servers; and "
     "whether the game's own guard, cl_filterstuffcmd, is on; changes nothing"},
    {"undo", "GAME",
     "put back the files of the latest clean of GAME from its backup, each checked against its "
     "hash; files changed since that clean are named and left alone, and then nothing is put "
     "back"},
    {"protect", "GAME",
     "turn the game's own guard against servers' commands on: add cl_filterstuffcmd \"1\" to "
     "userconfig.cfg in each edition folder (made if missing; one that turns it on already is "
     "left alone)"},
};

constexpr OptionDoc kOptions[] = {
    {"--json", "", "search clean find scan",
     "print the report as one JSON object (scan: one per game folder, a line each)"},
    {"--all-found", "", "clean scan",
     "also treat every installation that find lists; GAME may then be left out"},
    {"--keep-settings", "", "clean",
     "keep the player's settings: take only the lines that scan finds planted out of the config "
     "files of "
     "the chosen groups (config.cfg, userconfig.cfg, autoexec.cfg, valve.rc, joystick.cfg...), "
     "every other line kept byte for byte, instead of deleting config.cfg and userconfig.cfg; "
     "delete what servers left in cstrike_downloads, and a planted motd_temp.html, for the chosen "
     "groups"},
    {"--no-backup", "", "clean", "make no backup first (undo then has nothing to put back)"},
    {"--block-server-motd", "", "clean",
     "also overwrite the welcome pages that servers send (motd_temp.html)"},
    {"--read-only", "", "clean", "mark the treated files read-only"},
    {"--files", "DIR", "clean",
     "take the replacement files from DIR instead of the folder \"files\" beside the program"},
    {"--force", "", "clean undo",
     "clean: clean GAME even if it holds neither hl.exe nor hl_linux; undo: put back files "
     "changed since the clean too"},
    {"--list", "", "undo", "list the backups of GAME, newest first, instead"},
    {"--run", "ID", "undo", "put back the backup ID (as --list shows it) instead of the latest"},
};

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
     "a kind of advertising: one of the groups below, or all; none chosen means none treated"},
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
     "bad input (an unknown command, group or option, a folder that is not there); "
     "nothing was changed; find, scan: a file or folder that is there could not be read, or "
     "--all-found found nothing"},
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

}  // namespace

bool takesOption(std::string_view command, const OptionDoc& option) {
    std::string_view rest = option.commands;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find(' '), rest.size());
        if (rest.substr(0, end) == command)
            return true;
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return false;
}

std::string commandList(const OptionDoc& option) {
    std::string out(option.commands);
    for (std::size_t at = out.find(' '); at != std::string::npos; at = out.find(' ', at + 2))
        out.replace(at, 1, ", ");
    return out;
}

std::span<const CommandDoc> commandDocs() {
    return kCommands;
}
std::span<const OptionDoc> optionDocs() {
    return kOptions;
}
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
    for (const CommandDoc& command : kCommands) {
        std::string line = "  " + std::string(kProgramName) + " " + std::string(command.name);
        if (!command.operands.empty())
            line.append(" ").append(command.operands);
        for (const OptionDoc& option : kOptions) {
            if (!takesOption(command.name, option))
                continue;
            line += " [" + std::string(option.name);
            if (!option.argument.empty())
                line.append(" ").append(option.argument);
            line += "]";
        }
        fill(out, line, 0, 4 + kProgramName.size() + command.name.size());
    }
    out += "  " + std::string(kProgramName) + " --help | -h\n";
    out += "  " + std::string(kProgramName) + " --version\n\nCommands:\n";
    for (const CommandDoc& command : kCommands)
        termLine(out, command.name, command.summary);
    out += "\nOperands:\n";
    for (const TermDoc& operand : kOperands)
        termLine(out, operand.term, operand.meaning);
    out += "\nGroups:\n";
    for (std::size_t g = 0; g < kGroupCount; ++g)
        termLine(out, kGroupNames[g], kGroups[g]);
    termLine(out, "all", "every group above");
    out += "\nOptions:\n";
    for (const OptionDoc& option : kOptions) {
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

std::optional<std::string> helpOrVersion(const std::vector<std::string>& args) {
    if (!args.empty() && args[0] == "--version")
        return versionText();
    if ((!args.empty() && args[0] == "-h") ||
        std::find(args.begin(), args.end(), "--help") != args.end())
        return helpText();
    return std::nullopt;
}

}  // namespace morvane::cli

#include "cli/Commands.h"

#include <algorithm>

#include "cli/commands/Handlers.h"
#include "platform/Translate.h"

namespace morvane::cli {
namespace {

constexpr CommandSpec kCommands[] = {
    {"search", Command::Search, "GAME [GROUP...]",
     i18n::trMark(
         "report which groups carry advertising in GAME (every group when none is named); changes "
         "nothing"),
     runSearch},
    {"clean", Command::Clean, "GAME [GROUP...]",
     i18n::trMark(
         "search the groups in GAME, then delete the files found and put the clean replacement "
         "files in their place, as the options window of Morvane does; first copies every file "
         "it may change into a backup outside GAME (the ten made last per game folder are kept)"),
     runClean},
    {"size", Command::Size, "FOLDER",
     i18n::trMark("print the total size in bytes of the regular files under FOLDER"), runSize},
    {"find", Command::Find, "",
     i18n::trMark(
         "list the game installations on this machine: the Half-Life folder of every Steam library "
         "that the usual Steam folders lead to, with its launchers and edition folders; changes "
         "nothing"),
     runFind},
    {"scan", Command::Scan, "GAME",
     i18n::trMark(
         "report every line and file that servers planted in GAME, and those they may have "
         "(suspect), with the rule that flagged it: the config files of cstrike, "
         "cstrike_russian, cstrike_downloads and valve, the menu, "
         "loading screens, scoreboard and welcome pages, config files downloaded from servers; and "
         "whether the game's own guard, cl_filterstuffcmd, is on; changes nothing"),
     runScan},
    {"undo", Command::Undo, "GAME",
     i18n::trMark(
         "put back the files of the latest backup of GAME (a clean's, a protect's or an undo's), "
         "each checked against its hash, after backing up what it overwrites; files changed since "
         "are named and left alone, and then nothing is put back"),
     runUndo},
    {"protect", Command::Protect, "GAME",
     i18n::trMark(
         "turn the game's own guard against servers' commands on: add cl_filterstuffcmd \"1\" to "
         "userconfig.cfg in each edition folder (made if missing; one that turns it on already, a "
         "link or a file with other hard links is left alone), backed up first as clean does"),
     runProtect},
};

}  // namespace

std::span<const CommandSpec> commandTable() {
    return kCommands;
}

const CommandSpec* commandNamed(std::string_view name) {
    const auto found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [&](const CommandSpec& c) { return c.name == name; });
    return found == std::end(kCommands) ? nullptr : found;
}

bool takesFolder(const CommandSpec& command) {
    return command.operands.starts_with("GAME") || command.operands.starts_with("FOLDER");
}

bool takesGroups(const CommandSpec& command) {
    return command.operands.find("GROUP") != std::string_view::npos;
}

}  // namespace morvane::cli

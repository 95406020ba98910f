#include "cli/Options.h"

#include <algorithm>

#include "cli/Commands.h"
#include "platform/Translate.h"

namespace morvane::cli {
namespace {

constexpr OptionSpec kOptions[] = {
    {"--json", "", "search clean find scan",
     i18n::trMark("print the report as one JSON object (scan: one per game folder, a line each)"),
     [](CliOptions& o, const std::string&) { o.json = true; }},
    {"--all-found", "", "clean scan",
     i18n::trMark("also treat every installation that find lists; GAME may then be left out"),
     [](CliOptions& o, const std::string&) { o.allFound = true; }},
    {"--keep-settings", "", "clean",
     i18n::trMark("keep the player's settings: take only the lines that scan finds planted out of "
                  "the config files of the chosen groups (config.cfg, userconfig.cfg, "
                  "autoexec.cfg, valve.rc, joystick.cfg...), every other line kept byte for byte, "
                  "instead of deleting config.cfg and userconfig.cfg; delete what servers left in "
                  "cstrike_downloads, and a planted motd_temp.html, for the chosen groups"),
     [](CliOptions& o, const std::string&) { o.keepSettings = true; }},
    {"--no-backup", "", "clean",
     i18n::trMark("make no backup first (undo then has nothing to put back)"),
     [](CliOptions& o, const std::string&) { o.noBackup = true; }},
    {"--block-server-motd", "", "clean",
     i18n::trMark("also overwrite the welcome pages that servers send (motd_temp.html)"),
     [](CliOptions& o, const std::string&) { o.blockServerMotd = true; }},
    {"--read-only", "", "clean", i18n::trMark("mark the files it replaced or rewrote read-only"),
     [](CliOptions& o, const std::string&) { o.readOnly = true; }},
    {"--files", "DIR", "clean",
     i18n::trMark(
         "take the replacement files from DIR instead of the folder \"files\" beside the program"),
     [](CliOptions& o, const std::string& dir) { o.filesFolder = dir; }},
    {"--force", "", "clean undo protect",
     i18n::trMark(
         "clean, protect: treat GAME even if it holds neither hl.exe nor hl_linux; undo: put back "
         "files changed since the clean too (what they held is backed up first)"),
     [](CliOptions& o, const std::string&) { o.force = true; }},
    {"--list", "", "undo", i18n::trMark("list the backups of GAME, newest first, instead"),
     [](CliOptions& o, const std::string&) { o.list = true; }},
    {"--run", "ID", "undo",
     i18n::trMark("put back the backup ID (as --list shows it) instead of the latest"),
     [](CliOptions& o, const std::string& id) { o.run = id; }},
};

bool chooseGroup(CliOptions& options, std::string_view name) {
    if (name == "all") {
        options.groups.fill(true);
        return true;
    }
    const auto found = std::find(kGroupNames.begin(), kGroupNames.end(), name);
    if (found == kGroupNames.end())
        return false;
    options.groups[static_cast<std::size_t>(found - kGroupNames.begin())] = true;
    return true;
}

// Applies the option `args[i]`, moving past its argument; else says why it cannot.
std::optional<UsageError> applyOption(CliOptions& options, const CommandSpec& command,
                                      const std::vector<std::string>& args, std::size_t& i) {
    const auto option = std::find_if(std::begin(kOptions), std::end(kOptions),
                                     [&](const OptionSpec& o) { return o.name == args[i]; });
    if (option == std::end(kOptions))
        return UsageError{i18n::tr("unknown option '%s'", args[i])};
    if (!takesOption(command.name, *option))
        return UsageError{i18n::tr("%s does not take %s", command.name, args[i])};
    if (option->argument.empty()) {
        option->apply(options, {});
        return std::nullopt;
    }
    if (i + 1 >= args.size())
        return UsageError{i18n::tr("%s wants %s after it", args[i], option->argument)};
    option->apply(options, args[++i]);
    return std::nullopt;
}

}  // namespace

std::span<const OptionSpec> optionTable() {
    return kOptions;
}

bool takesOption(std::string_view command, const OptionSpec& option) {
    std::string_view rest = option.commands;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find(' '), rest.size());
        if (rest.substr(0, end) == command)
            return true;
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return false;
}

std::string commandList(const OptionSpec& option) {
    std::string out(option.commands);
    for (std::size_t at = out.find(' '); at != std::string::npos; at = out.find(' ', at + 2))
        out.replace(at, 1, ", ");
    return out;
}

std::variant<CliOptions, UsageError> parseArguments(const std::vector<std::string>& args) {
    if (args.empty())
        return UsageError{i18n::tr("no command given")};
    const CommandSpec* command = commandNamed(args[0]);
    if (command == nullptr)
        return UsageError{i18n::tr("unknown command '%s'", args[0])};
    CliOptions options;
    options.command = command->command;
    const bool wantsFolder = takesFolder(*command);
    bool haveFolder = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) == 0) {
            if (auto refused = applyOption(options, *command, args, i))
                return *refused;
        } else if (!haveFolder && wantsFolder) {
            options.folder = arg;
            haveFolder = true;
        } else if (!takesGroups(*command)) {
            return UsageError{i18n::tr("unexpected argument '%s'", arg)};
        } else if (!chooseGroup(options, arg)) {
            return UsageError{i18n::tr("unknown group '%s'", arg)};
        }
    }
    // With --all-found the game may be left out, so a first operand that names a group is one
    // ("./menu" names a folder of that name).
    if (options.allFound && haveFolder && takesGroups(*command) &&
        chooseGroup(options, options.folder)) {
        options.folder.clear();
        haveFolder = false;
    }
    if (!haveFolder && wantsFolder && !options.allFound)
        return UsageError{i18n::tr("no folder given")};
    return options;
}

}  // namespace morvane::cli

#include "cli/CliOptions.h"

#include <algorithm>

namespace morvane::cli {

const char* const kUsage =
    "usage: morvane-cli search GAME [GROUP...] [--json]\n"
    "       morvane-cli clean GAME|--all-found [GROUP...] [--keep-settings] [--no-backup]\n"
    "                         [--block-server-motd] [--read-only] [--files DIR] [--force]\n"
    "                         [--json]\n"
    "       morvane-cli size FOLDER\n"
    "       morvane-cli find [--json]\n"
    "       morvane-cli scan GAME|--all-found [--json]\n"
    "       morvane-cli undo GAME [--list] [--run ID] [--force]\n"
    "       morvane-cli protect GAME\n"
    "GROUP: menu loading scoreboard config motd autobuy all\n";

namespace {

std::optional<Command> commandNamed(std::string_view name) {
    if (name == "search")
        return Command::Search;
    if (name == "clean")
        return Command::Clean;
    if (name == "size")
        return Command::Size;
    if (name == "find")
        return Command::Find;
    if (name == "scan")
        return Command::Scan;
    if (name == "undo")
        return Command::Undo;
    if (name == "protect")
        return Command::Protect;
    return std::nullopt;
}

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

bool takesGroups(Command command) {
    return command == Command::Search || command == Command::Clean;
}

// Applies one option; false when it is unknown or not allowed with the command.
bool applyOption(CliOptions& options, const std::string& arg, const std::vector<std::string>& args,
                 std::size_t& i) {
    const bool clean = options.command == Command::Clean;
    const bool undo = options.command == Command::Undo;
    const bool reports =
        options.command != Command::Size && !undo && options.command != Command::Protect;
    if (arg == "--json" && reports) {
        options.json = true;
    } else if (arg == "--block-server-motd" && clean) {
        options.blockServerMotd = true;
    } else if (arg == "--read-only" && clean) {
        options.readOnly = true;
    } else if (arg == "--force" && (clean || undo)) {
        options.force = true;
    } else if (arg == "--all-found" && (clean || options.command == Command::Scan)) {
        options.allFound = true;
    } else if (arg == "--keep-settings" && clean) {
        options.keepSettings = true;
    } else if (arg == "--no-backup" && clean) {
        options.noBackup = true;
    } else if (arg == "--list" && undo) {
        options.list = true;
    } else if (arg == "--run" && undo && i + 1 < args.size()) {
        options.run = args[++i];
    } else if (arg == "--files" && clean && i + 1 < args.size()) {
        options.filesFolder = args[++i];
    } else {
        return false;
    }
    return true;
}

}  // namespace

std::variant<CliOptions, UsageError> parseArguments(const std::vector<std::string>& args) {
    if (args.empty())
        return UsageError{"no command given"};
    const std::optional<Command> command = commandNamed(args[0]);
    if (!command)
        return UsageError{"unknown command '" + args[0] + "'"};
    CliOptions options;
    options.command = *command;
    bool haveFolder = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) == 0) {
            if (!applyOption(options, arg, args, i))
                return UsageError{"unknown option '" + arg + "'"};
        } else if (!haveFolder && options.command != Command::Find) {
            options.folder = arg;
            haveFolder = true;
        } else if (!takesGroups(options.command)) {
            return UsageError{"unexpected argument '" + arg + "'"};
        } else if (!chooseGroup(options, arg)) {
            return UsageError{"unknown group '" + arg + "'"};
        }
    }
    // With --all-found the game may be left out, so a first operand that names a group is one
    // ("./menu" names a folder of that name).
    if (options.allFound && haveFolder && takesGroups(options.command) &&
        chooseGroup(options, options.folder)) {
        options.folder.clear();
        haveFolder = false;
    }
    if (!haveFolder && options.command != Command::Find && !options.allFound)
        return UsageError{"no folder given"};
    return options;
}

}  // namespace morvane::cli

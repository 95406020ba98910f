#include "cli/Driver.h"

#include "cli/Commands.h"
#include "cli/Help.h"
#include "cli/commands/Handlers.h"
#include "platform/host/SystemHost.h"

namespace morvane::cli {

int runDriver(const std::vector<std::string>& args, Output& output) {
    if (const auto answer = helpOrVersion(args)) {
        output.out(*answer);
        return 0;
    }
    const auto parsed = parseArguments(args);
    if (const auto* error = std::get_if<UsageError>(&parsed))
        return usageError(output, error->message);
    const auto& options = std::get<CliOptions>(parsed);
    const auto host = makeFileHost();
    const auto reader = makeTreeReader();
    const auto store = makeStateStore();
    Seams seams{*host, *reader, *store, userPlaces()};
    return runCommand(options, seams, output);
}

int runCommand(const CliOptions& options, Seams& seams, Output& output) {
    for (const CommandSpec& command : commandTable()) {
        if (command.command == options.command)
            return command.handler(options, seams, output);
    }
    return usageError(output, "unknown command");
}

}  // namespace morvane::cli

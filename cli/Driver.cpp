#include "cli/Driver.h"

#include "cli/Commands.h"
#include "cli/Help.h"
#include "cli/commands/Handlers.h"
#include "platform/Translate.h"
#include "platform/host/SystemHost.h"

namespace morvane::cli {

int runDriver(const std::vector<std::string>& args, Output& output) {
    i18n::useLanguage(userLanguages());
    if (const auto answer = helpOrVersion(args)) {
        output.out(*answer);
        return 0;
    }
    const auto parsed = parseArguments(args);
    if (const auto* error = std::get_if<UsageError>(&parsed))
        return usageError(output, error->message);
    // A report for programs (--json) reads the same in every language: reasons reach it unworded,
    // and it words them in English (cli/Json.h); what the driver says on standard error, and every
    // text report, is in the reader's language.
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
    return usageError(output, i18n::tr("unknown command"));
}

}  // namespace morvane::cli

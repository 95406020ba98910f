// protect: the game's own guard turned on in each edition folder.
#include <ctime>

#include "cli/ExitStatus.h"
#include "cli/Report.h"
#include "cli/Text.h"
#include "cli/commands/Handlers.h"
#include "core/protect/Protect.h"
#include "platform/Translate.h"

namespace morvane::cli {
namespace {

using i18n::tr;

// "PATH: what became of it", as protect says it.
std::string said(const Outcome& file) {
    switch (file.done) {
        case Done::Rewritten:
            return printable(file.path) + ": " + tr("cl_filterstuffcmd \"1\" added");
        case Done::Kept:
            return printable(file.path) + ": " + tr("left alone: it turns the guard on already");
        default:
            break;
    }
    return outcomeLine(file);
}

int refusal(const protect::Result& result, const std::string& game, Output& output) {
    switch (result.stop.cause) {
        case Stop::NotAGameFolder:
        case Stop::NoEditionFolder:
            output.problem(refusalOf(result.stop, game));
            return kBadInput;
        case Stop::Busy:
            output.problem(refusalOf(result.stop, game));
            break;
        case Stop::BackupNotMade:
        case Stop::BackupNotWritten:
            output.problem(tr("%s; nothing was changed", tr("the backup cannot be made (%s)",
                                                            result.stop.detail.translated())));
            break;
        default:
            output.problem(tr("%s; nothing was changed", refusalOf(result.stop, game)));
            break;
    }
    return kNotDone;
}

}  // namespace

int runProtect(const CliOptions& options, Seams& seams, Output& output) {
    const std::optional<std::string> named = theGame(options, seams, output);
    if (!named)
        return kBadInput;
    const std::string& game = *named;
    const protect::Result result = protect::run(seams, {game, options.force, std::time(nullptr)});
    if (result.stop != Stop::None)
        return refusal(result, game, output);
    sayLeftovers(result.leftovers, output);
    for (const Outcome& file : result.files) {
        output.out(said(file) + "\n");
        if (file.done == Done::Failed)
            output.problem(tr("could not write %s: %s", file.path, reasonOf(file).translated()));
    }
    for (const scan::EditionProtection& edition : result.notOn) {
        output.problem(tr("%s is %s in %s: a config file run after userconfig.cfg sets it",
                          scan::kFilterSetting, protectionWord(edition.state), edition.folder));
    }
    sayBackup(result.backupId, result.backupIncomplete, output);
    return result.done() ? kDone : kNotDone;
}

}  // namespace morvane::cli

// protect: the game's own guard turned on in each edition folder.
#include <ctime>

#include "cli/ExitStatus.h"
#include "cli/commands/Handlers.h"
#include "core/protect/Protect.h"

namespace morvane::cli {
namespace {

std::string said(const protect::EditionFile& file) {
    switch (file.what) {
        case protect::EditionFile::What::Added:
            return "cl_filterstuffcmd \"1\" added";
        case protect::EditionFile::What::AlreadyOn:
            return "left alone: it turns the guard on already";
        case protect::EditionFile::What::Failed:
            break;
    }
    return "failed (" + file.reason + ")";
}

int refusal(const protect::Result& result, const std::string& game, Output& output) {
    switch (result.stop) {
        case protect::Stop::NotAGameFolder:
            output.problem("'" + game +
                           "' holds no hl.exe or hl_linux; is it the game folder? (--force to go "
                           "on)");
            return kBadInput;
        case protect::Stop::NoEditionFolder:
            output.problem("'" + game + "' holds no cstrike or cstrike_russian folder");
            return kBadInput;
        case protect::Stop::NoPlaceOfOurOwn:
            output.problem("there is no folder for backups (no home folder); nothing was changed");
            break;
        case protect::Stop::Busy:
            output.problem("another run is in progress on '" + game + "'");
            break;
        case protect::Stop::BackupNotMade:
            output.problem("the backup cannot be made (" + result.reason +
                           "); nothing was changed");
            break;
        case protect::Stop::None:
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
    if (result.stop != protect::Stop::None)
        return refusal(result, game, output);
    sayLeftovers(result.leftovers, output);
    for (const protect::EditionFile& file : result.files) {
        output.out(printable(file.path) + ": " + printable(said(file)) + "\n");
        if (file.what == protect::EditionFile::What::Failed)
            output.problem("could not write " + file.path + ": " + file.reason);
    }
    for (const scan::EditionProtection& edition : result.notOn) {
        output.problem("cl_filterstuffcmd is " + std::string(scan::protectionName(edition.state)) +
                       " in " + edition.folder +
                       ": a config file run after userconfig.cfg sets it");
    }
    if (!result.backupIncomplete.empty())
        output.problem("the backup " + result.backupId + " cannot be completed (" +
                       result.backupIncomplete + "): undo will need --force");
    if (!result.backupId.empty())
        output.out("backup: " + result.backupId + "\n");
    return result.done() ? kDone : kNotDone;
}

}  // namespace morvane::cli

// protect: the game's own guard turned on in each edition folder.
#include "core/protect/Protect.h"
#include "cli/ExitStatus.h"
#include "cli/commands/Handlers.h"

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

int refusal(protect::Stop stop, const std::string& game, Output& output) {
    switch (stop) {
        case protect::Stop::NoEditionFolder:
            output.problem("'" + game + "' holds no cstrike or cstrike_russian folder");
            return kBadInput;
        case protect::Stop::NoPlaceOfOurOwn:
            output.problem("there is no folder of our own to write in (no home folder)");
            break;
        case protect::Stop::Busy:
            output.problem("another run is in progress on '" + game + "'");
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
    const protect::Result result = protect::run(seams, game);
    if (result.stop != protect::Stop::None)
        return refusal(result.stop, game, output);
    for (const protect::EditionFile& file : result.files) {
        output.out(file.path + ": " + said(file) + "\n");
        if (file.what == protect::EditionFile::What::Failed)
            output.problem("could not write " + file.path + ": " + file.reason);
    }
    for (const scan::EditionProtection& edition : result.notOn) {
        output.problem("cl_filterstuffcmd is " + std::string(scan::protectionName(edition.state)) +
                       " in " + edition.folder +
                       ": a config file run after userconfig.cfg sets it");
    }
    return result.done() ? kDone : kNotDone;
}

}  // namespace morvane::cli

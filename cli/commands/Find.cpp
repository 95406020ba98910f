#include "cli/ExitStatus.h"
#include "cli/Json.h"
#include "cli/Text.h"
#include "cli/commands/Handlers.h"
#include "core/find/Installations.h"
#include "platform/Translate.h"

namespace morvane::cli {
namespace {

using i18n::tr;

std::string joined(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& name : names)
        out += (out.empty() ? "" : ", ") + name;
    // TRANSLATORS: no launcher, or no edition folder, in a game installation found.
    return out.empty() ? tr("none") : out;
}

std::string asText(const find::FoundInstallations& found) {
    if (found.installations.empty())
        return tr("no game installation found") + "\n";
    std::string out;
    for (const find::Installation& game : found.installations) {
        out += printable(game.folder) + "\n    " + tr("launchers: %s", joined(game.launchers)) +
               "\n    " + tr("editions: %s", joined(game.editions)) + "\n";
    }
    return out;
}

}  // namespace

int runFind(const CliOptions& options, Seams& seams, Output& output) {
    const find::FoundInstallations found =
        find::findInstallations(seams.reader, seams.places.steamRoots);
    output.out(options.json ? jsonFind(found) : asText(found));
    sayLibraryProblems(found.problems, found.skipped, output);
    if (!found.problems.empty())
        return kBadInput;
    return found.installations.empty() ? kNoneFound : kDone;
}

}  // namespace morvane::cli

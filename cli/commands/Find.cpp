#include "cli/ExitStatus.h"
#include "cli/Json.h"
#include "cli/Text.h"
#include "cli/commands/Handlers.h"
#include "core/find/Installations.h"

namespace morvane::cli {
namespace {

std::string joined(const std::vector<std::string>& names, bool json) {
    std::string out;
    for (const std::string& name : names) {
        if (!out.empty())
            out += json ? "," : ", ";
        out += json ? jsonString(name) : name;
    }
    if (json)
        return '[' + out + ']';
    return out.empty() ? "none" : out;
}

std::string asJson(const find::FoundInstallations& found) {
    std::string out = "{\"installations\":[";
    for (const find::Installation& game : found.installations) {
        if (&game != &found.installations.front())
            out += ',';
        out.append("{\"path\":").append(jsonString(game.folder));
        out.append(",\"launchers\":").append(joined(game.launchers, true));
        out.append(",\"editions\":").append(joined(game.editions, true)).append("}");
    }
    out.append("],\"problems\":").append(joined(found.problems, true));
    out.append(",\"skipped\":").append(joined(found.skipped, true)).append("}\n");
    return out;
}

std::string asText(const find::FoundInstallations& found) {
    if (found.installations.empty())
        return "no game installation found\n";
    std::string out;
    for (const find::Installation& game : found.installations) {
        out += printable(game.folder) + "\n    launchers: " + joined(game.launchers, false) +
               "\n    editions: " + joined(game.editions, false) + "\n";
    }
    return out;
}

}  // namespace

int runFind(const CliOptions& options, Seams& seams, Output& output) {
    const find::FoundInstallations found =
        find::findInstallations(seams.reader, seams.places.steamRoots);
    output.out(options.json ? asJson(found) : asText(found));
    for (const std::string& problem : found.problems)
        output.problem("cannot read the Steam library list " + problem);
    for (const std::string& library : found.skipped)
        output.problem(skippedLibrary(library));
    if (!found.problems.empty())
        return kBadInput;
    return found.installations.empty() ? kNoneFound : kDone;
}

}  // namespace morvane::cli

#include "cli/FindCommand.h"

#include <algorithm>

#include "cli/CliReport.h"
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
    out.append("],\"problems\":").append(joined(found.problems, true)).append("}\n");
    return out;
}

std::string asText(const find::FoundInstallations& found) {
    if (found.installations.empty())
        return "no game installation found\n";
    std::string out;
    for (const find::Installation& game : found.installations) {
        out += game.folder + "\n    launchers: " + joined(game.launchers, false) +
               "\n    editions: " + joined(game.editions, false) + "\n";
    }
    return out;
}

void reportProblems(const find::FoundInstallations& found, CommandResult& result) {
    for (const std::string& problem : found.problems)
        result.err += "morvane-cli: cannot read the Steam library list " + problem + "\n";
    if (!found.problems.empty())
        result.status = 2;
}

}  // namespace

CommandResult runFind(TreeReader& reader, const std::vector<std::string>& roots, bool json) {
    const find::FoundInstallations found = find::findInstallations(reader, roots);
    CommandResult result{json ? asJson(found) : asText(found), {}, found.installations.empty()};
    reportProblems(found, result);
    return result;
}

std::vector<std::string> gamesToTreat(TreeReader& reader, const std::vector<std::string>& roots,
                                      const std::string& game, bool allFound,
                                      CommandResult& result) {
    std::vector<std::string> games;
    std::vector<std::string> seen;  // links resolved
    const auto add = [&](const std::string& folder) {
        const std::string resolved = reader.canonicalPath(folder).value_or(folder);
        if (std::find(seen.begin(), seen.end(), resolved) == seen.end()) {
            seen.push_back(resolved);
            games.push_back(folder);
        }
    };
    if (!game.empty() && reader.kindOf(game) != EntryKind::Folder) {
        result.err += "morvane-cli: '" + game + "' does not exist or is not a folder\n";
        result.status = 2;
        return {};
    }
    if (!game.empty())
        add(game);
    if (!allFound)
        return games;
    const find::FoundInstallations found = find::findInstallations(reader, roots);
    reportProblems(found, result);
    for (const find::Installation& installation : found.installations)
        add(installation.folder);
    if (games.empty()) {
        result.err += "morvane-cli: no game installation found\n";
        result.status = 2;
    }
    return games;
}

}  // namespace morvane::cli

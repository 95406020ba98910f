#include "core/protect/Protect.h"

#include <variant>

#include "core/backup/Backups.h"
#include "core/clean/HeldRun.h"
#include "core/game/GameLayout.h"
#include "core/scan/Scanner.h"

namespace morvane::cli {

std::optional<std::string> withFilterOn(const std::optional<std::string>& content) {
    const std::string old = content.value_or("");
    if (scan::filterSettingIn(old) == true)
        return std::nullopt;
    const std::string end = old.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    const bool ended = old.empty() || old.ends_with('\n');
    return old + (ended ? "" : end) + std::string(kFilterOnLine) + end;
}

CommandResult runProtect(Seams& seams, const std::string& game) {
    CommandResult result;
    const char sep = seams.host.separator();
    bool anyEdition = false;
    for (std::string_view edition : kEditionFolders)
        anyEdition |= seams.reader.kindOf(below(game, edition, sep)) == EntryKind::Folder;
    if (!anyEdition) {
        result = {
            {}, "morvane-cli: '" + game + "' holds no cstrike or cstrike_russian folder\n", 2};
        return result;
    }
    if (!seams.places.backupsFolder)
        return {{}, "morvane-cli: there is no folder of our own to write in (no home folder)\n", 1};
    if (seams.host.beginChanges(game, kLockWait) == RunStart::Busy)
        return {{}, "morvane-cli: another run is in progress on '" + game + "'\n", 1};
    const ChangesEnd end(seams.host);
    backup::GameBackups place(seams.reader, seams.store, *seams.places.backupsFolder,
                              seams.reader.canonicalPath(game).value_or(game));
    for (std::string_view edition : kEditionFolders) {
        if (seams.reader.kindOf(below(game, edition, sep)) != EntryKind::Folder)
            continue;
        const std::string file = std::string(edition) + "/userconfig.cfg";
        const std::string target = below(game, file, sep);
        const backup::StateRead now = backup::readState(seams.reader, game, file);
        const auto wanted =
            now.error.empty()
                ? withFilterOn(now.state.present ? std::optional(now.bytes) : std::nullopt)
                : std::nullopt;
        ChangeResult done = ChangeResult::done();
        if (!now.error.empty()) {
            done = ChangeResult::failure(now.error);
        } else if (wanted) {
            const auto staged = place.stage(std::string(edition) + "-userconfig.cfg", *wanted);
            done = std::holds_alternative<ChangeResult>(staged)
                       ? std::get<ChangeResult>(staged)
                       : seams.host.copyFile(std::get<std::string>(staged), target);
        }
        result.out += target + ": " +
                      (!done.succeeded ? "failed (" + done.reason + ")"
                       : wanted        ? std::string("cl_filterstuffcmd \"1\" added")
                                       : std::string("left alone: it turns the guard on already")) +
                      "\n";
        if (!done.succeeded)
            result.err += "morvane-cli: could not write " + target + ": " + done.reason + "\n";
    }
    place.dropStaged();

    // Where the guard stands now, as the game will read its config files.
    for (const scan::EditionProtection& edition : scan::scanGame(seams.reader, game).protection) {
        if (edition.state != scan::Protection::On)
            result.err += "morvane-cli: cl_filterstuffcmd is " +
                          std::string(scan::protectionName(edition.state)) + " in " +
                          edition.folder + ": a config file run after userconfig.cfg sets it\n";
    }
    result.status = result.err.empty() ? 0 : 1;
    return result;
}

}  // namespace morvane::cli

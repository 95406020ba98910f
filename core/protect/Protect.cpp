#include "core/protect/Protect.h"

#include <set>
#include <variant>

#include "core/backup/BackupRun.h"
#include "core/game/GameLayout.h"
#include "core/game/Leftovers.h"
#include "core/text/TextLines.h"

namespace morvane::protect {
namespace {

// The guard turned on in `file` (below `game`): what became of it.
Outcome protect(Seams& seams, backup::BackupRun& backup, const std::string& game,
                std::string_view edition) {
    const std::string file = std::string(edition) + "/userconfig.cfg";
    const backup::StateRead now = backup::readState(seams.reader, game, file);
    // Told of under its name as the folder spells it, as undo names it.
    const std::string path = below(game, now.spelled, seams.host.separator());
    const auto unread = backup.unreadable().find(file);
    if (auto left = backup::leftAlone(now, path))
        return std::move(*left);
    if (unread != backup.unreadable().end())
        return {path, Done::Failed, Cause::NotBackedUp, unread->second};
    const auto wanted = withFilterOn(now.state.present ? std::optional(now.bytes) : std::nullopt);
    if (!wanted)
        return {path, Done::Kept, Cause::None, {}};
    const auto staged = backup.backups().stage(std::string(edition) + "-userconfig.cfg", *wanted);
    ChangeResult done = std::holds_alternative<ChangeResult>(staged)
                            ? std::get<ChangeResult>(staged)
                            : seams.host.copyFile(std::get<std::string>(staged), path);
    if (done.succeeded && now.state.present)
        done = seams.host.setPermissions(path, now.state.permissions);
    if (!done.succeeded)
        return {path, Done::Failed, Cause::None, done.reason};
    return {path, Done::Rewritten, Cause::None, {}};
}

Stopped stopBefore(Seams& seams, const Request& request, const FolderLook& look) {
    if (!request.force && look.launchers.empty())
        return {Stop::NotAGameFolder, {}};
    if (look.editions.empty())
        return {Stop::NoEditionFolder, {}};
    if (!seams.places.backupsFolder)
        return {Stop::NoBackupsFolder, {}};
    return {};
}

}  // namespace

std::optional<std::string> withFilterOn(const std::optional<std::string>& content) {
    const std::string old = content.value_or("");
    if (scan::filterSettingIn(old) == true)
        return std::nullopt;
    // In the file's own line end, as an editor that wrote it would add the line.
    const std::string end(scan::lineEndOf(old));
    const bool ended = old.empty() || old.ends_with('\n') || old.ends_with('\r');
    return old + (ended ? "" : end) + std::string(kFilterOnLine) + end;
}

bool Result::done() const {
    return stop == Stop::None && notOn.empty() && !backupIncomplete && !anyFailed(files) &&
           !anyFailed(leftovers);
}

Result run(Seams& seams, const Request& request) {
    Result result;
    const std::string& game = request.game;
    const FolderLook look = lookAt(seams.reader, game);
    result.stop = stopBefore(seams, request, look);
    if (result.stop != Stop::None)
        return result;
    if (seams.host.beginChanges(game, kLockWait) == RunStart::Busy) {
        result.stop = {Stop::Busy, {}};
        return result;
    }
    const ChangesEnd end(seams.host);
    backup::BackupRun backup(seams, *seams.places.backupsFolder, game, "protect", request.now);
    std::vector<std::string> files;
    for (const std::string& edition : look.editions)
        files.push_back(edition + "/userconfig.cfg");
    result.stop = backup.start(files);
    if (result.stop != Stop::None)
        return result;
    result.leftovers = removeLeftovers(seams.host, game, files);
    std::set<std::string> changed;
    std::set<std::string> failed;  // editions
    for (const std::string& edition : look.editions) {
        result.files.push_back(protect(seams, backup, game, edition));
        if (result.files.back().done == Done::Rewritten)
            changed.insert(edition + "/userconfig.cfg");
        if (result.files.back().done == Done::Failed)
            failed.insert(edition);
    }
    backup.finish(changed);
    backup.backups().dropStaged();
    result.backupId = backup.id();
    result.backupIncomplete = backup.incomplete();

    // Where the file could not be written, the guard stands where it stood, and that is said.
    for (const scan::EditionProtection& edition : scan::scanGame(seams.reader, game).protection) {
        if (edition.state != scan::Protection::On && !failed.contains(edition.folder))
            result.notOn.push_back(edition);
    }
    return result;
}

}  // namespace morvane::protect

#include "core/protect/Protect.h"

#include <algorithm>
#include <variant>

#include "core/backup/Backups.h"
#include "core/game/GameLayout.h"

namespace morvane::protect {
namespace {

// The guard turned on in `file` (below `game`): what became of it.
EditionFile protect(Seams& seams, backup::GameBackups& place, const std::string& game,
                    std::string_view edition) {
    const std::string file = std::string(edition) + "/userconfig.cfg";
    EditionFile result{below(game, file, seams.host.separator()), EditionFile::What::Added, {}};
    const backup::StateRead now = backup::readState(seams.reader, game, file);
    if (!now.error.empty())
        return {result.path, EditionFile::What::Failed, now.error};
    const auto wanted = withFilterOn(now.state.present ? std::optional(now.bytes) : std::nullopt);
    if (!wanted)
        return {result.path, EditionFile::What::AlreadyOn, {}};
    const auto staged = place.stage(std::string(edition) + "-userconfig.cfg", *wanted);
    const ChangeResult done = std::holds_alternative<ChangeResult>(staged)
                                  ? std::get<ChangeResult>(staged)
                                  : seams.host.copyFile(std::get<std::string>(staged), result.path);
    if (!done.succeeded)
        return {result.path, EditionFile::What::Failed, done.reason};
    return result;
}

}  // namespace

std::optional<std::string> withFilterOn(const std::optional<std::string>& content) {
    const std::string old = content.value_or("");
    if (scan::filterSettingIn(old) == true)
        return std::nullopt;
    const std::string end = old.find("\r\n") != std::string::npos ? "\r\n" : "\n";
    const bool ended = old.empty() || old.ends_with('\n');
    return old + (ended ? "" : end) + std::string(kFilterOnLine) + end;
}

bool Result::done() const {
    return stop == Stop::None && notOn.empty() &&
           std::none_of(files.begin(), files.end(), [](const EditionFile& file) {
               return file.what == EditionFile::What::Failed;
           });
}

Result run(Seams& seams, const std::string& game) {
    Result result;
    const std::vector<std::string> editions = lookAt(seams.reader, game).editions;
    if (editions.empty()) {
        result.stop = Stop::NoEditionFolder;
        return result;
    }
    if (!seams.places.backupsFolder) {
        result.stop = Stop::NoPlaceOfOurOwn;
        return result;
    }
    if (seams.host.beginChanges(game, kLockWait) == RunStart::Busy) {
        result.stop = Stop::Busy;
        return result;
    }
    const ChangesEnd end(seams.host);
    backup::GameBackups place(seams.reader, seams.store, *seams.places.backupsFolder,
                              seams.reader.canonicalPath(game).value_or(game));
    for (const std::string& edition : editions)
        result.files.push_back(protect(seams, place, game, edition));
    place.dropStaged();

    for (const scan::EditionProtection& edition : scan::scanGame(seams.reader, game).protection) {
        if (edition.state != scan::Protection::On)
            result.notOn.push_back(edition);
    }
    return result;
}

}  // namespace morvane::protect

#include "core/undo/Undo.h"

#include <algorithm>
#include <variant>
#include <vector>

#include "core/backup/BackupRun.h"
#include "core/game/GameLayout.h"
#include "core/game/Leftovers.h"

namespace morvane::undo {
namespace {

using backup::FileState;
using backup::Manifest;
using backup::ManifestEntry;

backup::GameBackups backupsOf(Seams& seams, const std::string& game) {
    return backup::GameBackups(seams.reader, seams.store, seams.places.backupsFolder.value_or(""),
                               seams.reader.canonicalPath(game).value_or(game));
}

// Whether the file's bytes are those `before` recorded, so that only its permissions may differ.
bool sameBytes(const backup::StateRead& now, const FileState& before) {
    return !now.error && now.state.present && !now.state.link && now.state.size == before.size &&
           now.state.sha256 == before.sha256;
}

class Undo {
  public:
    Undo(Seams& seams, const Request& request)
        : s_(seams), request_(request), backups_(backupsOf(seams, request.game)) {}

    Result run() {
        if (!s_.places.backupsFolder)
            return stop({Stop::NoBackupsFolder, {}});
        // The folder first: a run on it (a clean) may be writing its backup.
        if (s_.host.beginChanges(request_.game, kLockWait) == RunStart::Busy)
            return stop({Stop::Busy, {}});
        const ChangesEnd end(s_.host);
        const std::vector<std::string> ids = backups_.ids();
        if (request_.id) {
            result_.id = *request_.id;
            if (std::find(ids.begin(), ids.end(), *request_.id) == ids.end())
                return stop({Stop::NoSuchBackup, {}});
        } else if (ids.empty()) {
            return stop({Stop::NoBackup, {}});
        } else {
            result_.id = ids.back();
        }
        // The manifest and the copies first: a damaged backup puts nothing back.
        auto contents = backups_.contents(result_.id);
        if (const auto* error = std::get_if<Reason>(&contents))
            return stop({Stop::BackupUnusable, *error});
        return putBack(std::get<backup::Backup>(contents));
    }

  private:
    std::string path(const std::string& file) const {
        return below(request_.game, file, s_.host.separator());
    }

    Result stop(Stopped why) {
        result_.stop = std::move(why);
        return result_;
    }

    Result putBack(const backup::Backup& backup) {
        const std::vector<ManifestEntry>& entries = backup.manifest.entries;
        std::vector<std::size_t> due;
        std::vector<backup::StateRead> now(entries.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const ManifestEntry& entry = entries[i];
            now[i] = backup::readState(s_.reader, request_.game, entry.file);
            if (!now[i].error && backup::isAsRecorded(now[i].state, entry.before))
                continue;  // as it was before the clean
            if (now[i].error || !entry.after || !backup::isAsRecorded(now[i].state, *entry.after)) {
                result_.changed.push_back({path(entry.file), Done::Changed,
                                           now[i].error ? Cause::NotRead : Cause::None,
                                           now[i].error.value_or(Reason())});
                if (!request_.force)
                    continue;
            }
            due.push_back(i);
        }
        if (!result_.changed.empty() && !request_.force)
            return stop({Stop::ChangedSince, {}});
        std::vector<std::string> files;
        for (const ManifestEntry& entry : entries)
            files.push_back(entry.file);
        result_.leftovers = removeLeftovers(s_.host, request_.game, files);
        return due.empty() ? result_ : putBack(backup, now, due);
    }

    // Puts back the files due, having backed up what they hold now.
    Result putBack(const backup::Backup& backup, const std::vector<backup::StateRead>& now,
                   const std::vector<std::size_t>& due) {
        const std::vector<ManifestEntry>& entries = backup.manifest.entries;
        backup::BackupRun saved(s_, *s_.places.backupsFolder, request_.game, "undo " + result_.id,
                                request_.now);
        std::vector<std::string> files;
        for (std::size_t i : due)
            files.push_back(entries[i].file);
        if (Stopped stopped = saved.start(files); stopped != Stop::None)
            return stop(std::move(stopped));
        for (std::size_t i : due) {
            const auto refused = saved.unreadable().find(entries[i].file);
            if (refused == saved.unreadable().end()) {
                putBack(entries[i], backup.copies[i], now[i], saved.backups());
                continue;
            }
            result_.files.push_back(
                {path(entries[i].file), Done::Failed, Cause::NotBackedUp, refused->second});
        }
        saved.finish({});
        saved.backups().dropStaged();
        result_.backupId = saved.id();
        result_.backupIncomplete = saved.incomplete();
        return result_;
    }

    void putBack(const ManifestEntry& entry, const std::string& copy, const backup::StateRead& now,
                 backup::GameBackups& place) {
        const std::string target = path(entry.file);
        const FileState& before = entry.before;
        if (before.link && before.linkTarget.empty()) {
            // Recorded without its target (before backups kept targets, or where it could not be
            // read): left as it is.
            result_.files.push_back({target, Done::Failed, Cause::LinkNotKept, {}});
            return;
        }
        ChangeResult done = ChangeResult::done();
        if (before.present && !before.link && sameBytes(now, before)) {
            done = s_.host.setPermissions(target, before.permissions);
        } else if (!now.state.link) {
            // A read-only file can be neither replaced nor removed.
            done = s_.host.setAttributes(target, Attributes::Normal);
            done = done.absent ? ChangeResult::done() : done;
        }
        if (done.succeeded && before.link) {
            done = s_.host.createLink(target, before.linkTarget);
        } else if (done.succeeded && before.present && !sameBytes(now, before)) {
            const auto staged = place.stage("undo", copy);
            done = std::holds_alternative<ChangeResult>(staged)
                       ? std::get<ChangeResult>(staged)
                       : s_.host.copyFile(std::get<std::string>(staged), target);
            if (done.succeeded)
                done = s_.host.setPermissions(target, before.permissions);
        } else if (done.succeeded && !before.present) {
            done = s_.host.deleteFile(target);
            done = done.absent ? ChangeResult::done() : done;
        }
        const Done what = !done.succeeded  ? Done::Failed
                          : before.present ? Done::PutBack
                                           : Done::Removed;
        result_.files.push_back({target, what, Cause::None, done.reason});
    }

    Seams& s_;
    const Request& request_;
    backup::GameBackups backups_;
    Result result_;
};

}  // namespace

bool Result::anyFailed() const {
    return morvane::anyFailed(files) || morvane::anyFailed(leftovers);
}

Result run(Seams& seams, const Request& request) {
    return Undo(seams, request).run();
}

Listing list(Seams& seams, const std::string& game) {
    Listing listing;
    if (!seams.places.backupsFolder) {
        listing.noBackupsFolder = true;
        return listing;
    }
    const backup::GameBackups backups = backupsOf(seams, game);
    const std::vector<std::string> ids = backups.ids();
    for (auto id = ids.rbegin(); id != ids.rend(); ++id) {
        auto manifest = backups.manifest(*id);
        if (auto* read = std::get_if<Manifest>(&manifest))
            listing.backups.push_back({*id, std::move(*read), {}});
        else
            listing.backups.push_back({*id, std::nullopt, std::get<Reason>(manifest)});
    }
    return listing;
}

}  // namespace morvane::undo

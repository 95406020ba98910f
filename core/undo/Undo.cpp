#include "core/undo/Undo.h"

#include <algorithm>
#include <variant>
#include <vector>

#include "core/backup/Backups.h"
#include "core/backup/Sha256.h"
#include "core/game/GameLayout.h"

namespace morvane::undo {
namespace {

using backup::FileState;
using backup::Manifest;
using backup::ManifestEntry;

backup::GameBackups backupsOf(Seams& seams, const std::string& game) {
    return backup::GameBackups(seams.reader, seams.store, seams.places.backupsFolder.value_or(""),
                               seams.reader.canonicalPath(game).value_or(game));
}

class Undo {
  public:
    Undo(Seams& seams, const Request& request)
        : s_(seams), request_(request), backups_(backupsOf(seams, request.game)) {}

    Result run() {
        if (!s_.places.backupsFolder)
            return stop(Stop::NoBackupsFolder);
        const std::vector<std::string> ids = backups_.ids();
        if (request_.id) {
            result_.id = *request_.id;
            if (std::find(ids.begin(), ids.end(), *request_.id) == ids.end())
                return stop(Stop::NoSuchBackup);
        } else if (ids.empty()) {
            return stop(Stop::NoBackup);
        } else {
            result_.id = ids.back();
        }
        const auto manifest = backups_.manifest(result_.id);
        if (const auto* error = std::get_if<std::string>(&manifest))
            return stop(Stop::Unusable, *error);
        return putBack(std::get<Manifest>(manifest));
    }

  private:
    std::string path(const std::string& file) const {
        return below(request_.game, file, s_.host.separator());
    }

    Result stop(Stop why, std::string detail = {}) {
        result_.stop = why;
        result_.detail = std::move(detail);
        return result_;
    }

    // The file of the first copy that is not the file its entry recorded, if any.
    std::optional<std::string> damagedCopy(const Manifest& manifest) {
        for (std::size_t i = 0; i < manifest.entries.size(); ++i) {
            const FileState& before = manifest.entries[i].before;
            const FileRead copy =
                s_.reader.readFile(backups_.copyPath(result_.id, i), backup::kMaxBackedUpFile);
            const bool kept = before.present && !before.link;
            if (kept && (!copy.bytes || backup::sha256Hex(*copy.bytes) != before.sha256))
                return manifest.entries[i].file;
        }
        return std::nullopt;
    }

    Result putBack(const Manifest& manifest) {
        // The copies first: a damaged backup puts nothing back.
        if (const auto damaged = damagedCopy(manifest))
            return stop(Stop::Damaged, *damaged);
        if (s_.host.beginChanges(request_.game, kLockWait) == RunStart::Busy)
            return stop(Stop::Busy);
        const ChangesEnd end(s_.host);

        std::vector<std::size_t> due;
        for (std::size_t i = 0; i < manifest.entries.size(); ++i) {
            const ManifestEntry& entry = manifest.entries[i];
            const backup::StateRead now = backup::readState(s_.reader, request_.game, entry.file);
            if (now.error.empty() && now.state == entry.before)
                continue;  // as it was before the clean
            if (!now.error.empty() || !entry.after || now.state != *entry.after) {
                result_.changed.push_back({path(entry.file), now.error});
                if (!request_.force)
                    continue;
            }
            due.push_back(i);
        }
        if (!result_.changed.empty() && !request_.force)
            return stop(Stop::ChangedSince);
        for (std::size_t i : due)
            putBack(manifest.entries[i], backups_.copyPath(result_.id, i));
        return result_;
    }

    void putBack(const ManifestEntry& entry, const std::string& copy) {
        const std::string target = path(entry.file);
        ChangeResult done = ChangeResult::failure("it was a link, and links are not kept");
        if (!entry.before.link) {
            // A read-only file can be neither replaced nor removed.
            const ChangeResult writable = s_.host.setAttributes(target, Attributes::Normal);
            done = writable.succeeded || writable.absent ? ChangeResult::done() : writable;
        }
        if (done.succeeded && entry.before.present) {
            done = s_.host.copyFile(copy, target);
            if (done.succeeded)
                done = s_.host.setPermissions(target, entry.before.permissions);
        } else if (done.succeeded) {
            done = s_.host.deleteFile(target);
            done = done.absent ? ChangeResult::done() : done;
        }
        const Restored::What what = !done.succeeded        ? Restored::What::Failed
                                    : entry.before.present ? Restored::What::PutBack
                                                           : Restored::What::Removed;
        result_.files.push_back({target, what, done.succeeded ? std::string() : done.reason});
    }

    Seams& s_;
    const Request& request_;
    backup::GameBackups backups_;
    Result result_;
};

}  // namespace

bool Result::anyFailed() const {
    return std::any_of(files.begin(), files.end(),
                       [](const Restored& file) { return file.what == Restored::What::Failed; });
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
            listing.backups.push_back({*id, std::nullopt, std::get<std::string>(manifest)});
    }
    return listing;
}

}  // namespace morvane::undo

#include "core/undo/Undo.h"

#include <algorithm>
#include <map>
#include <variant>
#include <vector>

#include "core/backup/Backups.h"
#include "core/backup/Sha256.h"
#include "core/clean/HeldRun.h"
#include "core/game/GameLayout.h"

namespace morvane::cli {
namespace {

using backup::Action;
using backup::FileState;
using backup::Manifest;
using backup::ManifestEntry;

std::string summaryOf(const Manifest& manifest) {
    std::map<Action, int> counts;
    for (const ManifestEntry& entry : manifest.entries)
        ++counts[entry.action];
    std::string out;
    for (const auto& [action, n] : counts) {
        if (action != Action::Unchanged)
            out += (out.empty() ? "" : ", ") + std::to_string(n) + " " +
                   std::string(backup::actionName(action));
    }
    return out.empty() ? "nothing changed" : out;
}

class Undo {
  public:
    Undo(Seams& seams, const CliOptions& options, const std::string& game)
        : s_(seams),
          options_(options),
          game_(game),
          backups_(seams.reader, seams.store, seams.places.backupsFolder.value_or(""),
                   seams.reader.canonicalPath(game).value_or(game)) {}

    CommandResult run() {
        if (!s_.places.backupsFolder)
            return fail(1, "there is no folder for backups (no home folder)");
        const std::vector<std::string> ids = backups_.ids();
        if (options_.list)
            return list(ids);
        std::string id;
        if (options_.run) {
            if (std::find(ids.begin(), ids.end(), *options_.run) == ids.end())
                return fail(2, "there is no backup '" + *options_.run + "' of '" + game_ + "'");
            id = *options_.run;
        } else if (ids.empty()) {
            return fail(1, "there is no backup of '" + game_ + "' to undo");
        } else {
            id = ids.back();
        }
        const auto manifest = backups_.manifest(id);
        if (const auto* error = std::get_if<std::string>(&manifest))
            return fail(1, "the backup " + id + " cannot be used: " + *error);
        return putBack(id, std::get<Manifest>(manifest));
    }

  private:
    std::string path(const std::string& file) const {
        return below(game_, file, s_.host.separator());
    }

    CommandResult fail(int status, const std::string& why) {
        result_.err += "morvane-cli: " + why + "; nothing was changed\n";
        result_.status = status;
        return result_;
    }

    CommandResult list(const std::vector<std::string>& ids) {
        for (auto id = ids.rbegin(); id != ids.rend(); ++id) {
            const auto manifest = backups_.manifest(*id);
            const auto* read = std::get_if<Manifest>(&manifest);
            result_.out += *id + "  " +
                           (read ? read->time + "  " + summaryOf(*read)
                                 : "cannot be used: " + std::get<std::string>(manifest)) +
                           "\n";
        }
        if (ids.empty())
            result_.out = "no backup of " + game_ + "\n";
        return result_;
    }

    CommandResult putBack(const std::string& id, const Manifest& manifest) {
        // The copies first: a damaged backup puts nothing back.
        for (std::size_t i = 0; i < manifest.entries.size(); ++i) {
            const FileState& before = manifest.entries[i].before;
            const FileRead copy =
                s_.reader.readFile(backups_.copyPath(id, i), backup::kMaxBackedUpFile);
            const bool kept = before.present && !before.link;
            if (kept && (!copy.bytes || backup::sha256Hex(*copy.bytes) != before.sha256))
                return fail(1, "the backup " + id + " is damaged: its copy of " +
                                   manifest.entries[i].file + " is not the file it recorded");
        }
        if (s_.host.beginChanges(game_, kLockWait) == RunStart::Busy)
            return fail(1, "another run is in progress on '" + game_ + "'");
        const ChangesEnd end(s_.host);

        std::vector<std::size_t> due;
        std::string changed;
        for (std::size_t i = 0; i < manifest.entries.size(); ++i) {
            const ManifestEntry& entry = manifest.entries[i];
            const backup::StateRead now = backup::readState(s_.reader, game_, entry.file);
            if (now.error.empty() && now.state == entry.before)
                continue;  // as it was before the clean
            if (!now.error.empty() || !entry.after || now.state != *entry.after) {
                changed += "morvane-cli: " + path(entry.file) +
                           (now.error.empty() ? " changed since the clean"
                                              : " cannot be read (" + now.error + ")") +
                           "\n";
                if (!options_.force)
                    continue;
            }
            due.push_back(i);
        }
        if (!changed.empty() && !options_.force) {
            result_.err += changed;
            return fail(1, "the files above are left as they are (--force puts them back too)");
        }
        for (std::size_t i : due)
            putBack(manifest.entries[i], backups_.copyPath(id, i));
        result_.status = result_.err.empty() ? 0 : 1;
        if (due.empty())
            result_.out += "nothing to put back: " + game_ + " is as before the clean " + id + "\n";
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
        if (done.succeeded) {
            result_.out += target + ": " + (entry.before.present ? "put back" : "removed") + "\n";
        } else {
            result_.out += target + ": failed (" + done.reason + ")\n";
            result_.err += "morvane-cli: could not put back " + target + ": " + done.reason + "\n";
        }
    }

    Seams& s_;
    const CliOptions& options_;
    const std::string& game_;
    backup::GameBackups backups_;
    CommandResult result_;
};

}  // namespace

CommandResult runUndo(Seams& seams, const CliOptions& options, const std::string& game) {
    return Undo(seams, options, game).run();
}

}  // namespace morvane::cli

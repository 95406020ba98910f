#include "core/clean/Clean.h"

#include <algorithm>
#include <optional>
#include <set>
#include <variant>
#include <vector>

#include "core/backup/Backups.h"
#include "core/clean/KeptLines.h"
#include "core/game/GameLayout.h"
#include "core/scan/Scanner.h"
#include "engine/RemovalRun.h"
#include "engine/Replacements.h"
#include "engine/Search.h"

namespace morvane::clean {
namespace {

// A file of the game that the clean may change, and what the driver itself does to it.
struct Planned {
    enum class Own { Nothing, Rewrite, Delete };
    std::string file;  // below the game folder, '/' separated
    Own own = Own::Nothing;
    std::set<int> lines;  // to rewrite: the planted lines
};

std::string relativeOf(const SlotInfo& slot) {
    std::string file(slot.relative.substr(1));
    std::replace(file.begin(), file.end(), '\\', '/');
    return file;
}

bool inAttributeSet(const std::string& file) {
    return std::any_of(kSlots.begin(), kSlots.begin() + kAttributeSetSize,
                       [&](const SlotInfo& slot) { return relativeOf(slot) == file; });
}

// Every target of the removal run, then what --keep-settings treats of the scan's findings.
std::vector<Planned> plan(const Request& request, const scan::ScanReport* report) {
    std::vector<Planned> planned;
    const auto entry = [&](const std::string& file) -> Planned& {
        const auto found = std::find_if(planned.begin(), planned.end(),
                                        [&](const Planned& p) { return p.file == file; });
        return found != planned.end()
                   ? *found
                   : planned.emplace_back(Planned{file, Planned::Own::Nothing, {}});
    };
    for (const SlotInfo& slot : kSlots)
        entry(relativeOf(slot));
    if (report == nullptr)
        return planned;
    for (const scan::Finding& finding : report->findings) {
        const auto group = scan::groupOf(finding.file);
        const auto kind = scan::fileKindOf(finding.file);
        if (!group || !kind || !request.groups[static_cast<std::size_t>(*group)])
            continue;
        Planned& file = entry(finding.file);
        const bool downloaded = finding.file.starts_with(std::string(kDownloadsFolder) + "/");
        if (*kind == scan::FileKind::GameConfig || *kind == scan::FileKind::OwnConfig) {
            file.own = Planned::Own::Rewrite;
            file.lines.insert(finding.line);
        } else if (downloaded) {
            file.own = Planned::Own::Delete;  // a server's file: nothing of the player's in it
        }
    }
    return planned;
}

class Clean {
  public:
    Clean(Seams& seams, const Request& request) : s_(seams), request_(request) {}

    Result run() {
        if (!request_.force && !isGameFolder(s_.reader, request_.game))
            return stop(Stop::NotAGameFolder);
        EngineRecord record;
        record.gameFolder = request_.game;
        record.options = request_.groups;
        record.blockServerMotd = request_.blockServerMotd;
        record.readOnly = request_.readOnly;
        result_.found = search(record, s_.host);
        if (s_.host.beginChanges(request_.game, kLockWait) == RunStart::Busy)
            return stop(Stop::Busy);
        const ChangesEnd end(s_.host);

        scan::ScanReport scanned;
        if (request_.keepSettings) {
            scanned = scan::scanGame(s_.reader, request_.game);
            for (const scan::UnreadFile& unread : scanned.unread)
                result_.notRead.push_back({path(unread.file), unread.reason});
        }
        const std::vector<Planned> planned =
            plan(request_, request_.keepSettings ? &scanned : nullptr);
        if (request_.backUp || request_.keepSettings) {
            if (!s_.places.backupsFolder)
                return stop(Stop::NoBackupsFolder);
            backups_.emplace(s_.reader, s_.store, *s_.places.backupsFolder,
                             s_.reader.canonicalPath(request_.game).value_or(request_.game));
        }
        if (request_.backUp && !backUp(planned))
            return result_;

        treatOwn(planned, scanned);
        if (request_.keepSettings)
            record.found(Group::Config) = false;  // rewritten above instead of deleted
        const RemovalReport removal =
            runRemoval(record, s_.host, ReplacementSource{request_.filesFolder});
        if (request_.readOnly)
            lockRewritten();
        if (!result_.backupId.empty())
            completeBackup();
        if (backups_) {
            backups_->dropStaged();
            backups_->prune();
        }
        summarise(removal);
        return result_;
    }

  private:
    std::string path(const std::string& file) const {
        return below(request_.game, file, s_.host.separator());
    }

    Result stop(Stop why, std::string reason = {}) {
        result_.stop = why;
        result_.stopReason = std::move(reason);
        return result_;
    }

    // Copies every planned file that is there, then the manifest. False, with nothing changed
    // and nothing of the backup left, when any of it cannot be written.
    bool backUp(const std::vector<Planned>& planned) {
        const auto created = backups_->create(request_.now);
        if (created.id.empty()) {
            stop(Stop::BackupNotMade, created.error);
            return false;
        }
        const std::string& game = request_.game;
        manifest_ = {
            s_.reader.canonicalPath(game).value_or(game), backup::isoTime(request_.now), {}};
        for (std::size_t i = 0; i < planned.size(); ++i) {
            const backup::StateRead read = backup::readState(s_.reader, game, planned[i].file);
            std::string failure = read.error.empty() ? "" : planned[i].file + ": " + read.error;
            if (failure.empty() && read.state.present && !read.state.link) {
                const ChangeResult copied = backups_->writeCopy(created.id, i, read.bytes);
                failure = copied.succeeded ? "" : copied.reason;
            }
            if (!failure.empty()) {
                backups_->remove(created.id);
                stop(Stop::BackupNotWritten, failure);
                return false;
            }
            manifest_.entries.push_back({planned[i].file, backup::Action::Pending, read.state, {}});
        }
        if (const ChangeResult written = backups_->writeManifest(created.id, manifest_);
            !written.succeeded) {
            backups_->remove(created.id);
            stop(Stop::BackupNotWritten, written.reason);
            return false;
        }
        result_.backupId = created.id;
        return true;
    }

    // What keepSettings does before the removal run.
    void treatOwn(const std::vector<Planned>& planned, const scan::ScanReport& report) {
        for (std::size_t i = 0; i < planned.size(); ++i) {
            const Planned& file = planned[i];
            const std::string target = path(file.file);
            if (file.own == Planned::Own::Delete) {
                own_.attempt(Operation::Delete, target, s_.host.deleteFile(target));
            } else if (file.own == Planned::Own::Rewrite) {
                const std::string kept = withoutLines(report.contents.at(file.file), file.lines);
                const auto staged = backups_->stage("rewrite-" + std::to_string(i), kept);
                if (const auto* failed = std::get_if<ChangeResult>(&staged)) {
                    own_.attempt(Operation::Copy, target, *failed);
                    continue;
                }
                // As the removal run does for these files, and would do next.
                if (inAttributeSet(file.file)) {
                    own_.attempt(Operation::SetAttributes, target,
                                 s_.host.setAttributes(target, Attributes::Normal));
                }
                const ChangeResult copied = s_.host.copyFile(std::get<std::string>(staged), target);
                own_.attempt(Operation::Copy, target, copied);
                rewritten_.insert(target);
                if (copied.succeeded && inAttributeSet(file.file))
                    lockable_.push_back(target);
            }
        }
    }

    // The read-only option marks what the clean wrote, as the removal run does for its copies: of
    // the rewritten files, those of the attribute set, which the removal run made writable again.
    void lockRewritten() {
        for (const std::string& target : lockable_)
            locked_.attempt(Operation::SetAttributes, target,
                            s_.host.setAttributes(target, Attributes::ReadOnly));
    }

    // Records what became of each file; without it, undo cannot tell what changed since. A clean
    // that changed nothing leaves no backup, so that it pushes no useful one out.
    void completeBackup() {
        bool changed = false;
        for (backup::ManifestEntry& entry : manifest_.entries) {
            const backup::StateRead read = backup::readState(s_.reader, request_.game, entry.file);
            if (!read.error.empty())
                continue;  // unknown: undo asks for --force
            entry.after = read.state;
            entry.action =
                backup::actionOf(entry.before, read.state, rewritten_.contains(path(entry.file)));
            changed |= entry.action != backup::Action::Unchanged;
        }
        if (!changed && std::all_of(manifest_.entries.begin(), manifest_.entries.end(),
                                    [](const auto& entry) { return entry.after.has_value(); })) {
            backups_->remove(result_.backupId);
            result_.backupId.clear();
            return;
        }
        if (const ChangeResult written = backups_->writeManifest(result_.backupId, manifest_);
            !written.succeeded) {
            result_.backupIncomplete = written.reason;
        }
    }

    void summarise(const RemovalReport& removal) {
        std::vector<Step> steps = own_.all();
        steps.insert(steps.end(), removal.steps.all().begin(), removal.steps.all().end());
        steps.insert(steps.end(), locked_.all().begin(), locked_.all().end());
        result_.files = fileOutcomes(steps);
        for (FileOutcome& file : result_.files) {
            if (file.action == FileAction::Replaced && rewritten_.contains(file.path))
                file.action = FileAction::Rewritten;
        }
        result_.verdict = removal.verdict;
    }

    Seams& s_;
    const Request& request_;
    std::optional<backup::GameBackups> backups_;
    backup::Manifest manifest_;
    Steps own_;
    Steps locked_;
    std::set<std::string> rewritten_;    // paths
    std::vector<std::string> lockable_;  // rewritten files of the attribute set, in plan order
    Result result_;
};

}  // namespace

Result run(Seams& seams, const Request& request) {
    return Clean(seams, request).run();
}

std::vector<MissingReplacement> missingReplacements(FileHost& host, const Request& request) {
    const ReplacementSource source{request.filesFolder};
    const auto names = neededReplacements(request.groups, request.blockServerMotd);
    const std::string folder = replacementFolder(host, source).value_or("");
    std::vector<MissingReplacement> missing;
    for (std::string_view name : missingReplacements(names, host, source)) {
        const std::string path = replacementPath(folder, name, host.separator());
        missing.push_back({std::string(name), path, host.lookupFile(path) == Lookup::Absent});
    }
    return missing;
}

}  // namespace morvane::clean

#include "core/clean/Clean.h"

#include <algorithm>
#include <optional>
#include <set>
#include <variant>
#include <vector>

#include "cli/CliReport.h"
#include "core/backup/Backups.h"
#include "core/clean/HeldRun.h"
#include "core/clean/KeptLines.h"
#include "core/game/GameLayout.h"
#include "core/scan/Scanner.h"
#include "engine/RemovalRun.h"
#include "engine/Search.h"

namespace morvane::cli {
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
std::vector<Planned> plan(const CliOptions& options, const scan::ScanReport* report) {
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
        // Only what is planted is taken out; suspect lines are the player's to judge.
        if (finding.level() != scan::Level::Planted)
            continue;
        const auto group = scan::groupOf(finding.file);
        const auto kind = scan::fileKindOf(finding.file);
        if (!group || !kind || !options.groups[static_cast<std::size_t>(*group)])
            continue;
        Planned& file = entry(finding.file);
        const bool serversFile = scan::isServersFile(finding.file);
        if (*kind == scan::FileKind::GameConfig || *kind == scan::FileKind::OwnConfig) {
            file.own = Planned::Own::Rewrite;
            file.lines.insert(finding.line);
        } else if (serversFile) {
            file.own = Planned::Own::Delete;  // a server's file: nothing of the player's in it
        }
    }
    return planned;
}

class Clean {
  public:
    Clean(Seams& seams, const CliOptions& options, const std::string& game)
        : s_(seams), options_(options), game_(game) {}

    CommandResult run(std::time_t now) {
        EngineRecord record;
        record.gameFolder = game_;
        record.options = options_.groups;
        record.blockServerMotd = options_.blockServerMotd;
        record.readOnly = options_.readOnly;
        const auto status = search(record, s_.host);
        if (s_.host.beginChanges(game_, kLockWait) == RunStart::Busy)
            return stop("another run is in progress on '" + game_ + "'");
        const ChangesEnd end(s_.host);

        scan::ScanReport scanned;
        if (options_.keepSettings) {
            scanned = scan::scanGame(s_.reader, game_);
            for (const scan::UnreadFile& unread : scanned.unread)
                problems_ += "morvane-cli: " + path(unread.file) + ": not read (" + unread.reason +
                             "), so not treated\n";
        }
        const std::vector<Planned> planned =
            plan(options_, options_.keepSettings ? &scanned : nullptr);
        if (!options_.noBackup || options_.keepSettings) {
            if (!s_.places.backupsFolder)
                return stop("there is no folder for backups (no home folder)");
            backups_.emplace(s_.reader, s_.store, *s_.places.backupsFolder,
                             s_.reader.canonicalPath(game_).value_or(game_));
        }
        if (!options_.noBackup && !backUp(planned, now))
            return result_;

        treatOwn(planned, scanned);
        if (options_.keepSettings)
            record.found(Group::Config) = false;  // rewritten above instead of deleted
        HeldRun held(s_.host);
        const RemovalReport removal =
            runRemoval(record, held, ReplacementSource{options_.filesFolder}, kLockWait);
        if (!backupId_.empty())
            completeBackup();
        if (backups_) {
            backups_->dropStaged();
            backups_->prune();
        }
        return summary(status, removal);
    }

  private:
    std::string path(const std::string& file) const {
        return below(game_, file, s_.host.separator());
    }

    CommandResult stop(const std::string& why) {
        result_.err += "morvane-cli: " + why + "; nothing was changed\n";
        result_.status = 1;
        return result_;
    }

    // Copies every planned file that is there, then the manifest. False, with nothing changed
    // and nothing of the backup left, when any of it cannot be written.
    bool backUp(const std::vector<Planned>& planned, std::time_t now) {
        const auto created = backups_->create(now);
        if (created.id.empty()) {
            stop("the backup cannot be made (" + created.error + ")");
            return false;
        }
        manifest_ = {s_.reader.canonicalPath(game_).value_or(game_), backup::isoTime(now), {}};
        for (std::size_t i = 0; i < planned.size(); ++i) {
            const backup::StateRead read = backup::readState(s_.reader, game_, planned[i].file);
            std::string failure = read.error.empty() ? "" : planned[i].file + ": " + read.error;
            if (failure.empty() && read.state.present && !read.state.link) {
                const ChangeResult copied = backups_->writeCopy(created.id, i, read.bytes);
                failure = copied.succeeded ? "" : copied.reason;
            }
            if (!failure.empty()) {
                backups_->remove(created.id);
                stop("the backup cannot be written (" + failure + ")");
                return false;
            }
            manifest_.entries.push_back({planned[i].file, backup::Action::Pending, read.state, {}});
        }
        if (const ChangeResult written = backups_->writeManifest(created.id, manifest_);
            !written.succeeded) {
            backups_->remove(created.id);
            stop("the backup cannot be written (" + written.reason + ")");
            return false;
        }
        backupId_ = created.id;
        return true;
    }

    // What --keep-settings does before the removal run.
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
                own_.attempt(Operation::Copy, target,
                             s_.host.copyFile(std::get<std::string>(staged), target));
                rewritten_.insert(target);
            }
        }
    }

    // Records what became of each file; without it, undo cannot tell what changed since. A clean
    // that changed nothing leaves no backup, so that it pushes no useful one out.
    void completeBackup() {
        bool changed = false;
        for (backup::ManifestEntry& entry : manifest_.entries) {
            const backup::StateRead read = backup::readState(s_.reader, game_, entry.file);
            if (!read.error.empty())
                continue;  // unknown: undo asks for --force
            entry.after = read.state;
            entry.action =
                backup::actionOf(entry.before, read.state, rewritten_.contains(path(entry.file)));
            changed |= entry.action != backup::Action::Unchanged;
        }
        if (!changed && std::all_of(manifest_.entries.begin(), manifest_.entries.end(),
                                    [](const auto& entry) { return entry.after.has_value(); })) {
            backups_->remove(backupId_);
            backupId_.clear();
            return;
        }
        if (const ChangeResult written = backups_->writeManifest(backupId_, manifest_);
            !written.succeeded) {
            problems_ += "morvane-cli: the backup " + backupId_ + " cannot be completed (" +
                         written.reason + "): undo will need --force\n";
        }
    }

    CommandResult summary(const std::array<bool, kGroupCount>& status,
                          const RemovalReport& removal) {
        std::vector<Step> steps = own_.all();
        steps.insert(steps.end(), removal.steps.all().begin(), removal.steps.all().end());
        std::vector<FileOutcome> files = fileOutcomes(steps);
        for (FileOutcome& file : files) {
            if (file.action == FileAction::Replaced && rewritten_.contains(file.path))
                file.action = FileAction::Rewritten;
        }
        result_.out = formatReport(status, removal.verdict, files, options_.json, backupId_);
        for (const FileOutcome& file : files) {
            if (file.action == FileAction::Failed)
                problems_ +=
                    "morvane-cli: could not treat " + file.path + ": " + file.reason + '\n';
        }
        result_.err += problems_;
        result_.status = problems_.empty() ? 0 : 1;
        return result_;
    }

    Seams& s_;
    const CliOptions& options_;
    const std::string& game_;
    std::optional<backup::GameBackups> backups_;
    std::string backupId_;
    backup::Manifest manifest_;
    Steps own_;
    std::set<std::string> rewritten_;  // paths
    std::string problems_;
    CommandResult result_;
};

}  // namespace

CommandResult runClean(Seams& seams, const CliOptions& options, const std::string& game,
                       std::time_t now) {
    return Clean(seams, options, game).run(now);
}

}  // namespace morvane::cli

#include "core/clean/Clean.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <variant>
#include <vector>

#include "core/backup/BackupRun.h"
#include "core/clean/FileOutcomes.h"
#include "core/clean/GuardedHost.h"
#include "core/clean/Kept.h"
#include "core/game/GameLayout.h"
#include "core/game/Leftovers.h"
#include "core/scan/Family.h"
#include "core/scan/Scanner.h"
#include "engine/RemovalRun.h"
#include "engine/Replacements.h"
#include "engine/Search.h"

namespace morvane::clean {
namespace {

// `change` to `target`; when it fails on a file that is there, once more after making the file
// writable, as a read-only one refuses to be replaced or deleted. When that fails too, the file
// gets back what it had.
template <typename Change>
ChangeResult evenReadOnly(FileHost& host, const std::string& target, Change change) {
    const ChangeResult first = change();
    if (first.succeeded || first.absent)
        return first;
    const ChangeResult unlocked = host.setAttributes(target, Attributes::Normal);
    if (!unlocked.succeeded)
        return first;
    const ChangeResult second = change();
    if (!second.succeeded && unlocked.previous)
        host.setPermissions(target, *unlocked.previous);
    return second;
}

// A file of the game that the clean may change, and what the driver itself does to it.
struct Planned {
    enum class Own { Nothing, Rewrite, Delete };
    std::string file;  // below the game folder, '/' separated
    Own own = Own::Nothing;
    scan::Keep keep = scan::Keep::Leave;  // to rewrite: how
    std::vector<scan::Finding> planted;   // to rewrite: what is taken out
};

// The slots the removal run may change: those of the chosen groups (their attributes, and the
// files of those found), and the welcome-page temp files, whose attributes it always changes.
std::vector<Slot> slotsInScope(const Request& request) {
    std::vector<Slot> slots;
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        if (request.groups[g]) {
            const auto group = searchSlots(static_cast<Group>(g));
            slots.insert(slots.end(), group.begin(), group.end());
        }
    }
    slots.insert(slots.end(), {Slot::motdTempPath, Slot::motdTempRuPath});
    return slots;
}

// Every target the removal run may change, then what --keep-settings treats of the scan's findings.
std::vector<Planned> plan(const Request& request, const scan::ScanReport* report) {
    std::vector<Planned> planned;
    const auto entry = [&](const std::string& file) -> Planned& {
        const auto found = std::find_if(planned.begin(), planned.end(),
                                        [&](const Planned& p) { return p.file == file; });
        return found != planned.end()
                   ? *found
                   : planned.emplace_back(Planned{file, Planned::Own::Nothing, {}, {}});
    };
    for (const Slot slot : slotsInScope(request))
        entry(slotFile(slotInfo(slot)));
    if (report == nullptr)
        return planned;
    for (const scan::Finding& finding : report->findings) {
        // Only what is planted is taken out; suspect lines are the player's to judge.
        if (finding.level() != scan::Level::Planted)
            continue;
        const scan::Place* place = finding.place;
        if (place == nullptr || place->keep == scan::Keep::Leave ||
            !request.groups[static_cast<std::size_t>(place->group)])
            continue;
        Planned& file = entry(finding.file);
        file.keep = place->keep;
        if (place->keep == scan::Keep::Delete) {
            file.own = Planned::Own::Delete;  // a server's file: nothing of the player's in it
        } else {
            file.own = Planned::Own::Rewrite;
            file.planted.push_back(finding);
        }
    }
    return planned;
}

class Clean {
  public:
    Clean(Seams& seams, const Request& request) : s_(seams), request_(request) {}

    Result run() {
        if (!request_.force && !isGameFolder(s_.reader, request_.game))
            return stop({Stop::NotAGameFolder, {}});
        EngineRecord record;
        record.gameFolder = request_.game;
        record.options = request_.groups;
        record.blockServerMotd = request_.blockServerMotd;
        record.readOnly = request_.readOnly;
        search(record, s_.host, ReplacementSource{request_.filesFolder});
        return treat(record);
    }

    // What follows the search, on a record searched already, in one run on the game folder: the
    // backup, the removal run with what keepSettings does within it, and the record of both.
    Result treat(EngineRecord& record) {
        result_.found = record.status;
        if (s_.host.beginChanges(request_.game, kLockWait) == RunStart::Busy)
            return stop({Stop::Busy, {}});
        const ChangesEnd end(s_.host);

        scan::ScanReport scanned;
        if (request_.keepSettings) {
            scanned = scan::scanGame(s_.reader, request_.game);
            for (const Outcome& unread : scanned.unread) {
                // A file of a group not chosen was never to be treated.
                const scan::Placed placed = scan::placeOf(unread.path);
                if (placed.place == nullptr ||
                    request_.groups[static_cast<std::size_t>(placed.place->group)]) {
                    Outcome notRead = unread;
                    notRead.path = path(unread.path);
                    result_.notRead.push_back(std::move(notRead));
                }
            }
        }
        const std::vector<Planned> planned =
            plan(request_, request_.keepSettings ? &scanned : nullptr);
        if (request_.backUp || request_.keepSettings) {
            if (!s_.places.backupsFolder)
                return stop({Stop::NoBackupsFolder, {}});
            backup_.emplace(s_, *s_.places.backupsFolder, request_.game, "clean", request_.now);
        }
        std::vector<std::string> files;
        for (const Planned& file : planned)
            files.push_back(file.file);
        if (request_.backUp && !backUp(files))
            return result_;
        for (const std::string& file : files) {
            // Read before the run, as a file it deletes has no name after it.
            spelled_.emplace(path(file), path(backup::spelledAs(s_.reader, request_.game, file)));
        }
        leftovers_ = removeLeftovers(s_.host, request_.game, files);
        remove(record, planned, scanned);
        return result_;
    }

  private:
    std::string path(const std::string& file) const {
        return below(request_.game, file, s_.host.separator());
    }

    Result stop(Stopped why) {
        result_.stop = std::move(why);
        return result_;
    }

    // Copies every file of `files` that is there. False, with nothing changed and nothing of the
    // backup left, when it cannot be made or written; a file that cannot be read into it is left
    // alone by the clean.
    bool backUp(const std::vector<std::string>& files) {
        if (Stopped stopped = backup_->start(files); stopped != Stop::None) {
            stop(std::move(stopped));
            return false;
        }
        for (const auto& [file, why] : backup_->unreadable())
            refused_.emplace(path(file), why);
        return true;
    }

    // The removal run, with what keepSettings does within it; then what became of each file.
    void remove(EngineRecord& record, const std::vector<Planned>& planned,
                const scan::ScanReport& scanned) {
        const std::vector<backup::StateRead> before = readOwn(planned);
        GuardedHost host(s_.host, refused_);
        if (request_.keepSettings)
            record.found(Group::Config) = false;  // rewritten instead of deleted
        const RemovalReport removal =
            runRemoval(record, host, ReplacementSource{request_.filesFolder},
                       [&](Steps& steps) { treatOwn(planned, before, scanned, host, steps); });
        if (backup_) {
            backup_->finish(rewritten_);
            result_.backupId = backup_->id();
            result_.backupIncomplete = backup_->incomplete();
            backup_->backups().dropStaged();
        }
        summarise(removal);
    }

    // The state of each file whose lines keepSettings takes out, before the run changes anything.
    std::vector<backup::StateRead> readOwn(const std::vector<Planned>& planned) const {
        std::vector<backup::StateRead> states(planned.size());
        for (std::size_t i = 0; i < planned.size(); ++i) {
            if (planned[i].own == Planned::Own::Rewrite)
                states[i] = backup::readState(s_.reader, request_.game, planned[i].file);
        }
        return states;
    }

    // What keepSettings does, within the removal run: a rewritten file keeps its permissions.
    void treatOwn(const std::vector<Planned>& planned, const std::vector<backup::StateRead>& before,
                  const scan::ScanReport& report, FileHost& host, Steps& steps) {
        for (std::size_t i = 0; i < planned.size(); ++i) {
            const Planned& file = planned[i];
            const std::string target = path(file.file);
            if (file.own == Planned::Own::Delete) {
                // A server's file, kept in the backup: its read-only mark does not keep it.
                steps.attempt(Operation::Delete, target,
                              evenReadOnly(host, target, [&] { return host.deleteFile(target); }));
            } else if (file.own == Planned::Own::Rewrite) {
                if (auto left = backup::leftAlone(before[i], target)) {
                    steps.attempt(Operation::Copy, target, ChangeResult::failure(reasonOf(*left)));
                    leftAlone_.emplace(target, std::move(*left));
                    continue;
                }
                const std::string kept =
                    keptContent(file.keep, report.contents.at(file.file), file.planted);
                const auto staged = backup_->backups().stage("rewrite-" + std::to_string(i), kept);
                if (const auto* failed = std::get_if<ChangeResult>(&staged)) {
                    steps.attempt(Operation::Copy, target, *failed);
                    continue;
                }
                // A read-only file is made writable for the copy, and its own permissions are
                // given back right after, whether or not the copy went through. (The read-only
                // option marks what the copy wrote, as the removal run's own copies.)
                const ChangeResult copied = evenReadOnly(host, target, [&] {
                    return host.copyFile(std::get<std::string>(staged), target);
                });
                steps.attempt(Operation::Copy, target, copied);
                if (copied.succeeded) {
                    rewritten_.insert(file.file);
                    guarded_.emplace(target, guardsOf(before[i].state.permissions));
                }
                steps.attempt(Operation::SetAttributes, target,
                              host.setPermissions(target, before[i].state.permissions));
            }
        }
    }

    void summarise(const RemovalReport& removal) {
        result_.files = std::move(leftovers_);
        const std::vector<Outcome> treated = fileOutcomes(removal.steps.all());
        result_.files.insert(result_.files.end(), treated.begin(), treated.end());
        for (Outcome& file : result_.files) {
            const bool rewritten =
                std::any_of(rewritten_.begin(), rewritten_.end(),
                            [&](const auto& own) { return path(own) == file.path; });
            if (file.done == Done::Replaced && rewritten)
                file.done = Done::Rewritten;
            if (const auto guarded = guarded_.find(file.path); guarded != guarded_.end())
                file.guards = guarded->second;
            // Whatever the run met there too, that is why nothing was done to it.
            if (const auto left = leftAlone_.find(file.path); left != leftAlone_.end()) {
                file.cause = left->second.cause;
                file.detail = left->second.detail;
            }
        }
        nameAsSpelled(result_.files);
        // A file the removal run replaced or deleted all the same was treated, read or not.
        std::erase_if(result_.notRead, [&](const Outcome& unread) {
            return std::any_of(result_.files.begin(), result_.files.end(), [&](const auto& file) {
                return file.path == unread.path &&
                       (file.done == Done::Replaced || file.done == Done::Deleted);
            });
        });
        result_.verdict = removal.verdict;
    }

    // Each file under its name as the folder spelled it before the run, as undo and the scan name
    // it; a file met twice (as the removal run and as keepSettings name it) is told of once.
    void nameAsSpelled(std::vector<Outcome>& files) const {
        std::vector<Outcome> named;
        for (Outcome& file : files) {
            if (const auto spelled = spelled_.find(file.path); spelled != spelled_.end())
                file.path = spelled->second;
            const auto same = std::find_if(named.begin(), named.end(),
                                           [&](const Outcome& o) { return o.path == file.path; });
            if (same == named.end())
                named.push_back(std::move(file));
            else if (same->done == Done::Absent)
                *same = std::move(file);
            else if (file.done != Done::Absent)
                named.push_back(std::move(file));
        }
        files = std::move(named);
    }

    Seams& s_;
    const Request& request_;
    std::optional<backup::BackupRun> backup_;
    std::map<std::string, Reason> refused_;       // paths that could not be backed up, and why
    std::set<std::string> rewritten_;             // files, '/' separated
    std::map<std::string, Outcome> leftAlone_;    // paths whose lines were not taken out: why
    std::vector<Outcome> leftovers_;              // what a killed run left, removed first
    std::map<std::string, Guards> guarded_;       // rewritten paths, and what guarded them
    std::map<std::string, std::string> spelled_;  // planned paths, and as the folder spelled them
    Result result_;
};

}  // namespace

Result run(Seams& seams, const Request& request) {
    return Clean(seams, request).run();
}

Result removeSearched(Seams& seams, EngineRecord& record, std::time_t now) {
    Request request;
    request.game = record.gameFolder;
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        const auto slots = searchSlots(static_cast<Group>(g));
        request.groups[g] = std::any_of(slots.begin(), slots.end(),
                                        [&](Slot slot) { return !record.slot(slot).empty(); });
    }
    request.blockServerMotd = record.blockServerMotd;
    request.readOnly = record.readOnly;
    request.now = now;
    return Clean(seams, request).treat(record);
}

std::vector<MissingReplacement> missingReplacements(FileHost& host, const Request& request) {
    const ReplacementSource source{request.filesFolder};
    const auto names = neededReplacements(request.groups, request.blockServerMotd);
    const std::optional<std::string> folder = replacementFolder(host, source);
    std::vector<MissingReplacement> missing;
    for (std::string_view name : missingReplacements(names, host, source)) {
        const std::string path =
            folder ? replacementPath(*folder, name, host.separator()) : std::string(name);
        missing.push_back({std::string(name), path, host.lookupFile(path) == Lookup::Absent});
    }
    return missing;
}

}  // namespace morvane::clean

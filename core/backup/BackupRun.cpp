#include "core/backup/BackupRun.h"

#include <algorithm>

namespace morvane::backup {

BackupRun::BackupRun(Seams& seams, const std::string& backups, const std::string& game,
                     std::string by, std::time_t now)
    : s_(seams),
      game_(game),
      now_(now),
      backups_(seams.reader, seams.store, backups,
               seams.reader.canonicalPath(game).value_or(game)) {
    manifest_.game = seams.reader.canonicalPath(game).value_or(game);
    manifest_.time = isoTime(now);
    manifest_.by = std::move(by);
}

Stopped BackupRun::start(const std::vector<std::string>& files) {
    const GameBackups::Created created = backups_.create(now_);
    if (created.id.empty())
        return {Stop::BackupNotMade, created.error};
    manifest_.number = created.number;
    for (const std::string& file : files) {
        StateRead read = readState(s_.reader, game_, file);
        const auto known =
            std::find_if(manifest_.entries.begin(), manifest_.entries.end(),
                         [&](const ManifestEntry& entry) { return entry.file == read.spelled; });
        if (!read.error && known != manifest_.entries.end()) {
            asked_[static_cast<std::size_t>(known - manifest_.entries.begin())].insert(file);
            continue;
        }
        if (!read.error && copies_.size() + read.bytes.size() > kMaxCopies)
            read.error = becauseN("the backup would pass %d byte", "the backup would pass %d bytes",
                                  kMaxCopies, kMaxCopies);
        if (read.error) {
            unreadable_.emplace(file, *read.error);
            continue;
        }
        copies_ += read.bytes;
        manifest_.entries.push_back({read.spelled, Action::Pending, read.state, std::nullopt});
        asked_.push_back({file});
    }
    if (const ChangeResult written = backups_.write(created.id, manifest_, copies_);
        !written.succeeded) {
        backups_.remove(created.id);
        return {Stop::BackupNotWritten, written.reason};
    }
    id_ = created.id;
    return {};
}

void BackupRun::finish(const std::set<std::string>& rewritten) {
    if (id_.empty())
        return;
    bool changed = false;
    bool known = true;
    for (std::size_t i = 0; i < manifest_.entries.size(); ++i) {
        ManifestEntry& entry = manifest_.entries[i];
        const StateRead read = readState(s_.reader, game_, entry.file);
        known = known && !read.error;
        if (read.error)
            continue;  // unknown: undo asks for --force
        entry.after = read.state;
        const bool lines =
            std::any_of(asked_[i].begin(), asked_[i].end(),
                        [&](const std::string& file) { return rewritten.contains(file); });
        entry.action = actionOf(entry.before, read.state, lines);
        changed |= entry.action != Action::Unchanged;
    }
    if (!changed && known) {
        backups_.remove(id_);
        id_.clear();
    } else if (const ChangeResult written = backups_.write(id_, manifest_, copies_);
               !written.succeeded) {
        incomplete_ = written.reason;
    }
    backups_.prune(id_);
}

}  // namespace morvane::backup

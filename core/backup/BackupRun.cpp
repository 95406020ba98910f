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

BackupRun::Start BackupRun::start(const std::vector<std::string>& files) {
    const GameBackups::Created created = backups_.create(now_);
    if (created.id.empty()) {
        error_ = created.error;
        return Start::FolderNotMade;
    }
    manifest_.number = created.number;
    for (const std::string& file : files) {
        StateRead read = readState(s_.reader, game_, file);
        if (read.error.empty() && copies_.size() + read.bytes.size() > kMaxCopies)
            read.error = "the backup would pass " + std::to_string(kMaxCopies) + " bytes";
        if (!read.error.empty()) {
            unreadable_.emplace(file, read.error);
            continue;
        }
        copies_ += read.bytes;
        manifest_.entries.push_back({file, Action::Pending, read.state, std::nullopt});
    }
    if (const ChangeResult written = backups_.write(created.id, manifest_, copies_);
        !written.succeeded) {
        backups_.remove(created.id);
        error_ = written.reason;
        return Start::NotWritten;
    }
    id_ = created.id;
    return Start::Made;
}

void BackupRun::finish(const std::set<std::string>& rewritten) {
    if (id_.empty())
        return;
    bool changed = false;
    bool known = true;
    for (ManifestEntry& entry : manifest_.entries) {
        const StateRead read = readState(s_.reader, game_, entry.file);
        known = known && read.error.empty();
        if (!read.error.empty())
            continue;  // unknown: undo asks for --force
        entry.after = read.state;
        entry.action = actionOf(entry.before, read.state, rewritten.contains(entry.file));
        changed |= entry.action != Action::Unchanged;
    }
    if (!changed && known) {
        backups_.remove(id_);
        id_.clear();
    } else if (const ChangeResult written = backups_.write(id_, manifest_, copies_);
               !written.succeeded) {
        error_ = written.reason;
    }
    backups_.prune(id_);
}

}  // namespace morvane::backup

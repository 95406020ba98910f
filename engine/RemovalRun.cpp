#include "engine/RemovalRun.h"

#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "engine/Search.h"

namespace morvane {
namespace {

using enum Slot;

// Every group is treated in the search's slot order, except that the removal run takes the
// cstrike auto-buy file first: the reverse of the search.
constexpr Slot kAutobuyRemoval[] = {autobuyPath, autobuyRuPath};

class Removal {
  public:
    Removal(EngineRecord& record, FileHost& host, const ReplacementSource& source)
        : record_(record), host_(host), source_(source) {}

    // Makes the attribute set writable, noting what that changed, so that it can be given back.
    void unlockAttributeSet() {
        for (std::size_t i = 0; i < kAttributeSetSize; ++i) {
            const std::string& path = record_.slots[i];
            const ChangeResult unlocked = host_.setAttributes(path, Attributes::Normal);
            steps_.attempt(Operation::SetAttributes, path, unlocked);
            if (unlocked.previous)
                unlocked_.emplace_back(path, *unlocked.previous);
        }
    }

    // The caller's own changes, noting the files they wrote.
    void changeOwn(const OwnChanges& ownChanges) {
        const std::size_t from = steps_.all().size();
        ownChanges(steps_);
        for (std::size_t i = from; i < steps_.all().size(); ++i) {
            const Step& step = steps_.all()[i];
            if (step.what == Operation::Copy && step.succeeded)
                ownWritten_.push_back(step.path);
        }
    }

    // A file that the unlocking changed and that the run then neither wrote nor deleted gets back
    // what it had: a file the run did not change keeps its mode, often the player's own guard.
    void giveBackUntouched() {
        const std::set<std::string> changed = changedPaths();
        for (const auto& [path, previous] : unlocked_) {
            if (!changed.contains(path))
                steps_.attempt(Operation::SetAttributes, path,
                               host_.setPermissions(path, previous));
        }
    }

    std::optional<std::uint64_t> readSize() {
        auto size = host_.folderSize(record_.gameFolder);
        steps_.attempt(Operation::FolderSize, record_.gameFolder,
                       size ? ChangeResult::done() : ChangeResult::failure({}));
        return size;
    }

    // A slot with a replacement gets it copied over the target: the copy replaces the file whole,
    // which is its deletion and re-creation in one step, so a copy that cannot be made never leaves
    // the target deleted. Files without a replacement are deleted.
    void treat(Slot slot) {
        const SlotInfo& info = slotInfo(slot);
        const std::string& target = record_.slot(slot);
        if (info.replacement.empty()) {
            steps_.attempt(Operation::Delete, target, host_.deleteFile(target));
        } else {
            copyReplacement(info.replacement, target);
        }
    }

    void copyReplacement(std::string_view fileName, const std::string& target) {
        const std::optional<std::string> folder = replacementFolder(host_, source_);
        if (!folder) {
            steps_.attempt(Operation::ProgramFolder, target, ChangeResult::failure({}));
            return;
        }
        steps_.attempt(
            Operation::Copy, target,
            host_.copyFile(replacementPath(*folder, fileName, host_.separator()), target));
    }

    // What this run wrote: of the attribute set, in table order, then the caller's own copies
    // outside it, in the order they were made. A file it did not write (a page it was not asked
    // to overwrite, an advert whose replacement failed) is no clean file to lock; the auto-buy
    // files it replaced stay outside, as the run never changes their attributes.
    void markWrittenReadOnly() {
        const std::set<std::string> written = changedPaths(Operation::Copy);
        std::set<std::string> marked;
        const auto mark = [&](const std::string& path) {
            if (marked.insert(path).second)
                steps_.attempt(Operation::SetAttributes, path,
                               host_.setAttributes(path, Attributes::ReadOnly));
        };
        for (std::size_t i = 0; i < kAttributeSetSize; ++i) {
            if (written.contains(record_.slots[i]))
                mark(record_.slots[i]);
        }
        for (const std::string& path : ownWritten_)
            mark(path);
    }

    Steps& steps() { return steps_; }

  private:
    // The paths that a copy (or, without `only`, a copy or a deletion) of this run went through on.
    std::set<std::string> changedPaths(std::optional<Operation> only = std::nullopt) const {
        std::set<std::string> paths;
        for (const Step& step : steps_.all()) {
            const bool change = step.what == Operation::Copy || step.what == Operation::Delete;
            if (step.succeeded && (only ? step.what == *only : change))
                paths.insert(step.path);
        }
        return paths;
    }

    EngineRecord& record_;
    FileHost& host_;
    const ReplacementSource& source_;
    Steps steps_;
    std::vector<std::pair<std::string, Permissions>> unlocked_;  // and what they had before
    std::vector<std::string> ownWritten_;
};

}  // namespace

std::span<const Slot> removalSlots(Group group) {
    return group == Group::Autobuy ? std::span<const Slot>(kAutobuyRemoval) : searchSlots(group);
}

void fillMotdTempSlots(EngineRecord& record, char separator) {
    record.slot(motdTempPath) =
        joinPath(record.gameFolder, slotInfo(motdTempPath).relative, separator);
    record.slot(motdTempRuPath) =
        joinPath(record.gameFolder, slotInfo(motdTempRuPath).relative, separator);
}

RemovalReport runRemoval(EngineRecord& record, FileHost& host, const ReplacementSource& source,
                         const OwnChanges& ownChanges) {
    Removal run(record, host, source);

    // The temp slots are filled before the pages are made writable too, so that a read-only
    // motd_temp.html left by an earlier start is unlocked before the copy onto it.
    fillMotdTempSlots(record, host.separator());
    run.unlockAttributeSet();
    const auto before = run.readSize();
    if (ownChanges)
        run.changeOwn(ownChanges);

    for (std::size_t g = 0; g < kGroupCount; ++g) {
        const auto group = static_cast<Group>(g);
        if (!record.found(group))
            continue;
        for (Slot slot : removalSlots(group))
            run.treat(slot);
    }

    fillMotdTempSlots(record, host.separator());
    if (record.blockServerMotd) {
        run.copyReplacement(slotInfo(motdTempPath).replacement, record.slot(motdTempPath));
        run.copyReplacement(slotInfo(motdTempRuPath).replacement, record.slot(motdTempRuPath));
    }
    run.giveBackUntouched();
    if (record.readOnly)
        run.markWrittenReadOnly();

    const auto after = run.readSize();
    return {before == after ? Verdict::NotRemoved : Verdict::PossiblyRemoved, run.steps()};
}

}  // namespace morvane

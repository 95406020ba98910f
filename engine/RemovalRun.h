#pragma once

#include <functional>
#include <span>
#include <string>

#include "engine/EngineRecord.h"
#include "engine/Replacements.h"
#include "engine/Steps.h"
#include "platform/FileHost.h"

namespace morvane {

enum class Verdict { NotRemoved, PossiblyRemoved };

// The slots the removal run treats for a group, in its order: the search's order, except that the
// auto-buy group takes its cstrike file first.
std::span<const Slot> removalSlots(Group group);

struct RemovalReport {
    Verdict verdict = Verdict::NotRemoved;
    Steps steps;  // every host operation of the run and its outcome
};

// One whole cleaning of the game folder, driven by the status flags of the last search:
//   make the attribute set writable; take the first size reading; for each found group delete
//   its files and put the replacement in their place (config files are only deleted); fill the
//   two motd_temp.html slots and, when asked, overwrite those pages; give a file it made writable
//   and then did not change what it had (a read-only file the run leaves is the player's guard);
//   when asked, mark read-only what it wrote; take the second size reading and compare.
// Every failing operation is skipped and the run goes on. The verdict rests on the size totals
// alone: equal readings (both numbers and equal, or both missing) mean not removed.
// It makes its changes inside the host's run that the caller has begun on the game folder
// (FileHost::beginChanges), so that a caller may change more in the same run, under one lock.
// Changes of the caller's own (`ownChanges`, recording each on the steps it is given) are made
// right after the first size reading, so that the verdict weighs them too. Their copies and
// deletions count as the run's own: what they wrote is marked read-only when asked, and a file
// they changed is not given back what the unlocking took.
using OwnChanges = std::function<void(Steps& steps)>;
RemovalReport runRemoval(EngineRecord& record, FileHost& host, const ReplacementSource& source = {},
                         const OwnChanges& ownChanges = {});

// Fills the two welcome-page temp slots from the game folder.
void fillMotdTempSlots(EngineRecord& record, char separator);

}  // namespace morvane

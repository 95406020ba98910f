#pragma once

#include <array>
#include <span>

#include "engine/EngineRecord.h"
#include "engine/Replacements.h"
#include "platform/FileHost.h"

namespace morvane {

// The slots each group fills and tests, in the search's order.
std::span<const Slot> searchSlots(Group group);

// A replacement file larger than this is never compared with a target: the shipped ones are a few
// kilobytes.
inline constexpr std::uint64_t kMaxComparedReplacement = 1 << 20;

// Looks for the target files of every chosen group in both edition folders. For each group in
// order: when chosen, fills all its slots from the game folder and then looks every one of them up
// (a failed lookup counts as found); the status flag becomes whether anything was found. A target
// that holds exactly the bytes of its replacement file (from `source`) is clean, as a removal run
// left it, and is not counted; when the replacement cannot be read, it counts as any file does.
// Groups not chosen get a cleared status and keep their slots. Changes no file.
std::array<bool, kGroupCount> search(EngineRecord& record, FileHost& host,
                                     const ReplacementSource& source = {});

}  // namespace morvane

#pragma once

#include <array>
#include <span>

#include "engine/EngineRecord.h"
#include "platform/FileHost.h"

namespace morvane {

// The slots each group fills and tests, in the search's order.
std::span<const Slot> searchSlots(Group group);

// Looks for the target files of every chosen group in both edition folders. For each group in
// order: when chosen, fills all its slots from the game folder and then looks every one of them up
// (a failed lookup counts as found); the status flag becomes whether anything was found. Groups not
// chosen get a cleared status and keep their slots. Changes no file.
std::array<bool, kGroupCount> search(EngineRecord& record, FileHost& host);

}  // namespace morvane

#pragma once

#include "engine/RemovalRun.h"
#include "platform/FileHost.h"

namespace morvane::test {

// The removal run in a run of its own on the game folder, as the programs begin one around it
// (core's clean): after another run on the folder has ended, however long that takes.
inline RemovalReport removeInOwnRun(EngineRecord& record, FileHost& host,
                                    const ReplacementSource& source = {}) {
    if (host.beginChanges(record.gameFolder, std::nullopt) == RunStart::Busy)
        return {};
    const ChangesEnd end(host);
    return runRemoval(record, host, source);
}

}  // namespace morvane::test

#pragma once

#include <string>

#include "cli/CliOptions.h"
#include "cli/CommandResult.h"
#include "core/Seams.h"

namespace morvane::cli {

// `morvane-cli undo GAME`: puts back the files of the latest backup of GAME (or of --run ID), in
// one run on the folder, each copied back whole and given its recorded permissions, a file the
// clean made removed. Every copy is checked against its hash first, and a file changed since the
// clean is not touched unless --force: then nothing is put back and each is named (exit 1).
// A file already as it was before the clean is left alone. With --list, lists the backups.
// Exit status: 0 done, 1 something could not be put back or was refused, 2 bad input.
CommandResult runUndo(Seams& seams, const CliOptions& options, const std::string& game);

}  // namespace morvane::cli

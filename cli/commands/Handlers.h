#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/Options.h"
#include "cli/Output.h"
#include "core/Seams.h"

namespace morvane::cli {

// One handler per command (cli/Commands.cpp routes to them): each calls what core/ or the engine
// offers, says what came of it on `output` and returns the exit status.
int runSearch(const CliOptions& options, Seams& seams, Output& output);
int runClean(const CliOptions& options, Seams& seams, Output& output);
int runSize(const CliOptions& options, Seams& seams, Output& output);
int runFind(const CliOptions& options, Seams& seams, Output& output);
int runScan(const CliOptions& options, Seams& seams, Output& output);
int runUndo(const CliOptions& options, Seams& seams, Output& output);
int runProtect(const CliOptions& options, Seams& seams, Output& output);

// What the handlers share: the game folders to treat (GAME, and with --all-found every one found),
// each problem in choosing them said on `output` with `status` raised to bad input.
std::vector<std::string> chooseGames(const CliOptions& options, Seams& seams, Output& output,
                                     int& status);

// The one game folder GAME names, or none (said on `output`, with the usage) when it is not one.
std::optional<std::string> theGame(const CliOptions& options, Seams& seams, Output& output);

// What is said of a library that a Steam library list names by a path that is not absolute.
std::string skippedLibrary(const std::string& library);

// Says what became of the temporary files a killed run left, which a command that changes the
// game folder removed first: "PATH: deleted", or failed with why (and on standard error).
void sayLeftovers(const std::vector<Leftover>& leftovers, Output& output);

// Bad input: the message, then the usage. Returns the exit status for it.
int usageError(Output& output, const std::string& message);

}  // namespace morvane::cli

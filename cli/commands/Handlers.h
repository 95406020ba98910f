#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/Options.h"
#include "cli/Output.h"
#include "core/Outcome.h"
#include "core/Seams.h"
#include "platform/Reason.h"

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

// Says on standard error which Steam library lists could not be read, and which libraries they
// name were skipped (not absolute paths).
void sayLibraryProblems(const std::vector<Reason>& problems,
                        const std::vector<std::string>& skipped, Output& output);

// Says what became of the temporary files a killed run left, which a command that changes the
// game folder removed first: "PATH: deleted", or failed with why (and on standard error).
void sayLeftovers(const std::vector<Outcome>& leftovers, Output& output);

// Says on standard error that the backup `id` kept could not be completed, if it could not.
void sayIncomplete(const std::string& id, const std::optional<Reason>& incomplete, Output& output);
// The same, then "backup: ID" when one was kept.
void sayBackup(const std::string& id, const std::optional<Reason>& incomplete, Output& output);

// What several commands say of a stop: not a game folder, no edition folder, busy, no backups
// folder; else its detail. In the reader's language.
std::string refusalOf(const Stopped& stop, const std::string& game);

// "'PATH' does not exist or is not a folder".
std::string notAFolder(const std::string& path);

// Bad input: the message, then the usage. Returns the exit status for it.
int usageError(Output& output, const std::string& message);

}  // namespace morvane::cli

#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Outcome.h"
#include "core/Seams.h"
#include "core/scan/Scanner.h"

namespace morvane::protect {

// The line that turns the game's own guard against servers' commands on.
inline constexpr std::string_view kFilterOnLine = "cl_filterstuffcmd \"1\"";

// `content` of a userconfig.cfg (none: no such file) with kFilterOnLine added at its end, in the
// file's own line ends; no value when it leaves the guard on already. Every byte of `content`
// is kept.
std::optional<std::string> withFilterOn(const std::optional<std::string>& content);

struct Request {
    std::string game;
    bool force = false;   // protect a folder that holds no launcher of the game too
    std::time_t now = 0;  // names the backup
};

struct Result {
    // Why nothing was written, if it was not: not a game folder, no edition folder (both bad
    // input), no home folder to keep the backup and stage the new files in, busy, or the backup
    // not made or not written.
    Stopped stop;
    std::vector<Outcome> leftovers;  // temporary files a killed run left, removed first
    // What became of the userconfig.cfg of each edition folder: the line added (rewritten), the
    // file left as it turns the guard on already (kept), or failed and why.
    std::vector<Outcome> files;
    // Edition folders whose userconfig.cfg turns the guard on, where it is not on afterwards all
    // the same, as the game will read its config files: a file run after it turns it off.
    std::vector<scan::EditionProtection> notOn;
    std::string backupId;                    // the backup kept; empty when none was
    std::optional<Reason> backupIncomplete;  // why it could not be completed, if it could not

    bool done() const;
};

// Adds kFilterOnLine to userconfig.cfg in each edition folder of the game, creating the file if it
// is missing, in one run on the folder, after backing it up as a clean does and removing the
// temporary files a killed run left (see removeLeftovers); a userconfig.cfg that turns the guard
// on already is left alone, and so are a link and a file with other hard links. Then reads where
// the guard stands, as scan does.
Result run(Seams& seams, const Request& request);

}  // namespace morvane::protect

#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// Why nothing was written.
enum class Stop {
    None,
    NotAGameFolder,   // no launcher there, and not forced (bad input)
    NoEditionFolder,  // the folder holds neither edition folder (bad input)
    NoPlaceOfOurOwn,  // there is no home folder to keep the backup and stage the new files in
    Busy,             // another run held the folder past kLockWait
    BackupNotMade,    // the backup cannot be made or written (reason says why)
};

// What became of the userconfig.cfg of one edition folder.
struct EditionFile {
    enum class What { Added, AlreadyOn, Failed };
    std::string path;
    What what = What::Added;
    std::string reason;  // for a failure
};

struct Result {
    Stop stop = Stop::None;
    std::string reason;               // for BackupNotMade
    std::vector<Leftover> leftovers;  // temporary files a killed run left, removed first
    std::vector<EditionFile> files;
    // Edition folders whose userconfig.cfg turns the guard on, where it is not on afterwards all
    // the same, as the game will read its config files: a file run after it turns it off.
    std::vector<scan::EditionProtection> notOn;
    std::string backupId;          // the backup kept; empty when none was
    std::string backupIncomplete;  // why it could not be completed, if it could not

    bool done() const;
};

// Adds kFilterOnLine to userconfig.cfg in each edition folder of the game, creating the file if it
// is missing, in one run on the folder, after backing it up as a clean does and removing the
// temporary files a killed run left (see removeLeftovers); a userconfig.cfg that turns the guard
// on already is left alone, and so are a link and a file with other hard links. Then reads where
// the guard stands, as scan does.
Result run(Seams& seams, const Request& request);

}  // namespace morvane::protect

#pragma once

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

// Why nothing was written.
enum class Stop {
    None,
    NoEditionFolder,  // the folder holds neither edition folder (bad input)
    NoPlaceOfOurOwn,  // there is no home folder to stage the new files in
    Busy,             // another run held the folder past kLockWait
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
    std::vector<EditionFile> files;
    // Edition folders where the guard is not on afterwards, as the game will read its config files.
    std::vector<scan::EditionProtection> notOn;

    bool done() const;
};

// Adds kFilterOnLine to userconfig.cfg in each edition folder of `game`, creating the file if it is
// missing, in one run on the folder; a userconfig.cfg that turns the guard on already is left
// alone. Then reads where the guard stands, as scan does.
Result run(Seams& seams, const std::string& game);

}  // namespace morvane::protect

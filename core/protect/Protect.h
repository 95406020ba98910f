#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "cli/CommandResult.h"
#include "core/Seams.h"

namespace morvane::cli {

// The line that turns the game's own guard against servers' commands on.
inline constexpr std::string_view kFilterOnLine = "cl_filterstuffcmd \"1\"";

// `content` of a userconfig.cfg (none: no such file) with kFilterOnLine added at its end, in the
// file's own line ends; no value when it leaves the guard on already. Every byte of `content`
// is kept.
std::optional<std::string> withFilterOn(const std::optional<std::string>& content);

// `morvane-cli protect GAME`: adds kFilterOnLine to userconfig.cfg in each edition folder there,
// creating the file if it is missing, in one run on the folder; a userconfig.cfg that turns the
// guard on already is left alone. Then says, per edition folder, where the guard stands, as scan
// does. Exit status: 0 on in every edition folder, 1 when a file could not be written or another
// config file turns the guard off again, 2 when GAME holds no edition folder.
CommandResult runProtect(Seams& seams, const std::string& game);

}  // namespace morvane::cli

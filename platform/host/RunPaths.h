#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/FileHost.h"

namespace morvane {

// What every host checks of a change's path before it looks at anything on disk. `isSeparator`
// says which characters separate names on that system.
using SeparatorTest = bool (*)(char);

// Why a change to `path` is refused outright, if it is: no run has begun; the path is empty
// (absent); the game folder could not be opened (`gameError`, when `gameOpen` is false); or the
// path does not begin with the game folder's text followed by a separator.
std::optional<ChangeResult> refusal(const std::string& path, bool begun, bool gameOpen,
                                    const Reason& gameError, const std::string& gameFolder,
                                    SeparatorTest isSeparator);

// The names of `path` after its first `length` characters (the game folder), without empty ones
// and ".". False, with `failure` set, when a ".." is among them or there are none.
bool namesBelow(const std::string& path, std::size_t length, SeparatorTest isSeparator,
                std::vector<std::string>& names, ChangeResult& failure);

}  // namespace morvane

#pragma once

#include <string>
#include <string_view>

namespace morvane::backup {

// The SHA-256 digest of `bytes`, as 64 lower-case hexadecimal digits: how backups tell whether a
// file is still the one they recorded.
std::string sha256Hex(std::string_view bytes);

}  // namespace morvane::backup

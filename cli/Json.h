#pragma once

#include <string>
#include <string_view>

namespace morvane {

// `text` as a JSON string, quotes included. The game's files may be in any code page: bytes that
// do not form UTF-8 become U+FFFD, so the output is always valid JSON.
std::string jsonString(std::string_view text);

}  // namespace morvane

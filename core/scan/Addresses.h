#pragma once

#include <string_view>

namespace morvane::scan {

// Whether `text` holds a server address: four numbers of 0-255 joined by dots, then a colon and
// a port ("203.0.113.5:27015").
bool hasIpAndPort(std::string_view text);

// Whether `text` holds a web address: a scheme ("http://"), a name starting "www.", or a dotted
// name ending in a top-level domain that servers use ("example.net"). File names such as
// "userconfig.cfg" or "de_dust2.bsp" and numbers such as "0.022" are not addresses.
bool hasWebAddress(std::string_view text);

inline bool hasAddress(std::string_view text) {
    return hasIpAndPort(text) || hasWebAddress(text);
}

}  // namespace morvane::scan

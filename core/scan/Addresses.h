#pragma once

#include <string>
#include <string_view>

namespace morvane::scan {

// Whether `text` holds a server address: four numbers of 0-255 joined by dots and a port
// ("203.0.113.5:27015"), or the four numbers alone when they are not a version number's small
// ones ("198.51.100.23", not "1.6.0.1").
bool hasIpAddress(std::string_view text);

// Whether `name` ("cs.example.ro", any case) is a domain: a name registered under a suffix of the
// Public Suffix List ("ro", "co.uk"), and not that suffix alone.
bool isDomain(std::string_view name);

// The name a domain is registered under, in lower case, without its suffix: "example" of
// "ms.EXAMPLE.co.uk"; empty when `host` is no domain (an address, a bare name).
std::string siteName(std::string_view host);

// Whether `text` holds a web address: an address with a scheme ("http://..."), a name starting
// "www.", an e-mail address or a domain, as the Public Suffix List tells them ("example.ro").
// File names ("userconfig.cfg", "de_dust2.bsp", "dlls/cs.so"), numbers ("0.022", "gamma 2.5") and
// two sentences without a blank between them ("round.Game") are not addresses; neither are the
// game's own sites nor the web's standards body, which the game's own files name.
bool hasWebAddress(std::string_view text);

// Whether the code of a page (CSS, scripts), where "a.link" or "div.top" are names of the code,
// holds an address: there only server addresses, addresses with a scheme and "www." names count.
bool hasAddressInCode(std::string_view text);

inline bool hasAddress(std::string_view text) {
    return hasIpAddress(text) || hasWebAddress(text);
}

}  // namespace morvane::scan

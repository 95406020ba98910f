#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/scan/ConsoleLine.h"

namespace morvane::scan {

// What running some console text can lead to, through binds and aliases.
struct Reach {
    bool connect = false;  // connect
    bool retry = false;    // retry: back to the last server
    bool say = false;      // say, say_team
    bool address = false;  // a server or web address anywhere in the text

    Reach& operator|=(const Reach& other) {
        connect |= other.connect;
        retry |= other.retry;
        say |= other.say;
        address |= other.address;
        return *this;
    }
    bool operator==(const Reach&) const = default;
};

// What each alias of an installation leads to, by its name in lower case.
using AliasReach = std::map<std::string, Reach>;

// Alias definitions as met in the config files: name in lower case, body.
using AliasDefinitions = std::vector<std::pair<std::string, std::string>>;

// The words of `command` from the third on, joined by blanks: what a bind or alias takes, as the
// console takes it.
std::string boundText(const Command& command);

// What running `command` leads to; an alias named in it adds what that alias leads to.
Reach reachOf(const Command& command, const AliasReach& aliases);

// The same for every command of `text`.
Reach reachOf(std::string_view text, const AliasReach& aliases);

// Adds the aliases that `content` defines, line by line, to `into`.
void collectAliases(std::string_view content, AliasDefinitions& into);

// What each defined alias leads to, following aliases that name other aliases. An alias defined
// more than once leads to everything any of its bodies leads to.
AliasReach resolveAliases(const AliasDefinitions& definitions);

}  // namespace morvane::scan

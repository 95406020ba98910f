#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/scan/ConsoleLine.h"

namespace morvane::scan {

// What running some console text can lead to, through binds and aliases. Saying something is no
// advert by itself (players bind call-outs and plugin commands); saying, echoing or setting a
// server or web address is.
struct Reach {
    bool connect = false;      // connect
    bool retry = false;        // retry: back to the last server
    bool sayAddress = false;   // say, say_team with an address in what is said
    bool echoAddress = false;  // echo with an address in what is shown
    bool nameAddress = false;  // name, setinfo with an address in the value
    bool password = false;     // password, rcon_password: what only the server's own players know

    Reach& operator|=(const Reach& other) {
        connect |= other.connect;
        retry |= other.retry;
        sayAddress |= other.sayAddress;
        echoAddress |= other.echoAddress;
        nameAddress |= other.nameAddress;
        password |= other.password;
        return *this;
    }
    bool operator==(const Reach&) const = default;

    bool advert() const { return sayAddress || echoAddress || nameAddress; }
    bool any() const { return connect || retry || advert(); }
    // Connects to a server whose password the player knows: the player's own.
    bool ownServer() const { return connect && password; }
    // Connects to a server of someone else's.
    bool redirect() const { return connect && !password; }
};

// What each alias of an installation leads to, by its name in lower case.
using AliasReach = std::map<std::string, Reach>;

// Alias definitions as met in the config files: name in lower case, body.
using AliasDefinitions = std::vector<std::pair<std::string, std::string>>;

// The words of `command` from the third on, joined by blanks: what a bind or alias takes, as the
// console takes it.
std::string boundText(const Command& command);

// What running `command` leads to; an alias named in it adds what that alias leads to, and so do
// the texts it binds to a key or defines as an alias.
Reach reachOf(const Command& command, const AliasReach& aliases);

// The same for every command of `text`.
Reach reachOf(std::string_view text, const AliasReach& aliases);

// What the config files of an installation give the console: their aliases, and the texts that
// run when a key is pressed or when a file is executed (every command of a line but an alias
// definition; for a bind, the text it binds).
struct ConsoleDefinitions {
    AliasDefinitions aliases;
    std::vector<std::string> runs;
};

// Adds what `content`, a config file, defines and runs, line by line, to `into`.
void collectConsole(std::string_view content, ConsoleDefinitions& into);

// Adds the aliases that `content` defines, line by line, to `into`.
void collectAliases(std::string_view content, AliasDefinitions& into);

// What each defined alias leads to, following aliases that name other aliases. An alias defined
// more than once leads to everything any of its bodies leads to.
AliasReach resolveAliases(const AliasDefinitions& definitions);

// What the console of an installation can do: what each alias leads to, and the aliases (lower
// case) that a key or an executed line reaches, directly or through other aliases. An alias
// nothing reaches never runs.
struct Console {
    AliasReach aliases;
    std::set<std::string> reached;
};

Console resolveConsole(const ConsoleDefinitions& definitions);

}  // namespace morvane::scan

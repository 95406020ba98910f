#include "core/scan/Rules.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <map>

#include "core/keyvalues/KeyValues.h"
#include "core/scan/Addresses.h"
#include "core/text/AsciiText.h"
#include "core/text/TextLines.h"

namespace morvane::scan {
namespace {

constexpr unsigned kConfigs = kindBit(FileKind::GameConfig) | kindBit(FileKind::OwnConfig);

bool runs(const LineFacts& facts, std::initializer_list<std::string_view> names) {
    return std::any_of(facts.commands.begin(), facts.commands.end(), [&](const Command& command) {
        return std::any_of(names.begin(), names.end(), [&](std::string_view name) {
            return equalsIgnoringCase(command.words.front(), name);
        });
    });
}

bool isExecOf(const Command& command, std::string_view file) {
    return command.words.size() == 2 && equalsIgnoringCase(command.words[0], "exec") &&
           equalsIgnoringCase(command.words[1], file);
}

// The execs the game writes into config.cfg itself: the last one, of userconfig.cfg, and those of
// the controller's (current builds) and the keyboard's (other engine builds) settings.
bool execsWhatTheGameDoesNot(const LineFacts& facts) {
    return std::any_of(facts.commands.begin(), facts.commands.end(), [&](const Command& command) {
        return equalsIgnoringCase(command.words.front(), "exec") &&
               !(facts.lastUserconfigExec && isExecOf(command, "userconfig.cfg")) &&
               !isExecOf(command, "controller.cfg") && !isExecOf(command, "keyboard.cfg");
    });
}

bool isWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// A name that dresses the game's default name, "Player", with a brand: "Brand | Player",
// "<Brand> Player". Someone set it before the player chose a name: a game build's distributor.
bool nameDressesTheDefault(const LineFacts& facts) {
    for (const Command& command : facts.commands) {
        if (command.words.size() < 2 || !equalsIgnoringCase(command.words[0], "name"))
            continue;
        const std::string value = lowerAscii(command.words[1]);
        const std::size_t at = value.find("player");
        if (at == std::string::npos || (at > 0 && isWordChar(value[at - 1])) ||
            (at + 6 < value.size() && isWordChar(value[at + 6])))
            continue;
        const std::string rest = value.substr(0, at) + " " + value.substr(at + 6);
        const auto letters =
            std::count_if(rest.begin(), rest.end(), [](char c) { return c >= 'a' && c <= 'z'; });
        const bool marked = rest.find_first_of("|<>[]{}:~*=#@") != std::string::npos ||
                            rest.find(" - ") != std::string::npos;
        if (letters >= 2 && marked)
            return true;
    }
    return false;
}

// What an alias defined on the line leads to counts when a key or an executed line reaches it: an
// alias nothing runs may be the player's own favourite, kept for the player to judge.
Reach definedAndRun(const LineFacts& f) {
    return f.definedReached ? f.defined : Reach{};
}

// The keys a player moves, shoots, buys and looks with; no player binds one of them to say
// something, but servers do, to make the player's game spam for them.
constexpr std::array<std::string_view, 23> kPlayKeys{
    "w",      "a",       "s",         "d",         "space",      "ctrl", "shift", "mouse1",
    "mouse2", "escape",  "r",         "e",         "1",          "2",    "3",     "4",
    "5",      "uparrow", "downarrow", "leftarrow", "rightarrow", "`",    "~",
};

// A key of kPlayKeys bound to say something itself, whatever it says.
bool playKeyBoundToSay(const LineFacts& facts) {
    for (const Command& command : facts.commands) {
        if (command.words.size() < 3 || !equalsIgnoringCase(command.words[0], "bind"))
            continue;
        const std::string key = lowerAscii(command.words[1]);
        if (std::find(kPlayKeys.begin(), kPlayKeys.end(), key) == kPlayKeys.end())
            continue;
        for (const Command& bound : commandsOf(boundText(command))) {
            if (equalsIgnoringCase(bound.words[0], "say") ||
                equalsIgnoringCase(bound.words[0], "say_team"))
                return true;
        }
    }
    return false;
}

// The words that welcome a player to a named place, in the languages of the servers' pages.
constexpr std::array<std::string_view, 16> kWelcomes{
    "welcome to",
    "bienvenido a",
    "bienvenidos a",
    "bem-vindo ao",
    "bem vindo ao",
    "bem-vindo a",
    "bine ati venit",
    "bine ai venit",
    "willkommen auf",
    "willkommen bei",
    "witaj na",
    "witamy na",
    "bienvenue sur",
    "benvenuto su",
    "benvenuti su",
    // "dobro pozhalovat'" in Cyrillic, UTF-8
    "\xd0\xb4\xd0\xbe\xd0\xb1\xd1\x80\xd0\xbe "
    "\xd0\xbf\xd0\xbe\xd0\xb6\xd0\xb0\xd0\xbb\xd0\xbe\xd0\xb2\xd0\xb0\xd1\x82\xd1\x8c",
};

// The game itself, to which a stock page welcomes the player.
constexpr std::array<std::string_view, 5> kTheGame{"counter-strike", "counter strike", "cs 1.6",
                                                   "cstrike", "half-life"};

// A welcome page's title or heading that welcomes the player to a named server: the server's own
// name, as only the server writes it.
bool headingWelcomesToAServer(const LineFacts& facts) {
    const std::string lower = lowerAscii(facts.text);
    for (std::string_view tag : {"<title", "<h1", "<h2", "<h3"}) {
        const std::size_t open = lower.find(tag);
        if (open == std::string::npos)
            continue;
        const std::size_t start = lower.find('>', open);
        if (start == std::string::npos)
            continue;
        const std::string heading = lower.substr(start + 1, lower.find('<', start) - start - 1);
        for (std::string_view welcome : kWelcomes) {
            const std::size_t at = heading.find(welcome);
            if (at == std::string::npos)
                continue;
            std::string_view named = std::string_view(heading).substr(at + welcome.size());
            while (!named.empty() && named.front() == ' ')
                named.remove_prefix(1);
            if (std::any_of(kTheGame.begin(), kTheGame.end(),
                            [&](std::string_view game) { return named.starts_with(game); }))
                continue;  // the game's own welcome
            if (std::count_if(named.begin(), named.end(), [](char c) {
                    return (c >= 'a' && c <= 'z') || static_cast<unsigned char>(c) >= 0x80;
                }) >= 2)
                return true;
        }
    }
    return false;
}

constexpr unsigned kGame = kindBit(FileKind::GameConfig);
constexpr unsigned kOwn = kindBit(FileKind::OwnConfig);
constexpr unsigned kLayout = kindBit(FileKind::Resource);
constexpr unsigned kWelcome = kindBit(FileKind::Welcome);
constexpr Level kPlanted = Level::Planted;
constexpr Level kSuspect = Level::Suspect;

constexpr std::array<Rule, 25> kRules{{
    // config.cfg, which the game writes itself: what it never writes there.
    {"config-wait", kGame, kPlanted,
     "the game never writes wait into config.cfg; wait;...;connect sends the game to a server",
     [](const LineFacts& f) { return runs(f, {"wait"}) && (f.runs.redirect() || f.runs.retry); }},
    {"config-connect", kGame, kPlanted, "the game never writes connect or retry into config.cfg",
     [](const LineFacts& f) { return f.runs.redirect() || f.runs.retry; }},
    {"config-alias", kGame, kPlanted,
     "the game never writes alias into config.cfg; this one, run by a key or a line, connects or "
     "spreads an address",
     [](const LineFacts& f) {
         const Reach defined = definedAndRun(f);
         return defined.redirect() || defined.retry || defined.advert();
     }},
    {"config-file-write", kGame, kPlanted,
     "writecfg, motd_write and motdfile let a server write the player's files",
     [](const LineFacts& f) {
         return runs(f, {"writecfg", "motd_write", "motdfile"});
     }},
    // Every config file: keys and lines that send the game to a server or spread an address.
    {"bind-connect", kConfigs, kPlanted, "a key bound to connect to a server",
     [](const LineFacts& f) {
         return f.bound.redirect() || (f.kind == FileKind::GameConfig && f.bound.retry);
     }},
    {"bind-say", kConfigs, kPlanted, "a key bound to say a server or web address",
     [](const LineFacts& f) { return f.bound.sayAddress; }},
    {"bind-say-play-key", kConfigs, kPlanted,
     "a key the player moves or shoots with, bound to say something: no player does that",
     playKeyBoundToSay},
    {"bind-address", kConfigs, kPlanted,
     "a key bound to echo a server or web address or to put one into the player's name",
     [](const LineFacts& f) { return f.bound.echoAddress || f.bound.nameAddress; }},
    {"own-connect", kOwn, kPlanted, "connects to a server, run as the file is executed or by a key",
     [](const LineFacts& f) { return f.runs.redirect() || definedAndRun(f).redirect(); }},
    {"say-address", kConfigs, kPlanted, "says a server or web address",
     [](const LineFacts& f) { return f.runs.sayAddress || definedAndRun(f).sayAddress; }},
    {"echo-address", kConfigs, kPlanted, "shows a server or web address in the console",
     [](const LineFacts& f) { return f.runs.echoAddress || definedAndRun(f).echoAddress; }},
    {"name-address", kConfigs, kPlanted,
     "puts a server or web address into the player's name or info",
     [](const LineFacts& f) { return f.runs.nameAddress || definedAndRun(f).nameAddress; }},
    {"name-brand", kGame, kPlanted,
     "the player's name is the game's default one, \"Player\", dressed with a brand",
     nameDressesTheDefault},
    // Layouts, read as KeyValues.
    {"menu-connect", kLayout, kPlanted, "a menu entry that connects to a server",
     [](const LineFacts& f) { return f.menuConnects; }},
    {"layout-address", kLayout, kPlanted, "a label or text with a server or web address",
     [](const LineFacts& f) { return f.valueAddress; }},
    {"layout-one-line", kLayout, kPlanted,
     "a whole layout written on one line, as servers write it into the player's game",
     [](const LineFacts& f) { return f.wholeLayout; }},
    // Welcome pages.
    {"welcome-address", kWelcome, kPlanted,
     "a welcome page with a server or web address other than the game's own",
     [](const LineFacts& f) { return f.inCode ? hasAddressInCode(f.text) : hasAddress(f.text); }},
    {"welcome-server-name", kWelcome, kPlanted,
     "a welcome page titled with a welcome to a named server, which only the server writes",
     [](const LineFacts& f) { return !f.inCode && headingWelcomesToAServer(f); }},
    {"downloaded-cfg", kindBit(FileKind::Download), kPlanted,
     "a config file downloaded from a server, which the game may run",
     [](const LineFacts&) { return true; }},
    // Suspect: listed for the player, kept by --keep-settings.
    {"own-server-connect", kConfigs, kSuspect,
     "connects to a server with its password, which only its own players know: perhaps the "
     "player's own",
     [](const LineFacts& f) {
         return f.runs.ownServer() || f.bound.ownServer() || f.defined.ownServer();
     }},
    {"own-unreached-alias", kOwn, kSuspect,
     "an alias that connects or spreads an address, which no key and no line runs: perhaps the "
     "player's own favourite server",
     [](const LineFacts& f) { return f.defined.connect || f.defined.advert(); }},
    {"config-alias-other", kGame, kSuspect,
     "the game never writes alias into config.cfg; this one connects or spreads an address only "
     "if something runs it, or does neither",
     [](const LineFacts& f) { return runs(f, {"alias"}); }},
    {"config-exec", kGame, kSuspect,
     "the game's only execs in config.cfg are the last one, of userconfig.cfg, and those of "
     "controller.cfg and keyboard.cfg",
     execsWhatTheGameDoesNot},
    {"config-wait-other", kGame, kSuspect, "the game never writes wait into config.cfg",
     [](const LineFacts& f) { return runs(f, {"wait"}); }},
    {"config-say", kGame, kSuspect,
     "the game never writes say or echo into config.cfg; this one carries no address",
     [](const LineFacts& f) {
         return runs(f, {"say", "say_team", "echo"});
     }},
}};

const Rule* firstMatch(const LineFacts& facts) {
    for (const Rule& rule : kRules) {
        if ((rule.kinds & kindBit(facts.kind)) != 0 && rule.matches(facts))
            return &rule;
    }
    return nullptr;
}

LineFacts factsOf(FileKind kind, std::string_view line, const Console& console) {
    LineFacts facts;
    facts.kind = kind;
    facts.text = line;
    if (kind != FileKind::GameConfig && kind != FileKind::OwnConfig)
        return facts;
    facts.commands = commandsOf(line);
    for (const Command& command : facts.commands) {
        const bool bind = equalsIgnoringCase(command.words.front(), "bind");
        const bool alias = equalsIgnoringCase(command.words.front(), "alias");
        if (bind) {
            facts.bound |= reachOf(boundText(command), console.aliases);
        } else if (alias) {
            facts.defined |= reachOf(boundText(command), console.aliases);
            facts.definedReached |=
                command.words.size() >= 2 && console.reached.contains(lowerAscii(command.words[1]));
        } else {
            facts.runs |= reachOf(command, console.aliases);
        }
    }
    return facts;
}

// The number of the last line that runs "exec userconfig.cfg", or 0.
int lastUserconfigExecLine(std::string_view content) {
    int last = 0;
    forEachLine(content, [&](std::string_view line, int number) {
        const auto commands = commandsOf(line);
        if (std::any_of(commands.begin(), commands.end(),
                        [](const Command& c) { return isExecOf(c, "userconfig.cfg"); }))
            last = number;
    });
    return last;
}

// Whether the console text of a menu entry's "command" connects: the menu hands "engine ..." to
// the console.
bool commandConnects(std::string_view value) {
    for (const Command& command : commandsOf(value)) {
        const std::vector<std::string>& w = command.words;
        const std::size_t at = equalsIgnoringCase(w[0], "engine") && w.size() > 1 ? 1 : 0;
        // "engine "connect host"" hands one word that is itself a command.
        const auto inner = commandsOf(w[at]);
        if (equalsIgnoringCase(w[at], "connect") ||
            (!inner.empty() && equalsIgnoringCase(inner.front().words.front(), "connect")))
            return true;
    }
    return false;
}

// What the keys of a layout say, by the line they stand on.
struct LayoutLine {
    bool menuConnects = false;
    bool valueAddress = false;
};

void readLayout(const kv::Node& block, std::map<int, LayoutLine>& lines) {
    for (const kv::Node& node : block.children) {
        if (hasAddress(node.key))
            lines[node.line].valueAddress = true;
        if (node.block) {
            readLayout(node, lines);
            continue;
        }
        if (hasAddress(node.value))
            lines[node.valueLine].valueAddress = true;
        if (equalsIgnoringCase(node.key, "command") && commandConnects(node.value))
            lines[node.valueLine].menuConnects = true;
    }
}

// Whether the parsed layout holds an entry: a block within a block.
bool holdsEntries(const kv::Node& root) {
    return std::any_of(root.children.begin(), root.children.end(), [](const kv::Node& top) {
        return std::any_of(top.children.begin(), top.children.end(),
                           [](const kv::Node& entry) { return entry.block; });
    });
}

// Whether `line` opens or closes a page's style sheet or script; `inCode` says whether the page's
// code goes on after it.
bool touchesCode(std::string_view line, bool& inCode) {
    const std::string lower = lowerAscii(line);
    std::size_t open = std::string::npos;
    std::size_t close = std::string::npos;
    for (std::string_view tag : {"<style", "<script"}) {
        if (const std::size_t at = lower.rfind(tag); at != std::string::npos)
            open = open == std::string::npos ? at : std::max(open, at);
    }
    for (std::string_view tag : {"</style", "</script"}) {
        if (const std::size_t at = lower.rfind(tag); at != std::string::npos)
            close = close == std::string::npos ? at : std::max(close, at);
    }
    if (open != std::string::npos && (close == std::string::npos || open > close))
        inCode = true;
    else if (close != std::string::npos)
        inCode = false;
    return open != std::string::npos || close != std::string::npos;
}

}  // namespace

std::string_view levelName(Level level) {
    return level == Level::Planted ? "planted" : "suspect";
}

std::span<const Rule> rules() {
    return kRules;
}

std::vector<Finding> findingsIn(std::string_view relative, FileKind kind, std::string_view content,
                                const Console& console) {
    std::vector<Finding> findings;
    if (kind == FileKind::Download) {
        LineFacts whole;
        whole.kind = kind;
        findings.push_back({std::string(relative), 0, {}, firstMatch(whole)});
        return findings;
    }
    std::map<int, LayoutLine> layout;
    int lineCount = 0;
    forEachLine(content, [&](std::string_view, int number) { lineCount = number; });
    bool wholeLayout = false;
    if (kind == FileKind::Resource) {
        const kv::Node root = kv::parseTolerantly(content);
        readLayout(root, layout);
        wholeLayout = lineCount == 1 && holdsEntries(root);
    }
    const int lastExec = kind == FileKind::GameConfig ? lastUserconfigExecLine(content) : 0;
    bool inCode = false;
    forEachLine(content, [&](std::string_view line, int number) {
        LineFacts facts = factsOf(kind, line, console);
        facts.lastUserconfigExec = number == lastExec;
        if (const auto found = layout.find(number); found != layout.end()) {
            facts.menuConnects = found->second.menuConnects;
            facts.valueAddress = found->second.valueAddress;
        }
        facts.wholeLayout = wholeLayout;
        if (kind == FileKind::Welcome) {
            const bool before = inCode;
            facts.inCode = touchesCode(line, inCode) || before;
        }
        if (const Rule* rule = firstMatch(facts))
            findings.push_back({std::string(relative), number, std::string(line), rule});
    });
    return findings;
}

}  // namespace morvane::scan

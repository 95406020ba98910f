// The config files the game runs: config.cfg, which the game writes itself, and the others, which
// the player (or whoever got there first) writes. Read line by line as the console runs them.
#include <algorithm>
#include <array>
#include <initializer_list>

#include "core/game/GameLayout.h"
#include "core/scan/ConsoleLine.h"
#include "core/scan/Installation.h"
#include "core/scan/families/Families.h"
#include "core/text/AsciiText.h"
#include "platform/Translate.h"

namespace morvane::scan {
namespace {

// The sorts of config file: the player's own, and config.cfg, which the game writes in a fixed
// form.
constexpr unsigned kOwnSort = 0;
constexpr unsigned kGameSort = 1;

// Everything the rules look at in one line of a config file.
struct LineFacts {
    bool writtenByGame = false;       // a line of config.cfg
    std::vector<Command> commands{};  // as the console would run the line
    Reach runs{};                     // what running the line does, aliases followed (not its binds
                                      // and alias definitions)
    Reach bound{};                    // what the keys bound in the line lead to
    Reach defined{};                  // what the aliases defined in the line lead to
    bool definedReached = false;      // a key or an executed line reaches an alias defined here
    bool lastUserconfigExec = false;  // the line holds the file's last "exec userconfig.cfg"
};

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

// The info keys planting plugins set as their "done" mark.
bool setsAMarker(const LineFacts& facts) {
    return std::any_of(facts.commands.begin(), facts.commands.end(), [](const Command& command) {
        return command.words.size() >= 2 && equalsIgnoringCase(command.words[0], "setinfo") &&
               (equalsIgnoringCase(command.words[1], "_gm") ||
                equalsIgnoringCase(command.words[1], "boost"));
    });
}

constexpr unsigned kGame = 1u << kGameSort;
constexpr unsigned kOwn = 1u << kOwnSort;
constexpr unsigned kAny = kGame | kOwn;
constexpr Level kPlanted = Level::Planted;
constexpr Level kSuspect = Level::Suspect;

constexpr auto kRows = std::to_array<Row<LineFacts>>({
    // config.cfg, which the game writes itself: what it never writes there.
    {{"config-wait", kPlanted,
      i18n::trMark("the game never writes wait into config.cfg; wait;...;connect sends the game to "
                   "a server")},
     kGame,
     [](const LineFacts& f) { return runs(f, {"wait"}) && (f.runs.redirect() || f.runs.retry); }},
    {{"config-connect", kPlanted,
      i18n::trMark("the game never writes connect or retry into config.cfg")},
     kGame,
     [](const LineFacts& f) { return f.runs.redirect() || f.runs.retry; }},
    {{"config-alias", kPlanted,
      i18n::trMark("the game never writes alias into config.cfg; this one, run by a key or a line, "
                   "connects or spreads an address")},
     kGame,
     [](const LineFacts& f) {
         const Reach defined = definedAndRun(f);
         return defined.redirect() || defined.retry || defined.advert();
     }},
    {{"config-file-write", kPlanted,
      i18n::trMark("writecfg, motd_write and motdfile let a server write the player's files")},
     kGame,
     [](const LineFacts& f) {
         return runs(f, {"writecfg", "motd_write", "motdfile"});
     }},
    // Every config file: keys and lines that send the game to a server or spread an address.
    {{"bind-connect", kPlanted, i18n::trMark("a key bound to connect to a server")},
     kAny,
     [](const LineFacts& f) { return f.bound.redirect() || (f.writtenByGame && f.bound.retry); }},
    {{"bind-say", kPlanted, i18n::trMark("a key bound to say a server or web address")},
     kAny,
     [](const LineFacts& f) { return f.bound.sayAddress; }},
    {{"bind-say-play-key", kPlanted,
      i18n::trMark(
          "a key the player moves or shoots with, bound to say something: no player does that")},
     kAny,
     playKeyBoundToSay},
    {{"bind-address", kPlanted,
      i18n::trMark(
          "a key bound to echo a server or web address or to put one into the player's name")},
     kAny,
     [](const LineFacts& f) { return f.bound.echoAddress || f.bound.nameAddress; }},
    {{"own-connect", kPlanted,
      i18n::trMark("connects to a server, run as the file is executed or by a key")},
     kOwn,
     [](const LineFacts& f) { return f.runs.redirect() || definedAndRun(f).redirect(); }},
    {{"say-address", kPlanted, i18n::trMark("says a server or web address")},
     kAny,
     [](const LineFacts& f) { return f.runs.sayAddress || definedAndRun(f).sayAddress; }},
    {{"echo-address", kPlanted, i18n::trMark("shows a server or web address in the console")},
     kAny,
     [](const LineFacts& f) { return f.runs.echoAddress || definedAndRun(f).echoAddress; }},
    {{"name-address", kPlanted,
      i18n::trMark("puts a server or web address into the player's name or info")},
     kAny,
     [](const LineFacts& f) { return f.runs.nameAddress || definedAndRun(f).nameAddress; }},
    {{"name-brand", kPlanted,
      i18n::trMark(
          "the player's name is the game's default one, \"Player\", dressed with a brand")},
     kGame,
     nameDressesTheDefault},
    // Suspect: listed for the player, kept by --keep-settings.
    {{"own-server-connect", kSuspect,
      i18n::trMark("connects to a server with its password, which only its own players know: "
                   "perhaps the player's own")},
     kAny,
     [](const LineFacts& f) {
         return f.runs.ownServer() || f.bound.ownServer() || f.defined.ownServer();
     }},
    {{"own-unreached-alias", kSuspect,
      i18n::trMark("an alias that connects or spreads an address, which no key and no line runs: "
                   "perhaps the player's own favourite server")},
     kOwn,
     [](const LineFacts& f) { return f.defined.connect || f.defined.advert(); }},
    {{"config-alias-other", kSuspect,
      i18n::trMark("the game never writes alias into config.cfg; this one connects or spreads an "
                   "address only if something runs it, or does neither")},
     kGame,
     [](const LineFacts& f) { return runs(f, {"alias"}); }},
    {{"config-exec", kSuspect,
      i18n::trMark("the game's only execs in config.cfg are the last one, of userconfig.cfg, and "
                   "those of controller.cfg and keyboard.cfg")},
     kGame,
     execsWhatTheGameDoesNot},
    {{"config-wait-other", kSuspect, i18n::trMark("the game never writes wait into config.cfg")},
     kGame,
     [](const LineFacts& f) { return runs(f, {"wait"}); }},
    {{"setinfo-marker", kSuspect,
      i18n::trMark("a mark a server's plugin sets once it has rewritten the player's files (_gm, "
                   "boost): no advert itself, but a server changed this game's files")},
     kAny,
     setsAMarker},
    {{"config-say", kSuspect,
      i18n::trMark(
          "the game never writes say or echo into config.cfg; this one carries no address")},
     kGame,
     [](const LineFacts& f) {
         return runs(f, {"say", "say_team", "echo"});
     }},
});

LineFacts factsOf(bool writtenByGame, std::string_view line, const Console& console) {
    LineFacts facts;
    facts.writtenByGame = writtenByGame;
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

void gather(const ScannedFile& file, Installation& installation) {
    collectConsole(file.content, installation.definitions);
    forEachLine(file.content, [&](std::string_view line, int) {
        if (lowerAscii(line).find("name") == std::string::npos)
            return;  // no name set on it: spare reading it
        LineFacts facts;
        facts.commands = commandsOf(line);
        installation.brandedName |= nameDressesTheDefault(facts);
    });
}

std::vector<Finding> judge(const ScannedFile& file, const Installation& installation) {
    const unsigned sort = file.place->sort;
    const int lastExec = sort == kGameSort ? lastUserconfigExecLine(file.content) : 0;
    return judgeLines(file, kRows, [&](const TextLine& line) {
        LineFacts facts = factsOf(sort == kGameSort, line.text, installation.console);
        facts.lastUserconfigExec = line.number == lastExec;
        return std::optional(facts);
    });
}

constexpr auto kRules = rulesOf(kRows);

// cstrike, every language edition the engine searches before it, and the base game, whose
// config files the game runs too. (Below cstrike_downloads every .cfg is a downloaded one.)
constexpr std::string_view kFolders[] = {kEditionFolders[0], kLanguageEditions, kValveFolder};

constexpr Place kPlaces[] = {
    {kFolders, "config.cfg", Group::Config, Keep::Lines, kGameSort},
    {kFolders, "userconfig.cfg", Group::Config, Keep::Lines, kOwnSort},
    {kFolders, "autoexec.cfg", Group::Config, Keep::Lines, kOwnSort},
    {kFolders, "valve.rc", Group::Config, Keep::Lines, kOwnSort},
    {kFolders, "joystick.cfg", Group::Config, Keep::Lines, kOwnSort},
    {kFolders, "language.cfg", Group::Config, Keep::Lines, kOwnSort},
    {kFolders, "violence.cfg", Group::Config, Keep::Lines, kOwnSort},
    {kFolders, "default.cfg", Group::Config, Keep::Lines, kOwnSort},
    // The renderers' settings, run as the game starts with one (opengl.cfg, d3d.cfg...).
    {kFolders, "hw/*.cfg", Group::Config, Keep::Lines, kOwnSort},
};

}  // namespace

const Family kConfigs{kPlaces, true, kRules, gather, judge};

}  // namespace morvane::scan

#include "core/scan/Rules.h"

#include <algorithm>
#include <array>
#include <initializer_list>

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

bool isUserconfigExec(const Command& command) {
    return command.words.size() == 2 && equalsIgnoringCase(command.words[0], "exec") &&
           equalsIgnoringCase(command.words[1], "userconfig.cfg");
}

bool execsOtherThanLastUserconfig(const LineFacts& facts) {
    return std::any_of(facts.commands.begin(), facts.commands.end(), [&](const Command& command) {
        return equalsIgnoringCase(command.words.front(), "exec") &&
               !(facts.lastUserconfigExec && isUserconfigExec(command));
    });
}

// A menu line whose "command" connects; the menu hands "engine ..." to the console.
bool menuEntryConnects(const LineFacts& facts) {
    const auto words = wordsOf(facts.text);
    if (words.size() < 2 || !equalsIgnoringCase(words[0], "command"))
        return false;
    for (const Command& command : commandsOf(words[1])) {
        const std::vector<std::string>& w = command.words;
        const std::size_t at = equalsIgnoringCase(w[0], "engine") ? 1 : 0;
        if (at < w.size() && equalsIgnoringCase(w[at], "connect"))
            return true;
    }
    return false;
}

// A layout line ("labelText" "...") whose value carries an address.
bool layoutValueCarriesAddress(const LineFacts& facts) {
    const auto words = wordsOf(facts.text);
    return words.size() >= 2 && hasAddress(words[1]);
}

constexpr std::array<Rule, 16> kRules{{
    {"config-alias", kindBit(FileKind::GameConfig), "the game never writes alias into config.cfg",
     [](const LineFacts& f) { return runs(f, {"alias"}); }},
    {"config-wait", kindBit(FileKind::GameConfig),
     "the game never writes wait into config.cfg; wait;...;connect sends the game to a server",
     [](const LineFacts& f) { return runs(f, {"wait"}); }},
    {"config-connect", kindBit(FileKind::GameConfig),
     "the game never writes connect or retry into config.cfg",
     [](const LineFacts& f) {
         return runs(f, {"connect", "retry"});
     }},
    {"config-say", kindBit(FileKind::GameConfig), "the game never writes say into config.cfg",
     [](const LineFacts& f) {
         return runs(f, {"say", "say_team"});
     }},
    {"config-file-write", kindBit(FileKind::GameConfig),
     "writecfg, motd_write and motdfile let a server write the player's files",
     [](const LineFacts& f) {
         return runs(f, {"writecfg", "motd_write", "motdfile"});
     }},
    {"config-exec", kindBit(FileKind::GameConfig),
     "the game's only exec in config.cfg is the last one, of userconfig.cfg",
     execsOtherThanLastUserconfig},
    {"bind-connect", kConfigs, "a key bound to connect to a server",
     [](const LineFacts& f) {
         return f.bound.connect || (f.kind == FileKind::GameConfig && f.bound.retry);
     }},
    {"bind-say", kConfigs, "a key bound to say an advert",
     [](const LineFacts& f) { return f.bound.say; }},
    {"bind-address", kConfigs, "a key bound to a command with a server or web address",
     [](const LineFacts& f) { return f.bound.address; }},
    {"own-connect", kindBit(FileKind::OwnConfig), "connects to a server",
     [](const LineFacts& f) { return f.reach.connect; }},
    {"own-say", kindBit(FileKind::OwnConfig), "says an advert",
     [](const LineFacts& f) { return f.reach.say; }},
    {"own-address", kindBit(FileKind::OwnConfig), "sends the game to a server or web address",
     [](const LineFacts& f) { return f.reach.address; }},
    {"menu-connect", kindBit(FileKind::Resource), "a menu entry that connects to a server",
     menuEntryConnects},
    {"layout-address", kindBit(FileKind::Resource), "a label or text with a server or web address",
     layoutValueCarriesAddress},
    {"welcome-address", kindBit(FileKind::Welcome), "a welcome page with a server or web address",
     [](const LineFacts& f) { return hasAddress(f.text); }},
    {"downloaded-cfg", kindBit(FileKind::Download),
     "a config file downloaded from a server, which the game may run",
     [](const LineFacts&) { return true; }},
}};

const Rule* firstMatch(const LineFacts& facts) {
    for (const Rule& rule : kRules) {
        if ((rule.kinds & kindBit(facts.kind)) != 0 && rule.matches(facts))
            return &rule;
    }
    return nullptr;
}

LineFacts factsOf(FileKind kind, std::string_view line, const AliasReach& aliases) {
    LineFacts facts{kind, line, {}, {}, {}, false};
    if (kind != FileKind::GameConfig && kind != FileKind::OwnConfig)
        return facts;
    facts.commands = commandsOf(line);
    for (const Command& command : facts.commands) {
        facts.reach |= reachOf(command, aliases);
        if (equalsIgnoringCase(command.words.front(), "bind"))
            facts.bound |= reachOf(boundText(command), aliases);
    }
    return facts;
}

// The number of the last line that runs "exec userconfig.cfg", or 0.
int lastUserconfigExecLine(std::string_view content) {
    int last = 0;
    forEachLine(content, [&](std::string_view line, int number) {
        const auto commands = commandsOf(line);
        if (std::any_of(commands.begin(), commands.end(), isUserconfigExec))
            last = number;
    });
    return last;
}

}  // namespace

std::span<const Rule> rules() {
    return kRules;
}

std::vector<Finding> findingsIn(std::string_view relative, FileKind kind, std::string_view content,
                                const AliasReach& aliases) {
    std::vector<Finding> findings;
    if (kind == FileKind::Download) {
        findings.push_back(
            {std::string(relative), 0, {}, firstMatch({kind, {}, {}, {}, {}, false})});
        return findings;
    }
    const int lastExec = kind == FileKind::GameConfig ? lastUserconfigExecLine(content) : 0;
    forEachLine(content, [&](std::string_view line, int number) {
        LineFacts facts = factsOf(kind, line, aliases);
        facts.lastUserconfigExec = number == lastExec;
        if (const Rule* rule = firstMatch(facts))
            findings.push_back({std::string(relative), number, std::string(line), rule});
    });
    return findings;
}

}  // namespace morvane::scan

#include "core/scan/ConsoleReach.h"

#include "core/scan/Addresses.h"
#include "core/text/AsciiText.h"
#include "core/text/TextLines.h"

namespace morvane::scan {
namespace {

// Quoted text cannot hold quotes, so binds and aliases nest only a few levels; the limit guards
// against anything else.
constexpr int kMaxNesting = 8;

// Each round follows one more link of alias chains; longer chains are not met in practice.
constexpr int kMaxAliasRounds = 32;

// The words of `command` from the `from`th on, joined by blanks; a comment is not among them.
std::string wordsFrom(const Command& command, std::size_t from) {
    std::string text;
    for (std::size_t i = from; i < command.words.size(); ++i)
        text.append(i > from ? " " : "").append(command.words[i]);
    return text;
}

Reach reachAt(std::string_view text, const AliasReach& aliases, int depth);

Reach reachAt(const Command& command, const AliasReach& aliases, int depth) {
    const std::string name = lowerAscii(command.words.front());
    Reach reach;
    reach.connect = name == "connect";
    reach.retry = name == "retry";
    reach.password = name == "password" || name == "rcon_password";
    if (name == "say" || name == "say_team")
        reach.sayAddress = hasAddress(wordsFrom(command, 1));
    else if (name == "echo")
        reach.echoAddress = hasAddress(wordsFrom(command, 1));
    else if (name == "name" || name == "setinfo")
        reach.nameAddress = hasAddress(wordsFrom(command, name == "name" ? 1 : 2));
    if ((name == "bind" || name == "alias") && depth < kMaxNesting)
        reach |= reachAt(boundText(command), aliases, depth + 1);
    if (const auto alias = aliases.find(name); alias != aliases.end())
        reach |= alias->second;
    return reach;
}

Reach reachAt(std::string_view text, const AliasReach& aliases, int depth) {
    Reach reach;
    for (const Command& command : commandsOf(text))
        reach |= reachAt(command, aliases, depth);
    return reach;
}

// Marks the aliases that running `text` reaches in `reached`, following binds and aliases it
// defines, and the bodies of the aliases it names.
void markReached(std::string_view text, const std::multimap<std::string, std::string>& bodies,
                 std::set<std::string>& reached, int depth) {
    if (depth > kMaxNesting * kMaxAliasRounds)
        return;
    for (const Command& command : commandsOf(text)) {
        const std::string name = lowerAscii(command.words.front());
        if (name == "bind" || name == "alias") {
            markReached(boundText(command), bodies, reached, depth + 1);
            continue;
        }
        // A key bound to "+name" runs "-name" when it is let go.
        std::vector<std::string> names{name};
        if (name.size() > 1 && name.front() == '+')
            names.push_back('-' + name.substr(1));
        for (const std::string& alias : names) {
            if (!reached.insert(alias).second)
                continue;
            const auto [first, last] = bodies.equal_range(alias);
            for (auto body = first; body != last; ++body)
                markReached(body->second, bodies, reached, depth + 1);
        }
    }
}

}  // namespace

std::string boundText(const Command& command) {
    return wordsFrom(command, 2);
}

Reach reachOf(const Command& command, const AliasReach& aliases) {
    return reachAt(command, aliases, 0);
}

Reach reachOf(std::string_view text, const AliasReach& aliases) {
    return reachAt(text, aliases, 0);
}

void collectConsole(std::string_view content, ConsoleDefinitions& into) {
    forEachLine(content, [&](std::string_view line, int) {
        for (const Command& command : commandsOf(line)) {
            const bool alias = equalsIgnoringCase(command.words[0], "alias");
            if (alias && command.words.size() >= 2)
                into.aliases.emplace_back(lowerAscii(command.words[1]), boundText(command));
            else if (equalsIgnoringCase(command.words[0], "bind"))
                into.runs.push_back(boundText(command));
            else if (!alias)
                into.runs.push_back(command.words[0]);  // what it names; its words are its own
        }
    });
}

void collectAliases(std::string_view content, AliasDefinitions& into) {
    ConsoleDefinitions definitions;
    collectConsole(content, definitions);
    into.insert(into.end(), definitions.aliases.begin(), definitions.aliases.end());
}

AliasReach resolveAliases(const AliasDefinitions& definitions) {
    AliasReach aliases;
    for (int round = 0; round < kMaxAliasRounds; ++round) {
        bool changed = false;
        for (const auto& [name, body] : definitions) {
            Reach& known = aliases[name];
            const Reach before = known;
            known |= reachOf(body, aliases);
            changed |= known != before;
        }
        if (!changed)
            break;
    }
    return aliases;
}

Console resolveConsole(const ConsoleDefinitions& definitions) {
    Console console{resolveAliases(definitions.aliases), {}};
    const std::multimap<std::string, std::string> bodies(definitions.aliases.begin(),
                                                         definitions.aliases.end());
    for (const std::string& run : definitions.runs)
        markReached(run, bodies, console.reached, 0);
    return console;
}

}  // namespace morvane::scan

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

Reach reachAt(std::string_view text, const AliasReach& aliases, int depth);

Reach reachAt(const Command& command, const AliasReach& aliases, int depth) {
    const std::string name = lowerAscii(command.words.front());
    Reach reach;
    reach.connect = name == "connect";
    reach.retry = name == "retry";
    reach.say = name == "say" || name == "say_team";
    // The words leave out a comment, which the console never runs.
    std::string words;
    for (const std::string& word : command.words)
        words += word + " ";
    reach.address = hasAddress(words);
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

}  // namespace

std::string boundText(const Command& command) {
    std::string text;
    for (std::size_t i = 2; i < command.words.size(); ++i)
        text += (i > 2 ? " " : "") + command.words[i];
    return text;
}

Reach reachOf(const Command& command, const AliasReach& aliases) {
    return reachAt(command, aliases, 0);
}

Reach reachOf(std::string_view text, const AliasReach& aliases) {
    return reachAt(text, aliases, 0);
}

void collectAliases(std::string_view content, AliasDefinitions& into) {
    forEachLine(content, [&](std::string_view line, int) {
        for (const Command& command : commandsOf(line)) {
            if (command.words.size() >= 2 && equalsIgnoringCase(command.words[0], "alias"))
                into.emplace_back(lowerAscii(command.words[1]), boundText(command));
        }
    });
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

}  // namespace morvane::scan

#include "cli/Docs.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <vector>

#include "cli/Commands.h"
#include "cli/Help.h"
#include "platform/Translate.h"

namespace morvane::cli {

namespace {

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> out;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find(' '), text.size());
        if (end > 0)
            out.push_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return out;
}

// The placeholders that stand for something the user types: GAME, GROUP, DIR...
std::set<std::string, std::less<>> placeholders() {
    std::set<std::string, std::less<>> names;
    for (const TermDoc& operand : operandDocs())
        names.emplace(operand.term);
    for (const OptionSpec& option : optionTable()) {
        if (!option.argument.empty())
            names.emplace(option.argument);
    }
    return names;
}

// One word of text in roff: placeholders in italics, options in bold with their hyphens kept as
// hyphens (not typeset as dashes), backslashes escaped.
std::string roffWord(std::string_view word) {
    static const auto names = placeholders();
    std::size_t start = 0;
    while (start < word.size() && (word[start] == '[' || word[start] == '('))
        ++start;
    std::size_t end = start;
    while (end < word.size() && (std::isalnum(static_cast<unsigned char>(word[end])) ||
                                 word[end] == '-' || word[end] == '_'))
        ++end;
    const std::string_view core = word.substr(start, end - start);
    std::string out(word.substr(0, start));
    if (names.contains(core)) {
        out += "\\fI" + std::string(core) + "\\fR";
    } else if (core.starts_with("-")) {
        out += "\\fB";
        for (const char c : core)
            out += c == '-' ? std::string("\\-") : std::string(1, c);
        out += "\\fR";
    } else {
        out += core;
    }
    for (const char c : word.substr(end))
        out += c == '\\' ? std::string("\\e") : std::string(1, c);
    return out;
}

std::string roffText(std::string_view text) {
    std::string out;
    for (const std::string_view word : words(text)) {
        if (!out.empty())
            out += ' ';
        out += roffWord(word);
    }
    return out;
}

// A line of running text; a leading dot or quote would read as a request.
std::string roffLine(std::string_view text) {
    std::string out = roffText(text);
    if (!out.empty() && (out[0] == '.' || out[0] == '\''))
        out.insert(0, "\\&");
    return out + '\n';
}

std::string tagged(std::string_view tag, std::string_view text) {
    return ".TP\n" + roffLine(tag) + roffLine(text);
}

std::string optionTerm(const OptionSpec& option) {
    return option.argument.empty() ? std::string(option.name)
                                   : std::string(option.name) + " " + std::string(option.argument);
}

// A command line of an example, to be copied as it is: every hyphen a hyphen-minus.
std::string roffCommand(std::string_view command) {
    std::string out;
    for (const char c : command)
        out += c == '-' ? std::string("\\-") : std::string(1, c);
    return out;
}

struct Example {
    std::string_view question;  // marked with trMark
    std::string_view commands[2];
};

constexpr Example kExamples[] = {
    {i18n::trMark("Which kinds of advertising does the game in ~/games/Half-Life carry?"),
     {"morvane-cli search ~/games/Half-Life all"}},
    {i18n::trMark("Clean all of them and mark the treated files read-only:"),
     {"morvane-cli clean ~/games/Half-Life all --read-only"}},
    {i18n::trMark("Where did servers plant something, in every installation found?"),
     {"morvane-cli scan --all-found"}},
    {i18n::trMark(
         "Clean them all, keeping the players' own settings; then, if need be, take it back:"),
     {"morvane-cli clean --all-found all --keep-settings", "morvane-cli undo ~/games/Half-Life"}},
};

std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& item : items)
        out += (out.empty() ? "" : " ") + item;
    return out;
}

}  // namespace

std::string manPage(std::string_view filesFolder) {
    using i18n::tr;
    using i18n::trc;
    const auto section = [](std::string_view name) { return ".SH " + std::string(name) + "\n"; };
    // The coding line tells man-db the page's encoding, whatever the language's usual one.
    std::string out =
        "'\\\" -*- coding: UTF-8 -*-\n"
        ".\\\" Made from the driver's help tables (cli/Commands.cpp, cli/Options.cpp, "
        "cli/Help.cpp) by morvane-cli-docs.\n"
        ".TH MORVANE\\-CLI 1 \"\" \"Morvane " MORVANE_VERSION "\" \"" +
        tr("User Commands") + "\"\n" + section(trc("manual page section", "NAME")) +
        "morvane\\-cli \\- " + tr(kProgramSummary) + "\n" +
        section(trc("manual page section", "SYNOPSIS"));
    bool first = true;
    for (const CommandSpec& command : commandTable()) {
        out += first ? "" : ".br\n";
        first = false;
        std::string line = "\\fBmorvane\\-cli " + std::string(command.name) + "\\fR";
        if (!command.operands.empty())
            line.append(" ").append(roffText(command.operands));
        for (const OptionSpec& option : optionTable()) {
            if (takesOption(command.name, option))
                line += " [" + roffText(optionTerm(option)) + "]";
        }
        out += line + "\n";
    }
    out +=
        ".br\n\\fBmorvane\\-cli \\-\\-help\\fR | \\fB\\-h\\fR\n"
        ".br\n\\fBmorvane\\-cli \\-\\-version\\fR\n" +
        section(trc("manual page section", "DESCRIPTION")) +
        roffLine(
            tr("morvane-cli runs the cleaning engine of Morvane without windows, for scripts, "
               "for admins of many computers, and for a first look at an installation. Game "
               "servers plant their adverts in a few of the player's own files: the main menu, "
               "the loading screens, the scoreboard, the welcome page, and config files that "
               "make the player's game spam for them. morvane-cli finds those files in both "
               "edition folders of the game, cstrike and cstrike_russian, deletes them and "
               "puts clean replacement files in their place.")) +
        section(trc("manual page section", "COMMANDS"));
    for (const CommandSpec& command : commandTable())
        out += tagged(std::string(command.name) + " " + std::string(command.operands),
                      tr(command.summary));
    out += section(trc("manual page section", "OPERANDS"));
    for (const TermDoc& operand : operandDocs())
        out += tagged(operand.term, tr(operand.meaning));
    out += section(trc("manual page section", "GROUPS"));
    for (std::size_t g = 0; g < kGroupCount; ++g)
        out += tagged(kGroupNames[g], tr(groupSummaries()[g]));
    out += tagged("all", tr("every group above"));
    out += section(trc("manual page section", "OPTIONS"));
    for (const OptionSpec& option : optionTable())
        out += tagged(optionTerm(option), tr(option.summary) + " [" + commandList(option) + "]");
    out += tagged("-h, --help", tr("print a summary of this page"));
    out += tagged("--version", tr("print the version"));
    out += section(trc("manual page section", "EXIT STATUS"));
    for (const TermDoc& status : exitStatusDocs())
        out += tagged(status.term, tr(status.meaning));
    out += section(trc("manual page section", "FILES")) +
           tagged(std::string(filesFolder),
                  tr("the replacement files, found beside the program's own executable; --files "
                     "DIR takes them from elsewhere"));
    out += tagged("~/.local/state/morvane/backups",
                  tr("the backups of clean, protect and undo, one folder per game folder and run; "
                     "$XDG_STATE_HOME/morvane/backups when XDG_STATE_HOME is set"));
    out += section(trc("manual page section", "EXAMPLES"));
    for (const Example& example : kExamples) {
        out += (&example == kExamples ? "" : ".PP\n") + roffLine(tr(example.question)) +
               ".PP\n.RS\n.nf\n";
        for (const std::string_view command : example.commands) {
            if (!command.empty())
                out += roffCommand(command) + "\n";
        }
        out += ".fi\n.RE\n";
    }
    out += section(trc("manual page section", "SEE ALSO")) + ".BR morvane (1)\n";
    return out;
}

namespace {

// The completion script with @NAME@ slots for what the tables give.
constexpr std::string_view kCompletionTemplate =
    R"(# bash completion for morvane-cli -*- shell-script -*-
# Made from the driver's help tables (cli/Commands.cpp, cli/Options.cpp, cli/Help.cpp) by morvane-cli-docs.

_morvane_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    COMPREPLY=()
    if ((COMP_CWORD == 1)); then
        mapfile -t COMPREPLY < <(compgen -W "@COMMANDS@ --help -h --version" -- "$cur")
        return
    fi
    # Per command: its options, whether its first operand is a folder, whether it takes groups.
    local options folder groups
    case ${COMP_WORDS[1]} in
@CASES@        *) return ;;
    esac
    case $prev in
        @FOLDER_VALUED@)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -d -- "$cur")
            return ;;
        @OTHER_VALUED@) return ;;
    esac
    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$options --help" -- "$cur")
        return
    fi
    # The operands already given: words that are neither options nor their values.
    local i given=0
    for ((i = 2; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
            @VALUED@) ((i++)) ;;
            -*) ;;
            *) ((given++)) ;;
        esac
    done
    if ((given == 0 && folder)); then
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -d -- "$cur")
    elif ((groups)); then
        mapfile -t COMPREPLY < <(compgen -W "@GROUPS@" -- "$cur")
    fi
}
complete -F _morvane_cli morvane-cli
)";

void fillSlot(std::string& text, std::string_view slot, const std::string& value) {
    text.replace(text.find(slot), slot.size(), value);
}

// A case pattern matching any of `names`; one that matches no word when there are none.
std::string alternatives(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& name : names)
        out += (out.empty() ? "" : "|") + name;
    return out.empty() ? std::string("--no-such-option--") : out;
}

}  // namespace

std::string bashCompletion() {
    std::vector<std::string> commands, groups(kGroupNames.begin(), kGroupNames.end()), folderValued,
        otherValued;
    groups.emplace_back("all");
    for (const OptionSpec& option : optionTable()) {
        if (option.argument == "DIR")
            folderValued.emplace_back(option.name);
        else if (!option.argument.empty())
            otherValued.emplace_back(option.name);
    }
    std::string cases;
    for (const CommandSpec& command : commandTable()) {
        commands.emplace_back(command.name);
        std::vector<std::string> options;
        for (const OptionSpec& option : optionTable()) {
            if (takesOption(command.name, option))
                options.emplace_back(option.name);
        }
        cases += "        " + std::string(command.name) + ") options=\"" + joined(options) +
                 "\" folder=" + (takesFolder(command) ? "1" : "0") +
                 " groups=" + (takesGroups(command) ? "1" : "0") + " ;;\n";
    }
    std::vector<std::string> valued = folderValued;
    valued.insert(valued.end(), otherValued.begin(), otherValued.end());

    std::string script(kCompletionTemplate);
    fillSlot(script, "@COMMANDS@", joined(commands));
    fillSlot(script, "@CASES@", cases);
    fillSlot(script, "@FOLDER_VALUED@", alternatives(folderValued));
    fillSlot(script, "@OTHER_VALUED@", alternatives(otherValued));
    fillSlot(script, "@VALUED@", alternatives(valued));
    fillSlot(script, "@GROUPS@", joined(groups));
    return script;
}

}  // namespace morvane::cli

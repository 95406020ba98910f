#include "cli/Help.h"

#include "cli/Commands.h"

#include <algorithm>
#include <cstddef>

namespace morvane::cli {

namespace {

constexpr std::array<std::string_view, kGroupCount> kGroups{
    i18n::trMark("the main menu (resource/GameMenu.res)"),
    i18n::trMark("the loading screens (resource/LoadingDialog*.res)"),
    i18n::trMark("the scoreboard shown while TAB is held (resource/UI/ScoreBoard.res)"),
    i18n::trMark(
        "the config files through which the game spams (config.cfg, userconfig.cfg): deleted, "
        "not replaced; the game writes new ones"),
    i18n::trMark("the welcome page (motd.txt)"),
    i18n::trMark("the auto-buy list (autobuy.txt)"),
};

constexpr TermDoc kOperands[] = {
    {"GAME",
     i18n::trMark(
         "the game folder: the one that holds hl.exe (or hl_linux); both edition folders in it, "
         "cstrike and cstrike_russian, are treated")},
    {"GROUP",
     i18n::trMark(
         "a kind of advertising: one of the groups below, or all; search searches every group when "
         "none is named, clean wants them named unless --block-server-motd is given")},
    {"FOLDER", i18n::trMark("any folder")},
    {"ID",
     i18n::trMark("a backup, named after the time of its clean (UTC), such as 20240501T100000Z")},
};

constexpr TermDoc kExitStatuses[] = {
    {"0", i18n::trMark("everything asked was done; scan: nothing planted was found")},
    {"1",
     i18n::trMark(
         "something could not be done; what, is said on standard error; scan: something planted "
         "was found; find: no installation was found; undo: files changed since the clean were "
         "left alone")},
    {"2", i18n::trMark(
              "bad input (an unknown command, group or option, a folder that is not there, clean "
              "with neither a group nor --block-server-motd); nothing was changed; find, scan: a "
              "file or folder that is there could not be read, or --all-found found nothing")},
};

constexpr std::size_t kWidth = 79;
constexpr std::size_t kTermColumn = 24;

// The columns `text` takes on a terminal: one a character (the bytes that continue a character in
// UTF-8 take none), so that Cyrillic text is filled to the same width as English.
std::size_t columns(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xc0) != 0x80;
    }));
}

// Appends `text` filled to kWidth columns, word by word, every line after the first indented by
// `indent`; the first line starts at `column` of a line already begun. A word longer than a line
// stands alone on one.
void fill(std::string& out, std::string_view text, std::size_t column, std::size_t indent) {
    bool lineBegun = false;  // by a word of `text`
    while (!text.empty()) {
        const std::size_t end = std::min(text.find(' '), text.size());
        const std::string_view word = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        const std::size_t width = columns(word);
        if (lineBegun && column + 1 + width > kWidth) {
            out.append("\n").append(indent, ' ');
            column = indent;
            lineBegun = false;
        }
        if (lineBegun) {
            out += ' ';
            ++column;
        }
        out.append(word);
        column += width;
        lineBegun = true;
    }
    out += '\n';
}

// "  term        meaning", the meaning filled beside the term or, for a long term, below it.
void termLine(std::string& out, std::string_view term, std::string_view meaning) {
    out += "  ";
    out += term;
    std::size_t column = 2 + columns(term);
    if (column + 2 > kTermColumn) {
        out += '\n';
        column = 0;
    }
    out.append(kTermColumn - column, ' ');
    fill(out, meaning, kTermColumn, kTermColumn);
}

// One line per command, the first after `lead`, the others indented as far: the command, its
// operands and its options, filled to the width.
void synopsis(std::string& out, std::string_view lead) {
    const std::string more(columns(lead), ' ');
    for (const CommandSpec& command : commandTable()) {
        std::string line(&command == commandTable().data() ? lead : more);
        line += std::string(kProgramName) + " " + std::string(command.name);
        if (!command.operands.empty())
            line.append(" ").append(command.operands);
        for (const OptionSpec& option : optionTable()) {
            if (!takesOption(command.name, option))
                continue;
            line += " [" + std::string(option.name);
            if (!option.argument.empty())
                line.append(" ").append(option.argument);
            line += "]";
        }
        fill(out, line, 0, more.size() + 2 + kProgramName.size() + command.name.size());
    }
}

// A blank line, then `title` on a line of its own. Appended piece by piece: GCC 12 at -O3 misreads
// the temporaries of "\n" + text as overlaps.
void heading(std::string& out, const std::string& title) {
    out.append("\n").append(title).append("\n");
}

}  // namespace

const std::array<std::string_view, kGroupCount>& groupSummaries() {
    return kGroups;
}
std::span<const TermDoc> operandDocs() {
    return kOperands;
}
std::span<const TermDoc> exitStatusDocs() {
    return kExitStatuses;
}

std::string versionText() {
    return std::string(kProgramName) + " " + MORVANE_VERSION + "\n";
}

std::string helpText() {
    using i18n::tr;
    std::string out;
    fill(out,
         tr("%s: %s, as the windowed program Morvane does.", kProgramName, tr(kProgramSummary)), 0,
         0);
    heading(out, tr("Usage:"));
    synopsis(out, "  ");
    out += "  " + std::string(kProgramName) + " --help | -h\n";
    out += "  " + std::string(kProgramName) + " --version\n";
    heading(out, tr("Commands:"));
    for (const CommandSpec& command : commandTable())
        termLine(out, command.name, tr(command.summary));
    heading(out, tr("Operands:"));
    for (const TermDoc& operand : kOperands)
        termLine(out, operand.term, tr(operand.meaning));
    heading(out, tr("Groups:"));
    for (std::size_t g = 0; g < kGroupCount; ++g)
        termLine(out, kGroupNames[g], tr(kGroups[g]));
    termLine(out, "all", tr("every group above"));
    heading(out, tr("Options:"));
    for (const OptionSpec& option : optionTable()) {
        std::string term(option.name);
        if (!option.argument.empty())
            term.append(" ").append(option.argument);
        termLine(out, term, tr(option.summary) + " [" + commandList(option) + "]");
    }
    termLine(out, "-h, --help", tr("print this help"));
    termLine(out, "--version", tr("print the version"));
    heading(out, tr("Exit status:"));
    for (const TermDoc& status : kExitStatuses)
        termLine(out, status.term, tr(status.meaning));
    return out;
}

std::string usageText() {
    std::string out;
    // TRANSLATORS: the lines below it are indented as far as this is long.
    synopsis(out, i18n::tr("usage: "));
    out += "GROUP:";
    for (std::string_view group : kGroupNames)
        out.append(" ").append(group);
    return out + " all\n";
}

std::optional<std::string> helpOrVersion(const std::vector<std::string>& args) {
    if (!args.empty() && args[0] == "--version")
        return versionText();
    if ((!args.empty() && args[0] == "-h") ||
        std::find(args.begin(), args.end(), "--help") != args.end())
        return helpText();
    return std::nullopt;
}

}  // namespace morvane::cli

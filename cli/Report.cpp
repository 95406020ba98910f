#include "cli/Report.h"

#include <utility>

#include "cli/Options.h"
#include "cli/Text.h"
#include "platform/Translate.h"

namespace morvane::cli {
namespace {

using i18n::tr;

// What was done to a file, as a text report says it.
std::string doneWord(Done done) {
    switch (done) {
        case Done::Replaced:
            return tr("replaced");
        case Done::Rewritten:
            return tr("rewritten");
        case Done::Deleted:
            return tr("deleted");
        case Done::Absent:
            return tr("absent");
        case Done::PutBack:
            return tr("put back");
        case Done::Removed:
            // TRANSLATORS: a file that the command undone had made, gone again.
            return tr("removed");
        case Done::Kept:
            return tr("left as it is");
        case Done::Changed:
            return tr("changed since");
        case Done::Unread:
            return tr("not read");
        case Done::Failed:
            break;
    }
    // TRANSLATORS: a file that could not be treated; why follows in brackets.
    return tr("failed");
}

}  // namespace

std::string guardsText(const Guards& guards, bool english) {
    std::string text;
    for (const auto& [on, name] : {std::pair{guards.readOnly, i18n::trMark("read-only")},
                                   std::pair{guards.hidden, i18n::trMark("hidden")},
                                   std::pair{guards.system, i18n::trMark("system")}}) {
        if (on)
            text.append(text.empty() ? "" : ", ").append(english ? std::string(name) : tr(name));
    }
    return text;
}

// Appended piece by piece: GCC 12 at -O3 misreads the temporaries of "a" + b as overlaps.
std::string outcomeLine(const Outcome& file) {
    std::string line = printable(file.path);
    line.append(": ").append(doneWord(file.done));
    const std::string guards = guardsText(file.guards, false);
    if (file.done == Done::Failed)
        line.append(" (").append(printable(reasonOf(file).translated())).append(")");
    else if (!guards.empty())
        line.append(" ").append(tr("(it was %s: it still is)", guards));
    return line;
}

std::string protectionWord(scan::Protection state) {
    switch (state) {
        case scan::Protection::On:
            return tr("on");
        case scan::Protection::Off:
            return tr("off");
        case scan::Protection::Missing:
            break;
    }
    // TRANSLATORS: cl_filterstuffcmd is set by no config file of the edition folder.
    return tr("missing");
}

std::string formatReport(const Report& report, bool heading) {
    std::string out = heading ? tr("game: %s", printable(report.game)) + "\n" : "";
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        out += std::string(kGroupNames[g]) + ": " +
               (!report.asked[g]  ? tr("not searched")
                : report.found[g] ? tr("found")
                                  : tr("not found")) +
               '\n';
    }
    for (const Outcome& file : report.files)
        out += outcomeLine(file) + '\n';
    if (report.verdict) {
        out += (*report.verdict == Verdict::PossiblyRemoved ? tr("Advertising possibly removed")
                                                            : tr("Advertising not removed")) +
               '\n';
    }
    if (!report.backup.empty())
        out += tr("backup: %s", report.backup) + '\n';
    return out;
}

}  // namespace morvane::cli

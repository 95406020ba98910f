#include "cli/Report.h"

#include "cli/Json.h"
#include "cli/Options.h"
#include "cli/Text.h"

namespace morvane::cli {
namespace {

const char* actionName(FileAction action) {
    switch (action) {
        case FileAction::Replaced:
            return "replaced";
        case FileAction::Rewritten:
            return "rewritten";
        case FileAction::Deleted:
            return "deleted";
        case FileAction::Absent:
            return "absent";
        case FileAction::Failed:
            return "failed";
    }
    return "";
}

// What guarded a rewritten file, which it has again: "read-only, hidden"; empty when nothing did.
std::string guardsText(const Guards& guards) {
    std::string text;
    for (const auto& [on, name] :
         {std::pair{guards.readOnly, "read-only"}, std::pair{guards.hidden, "hidden"},
          std::pair{guards.system, "system"}}) {
        if (on)
            text.append(text.empty() ? "" : ", ").append(name);
    }
    return text;
}

std::string asJson(const Report& report) {
    std::string out = "{";
    if (report.verdict)
        jsonMember(out, "game", jsonString(report.game));
    std::string status = "{";
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        jsonMember(status, kGroupNames[g],
                   !report.asked[g]  ? "null"
                   : report.found[g] ? "true"
                                     : "false");
    }
    jsonMember(out, "status", status + "}");
    if (report.verdict) {
        jsonMember(out, "verdict",
                   *report.verdict == Verdict::PossiblyRemoved ? "\"possibly removed\""
                                                               : "\"not removed\"");
        std::string files = "[";
        for (const FileOutcome& file : report.files) {
            std::string one = "{";
            jsonMember(one, "path", jsonString(file.path));
            jsonMember(one, "action", jsonString(actionName(file.action)));
            const std::string guards = guardsText(file.guards);
            jsonMember(one, "reason", jsonString(guards.empty() ? file.reason : guards + ": kept"));
            jsonElement(files, one + "}");
        }
        jsonMember(out, "files", files + "]");
    }
    if (!report.backup.empty())
        jsonMember(out, "backup", jsonString(report.backup));
    return out + "}\n";
}

}  // namespace

std::string verdictCaption(Verdict verdict) {
    return verdict == Verdict::PossiblyRemoved ? "Реклама возможно удалена" : "Реклама не удалена";
}

std::string formatStop(const std::string& game, const std::string& stop,
                       const std::string& reason) {
    std::string out = "{";
    jsonMember(out, "game", jsonString(game));
    jsonMember(out, "stop", jsonString(stop));
    jsonMember(out, "reason", jsonString(reason));
    return out + "}\n";
}

std::string formatReport(const Report& report, bool json, bool heading) {
    if (json)
        return asJson(report);
    std::string out = heading ? "game: " + printable(report.game) + "\n" : "";
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        out += std::string(kGroupNames[g]) + ": " +
               (!report.asked[g]  ? "not searched"
                : report.found[g] ? "found"
                                  : "not found") +
               '\n';
    }
    for (const FileOutcome& file : report.files) {
        out += printable(file.path) + ": " + actionName(file.action);
        const std::string guards = guardsText(file.guards);
        if (file.action == FileAction::Failed)
            out += " (" + printable(file.reason) + ")";
        else if (!guards.empty())
            out += " (it was " + guards + ": it still is)";
        out += '\n';
    }
    if (report.verdict)
        out += verdictCaption(*report.verdict) + '\n';
    if (!report.backup.empty())
        out += "backup: " + report.backup + '\n';
    return out;
}

}  // namespace morvane::cli

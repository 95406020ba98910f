#include "cli/Report.h"

#include "cli/Json.h"
#include "cli/Options.h"

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

}  // namespace

std::string verdictCaption(Verdict verdict) {
    return verdict == Verdict::PossiblyRemoved ? "Реклама возможно удалена" : "Реклама не удалена";
}

std::string formatReport(const std::array<bool, kGroupCount>& status,
                         std::optional<Verdict> verdict, const std::vector<FileOutcome>& files,
                         bool json, const std::string& backup) {
    std::string out;
    if (json) {
        out = "{\"status\":{";
        for (std::size_t g = 0; g < kGroupCount; ++g) {
            if (g > 0)
                out += ',';
            out += '"' + std::string(kGroupNames[g]) + "\":" + (status[g] ? "true" : "false");
        }
        out += '}';
        if (verdict) {
            out += std::string(",\"verdict\":\"") +
                   (*verdict == Verdict::PossiblyRemoved ? "possibly removed" : "not removed") +
                   "\",\"files\":[";
            for (std::size_t i = 0; i < files.size(); ++i) {
                out += (i > 0 ? ",{\"path\":" : "{\"path\":") + jsonString(files[i].path) +
                       ",\"action\":\"" + actionName(files[i].action) +
                       "\",\"reason\":" + jsonString(files[i].reason) + '}';
            }
            out += ']';
        }
        if (!backup.empty())
            out += ",\"backup\":" + jsonString(backup);
        return out + "}\n";
    }
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        out += std::string(kGroupNames[g]) + ": " + (status[g] ? "found" : "not found") + '\n';
    }
    for (const FileOutcome& file : files) {
        out += file.path + ": " + actionName(file.action);
        out += file.action == FileAction::Failed ? " (" + file.reason + ")\n" : "\n";
    }
    if (verdict)
        out += verdictCaption(*verdict) + '\n';
    if (!backup.empty())
        out += "backup: " + backup + '\n';
    return out;
}

}  // namespace morvane::cli

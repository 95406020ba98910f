#include "CliReport.h"

#include "CliOptions.h"

namespace morvane::cli {

std::string verdictCaption(Verdict verdict) {
    return verdict == Verdict::PossiblyRemoved ? "Реклама возможно удалена" : "Реклама не удалена";
}

std::string formatReport(const std::array<bool, kGroupCount>& status,
                         std::optional<Verdict> verdict, bool json) {
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
                   '"';
        }
        return out + "}\n";
    }
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        out += std::string(kGroupNames[g]) + ": " + (status[g] ? "found" : "not found") + '\n';
    }
    if (verdict)
        out += verdictCaption(*verdict) + '\n';
    return out;
}

}  // namespace morvane::cli

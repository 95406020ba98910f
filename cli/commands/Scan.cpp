#include <algorithm>

#include "cli/ExitStatus.h"
#include "cli/Json.h"
#include "cli/Text.h"
#include "cli/commands/Handlers.h"
#include "core/game/GameLayout.h"
#include "core/scan/Scanner.h"

namespace morvane::cli {
namespace {

using scan::Finding;
using scan::ScanReport;

// Suspect findings are listed, but a scan that finds only those found nothing planted.
std::size_t plantedCount(const ScanReport& report) {
    return static_cast<std::size_t>(
        std::count_if(report.findings.begin(), report.findings.end(),
                      [](const Finding& f) { return f.level() == scan::Level::Planted; }));
}

std::string asJson(const std::string& game, const ScanReport& report, char sep) {
    std::string out = "{";
    jsonMember(out, "game", jsonString(game));
    std::string findings = "[";
    for (const Finding& f : report.findings) {
        std::string one = "{";
        jsonMember(one, "file", jsonString(native(f.file, sep)));
        jsonMember(one, "line", std::to_string(f.line));
        jsonMember(one, "text", jsonString(f.text));
        jsonMember(one, "rule", jsonString(std::string(f.rule->id)));
        jsonMember(one, "level", jsonString(std::string(scan::levelName(f.level()))));
        jsonMember(one, "reason", jsonString(std::string(f.rule->reason)));
        jsonElement(findings, one + "}");
    }
    jsonMember(out, "findings", findings + ']');
    std::string protection = "{";
    for (const scan::EditionProtection& p : report.protection)
        jsonMember(protection, p.folder, jsonString(std::string(scan::protectionName(p.state))));
    jsonMember(out, "protection", protection + '}');
    std::string unread = "[";
    for (const scan::UnreadFile& file : report.unread) {
        std::string one = "{";
        jsonMember(one, "file", jsonString(native(file.file, sep)));
        jsonMember(one, "reason", jsonString(file.reason));
        jsonElement(unread, one + "}");
    }
    jsonMember(out, "unread", unread + ']');
    return out + "}\n";
}

std::string asText(const std::string& game, const ScanReport& report, char sep, bool heading) {
    std::string out = heading ? "game: " + printable(game) + "\n" : "";
    for (const Finding& f : report.findings) {
        out.append(printable(native(f.file, sep)));
        if (f.line > 0)
            out.append(":").append(std::to_string(f.line));
        out.append(": ").append(scan::levelName(f.level())).append(": ").append(f.rule->id);
        out.append(": ").append(f.rule->reason).append("\n");
        if (f.line > 0)
            out.append("    ").append(printable(f.text)).append("\n");
    }
    if (!report.protection.empty()) {
        out.append(scan::kFilterSetting).append(":");
        for (const scan::EditionProtection& p : report.protection) {
            out.append(&p == &report.protection.front() ? " " : ", ").append(p.folder);
            out.append(" ").append(scan::protectionName(p.state));
        }
        out += '\n';
    }
    const std::size_t n = plantedCount(report);
    const std::size_t suspect = report.findings.size() - n;
    if (n == 0)
        out.append("nothing planted");
    else
        out.append(std::to_string(n)).append(n == 1 ? " planted thing" : " planted things");
    if (suspect > 0)
        out.append(" and ")
            .append(std::to_string(suspect))
            .append(suspect == 1 ? " suspect one" : " suspect ones");
    return out.append(" found in ").append(printable(game)).append("\n");
}

}  // namespace

int runScan(const CliOptions& options, Seams& seams, Output& output) {
    int status = kDone;
    const std::vector<std::string> games = chooseGames(options, seams, output, status);
    bool first = true;
    for (const std::string& game : games) {
        if (!lookAt(seams.reader, game).anyScannedFolder) {
            output.problem("'" + game +
                           "' holds no cstrike, cstrike_russian, cstrike_downloads or valve "
                           "folder; is it the game folder?");
            status = kBadInput;
            continue;
        }
        const ScanReport report = scan::scanGame(seams.reader, game);
        if (!first && !options.json)
            output.out("\n");
        first = false;
        const char sep = seams.reader.separator();
        output.out(options.json ? asJson(game, report, sep)
                                : asText(game, report, sep, options.allFound));
        for (const scan::UnreadFile& unread : report.unread)
            output.problem(below(game, unread.file, sep) + ": not read: " + unread.reason);
        const int found = !report.unread.empty()      ? kBadInput
                          : plantedCount(report) == 0 ? kDone
                                                      : kFound;
        status = std::max(status, found);
    }
    return status;
}

}  // namespace morvane::cli

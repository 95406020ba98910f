#include "cli/ScanCommand.h"

#include <algorithm>

#include "cli/CliReport.h"
#include "core/scan/Scanner.h"

namespace morvane::cli {
namespace {

using scan::Finding;
using scan::ScanReport;

// A JSON member `"name":value` after `out`'s last one.
void member(std::string& out, std::string_view name, const std::string& value) {
    if (out.back() != '{')
        out += ',';
    out.append(jsonString(std::string(name))).append(":").append(value);
}

// Suspect findings are listed, but a scan that finds only those found nothing planted.
std::size_t plantedCount(const ScanReport& report) {
    return static_cast<std::size_t>(
        std::count_if(report.findings.begin(), report.findings.end(),
                      [](const Finding& f) { return f.level() == scan::Level::Planted; }));
}

std::string asJson(const std::string& game, const ScanReport& report) {
    std::string out = "{";
    member(out, "game", jsonString(game));
    std::string findings = "[";
    for (const Finding& f : report.findings) {
        std::string one = "{";
        member(one, "file", jsonString(f.file));
        member(one, "line", std::to_string(f.line));
        member(one, "text", jsonString(f.text));
        member(one, "rule", jsonString(std::string(f.rule->id)));
        member(one, "level", jsonString(std::string(scan::levelName(f.level()))));
        member(one, "reason", jsonString(std::string(f.rule->reason)));
        findings.append(findings.size() > 1 ? "," : "").append(one).append("}");
    }
    member(out, "findings", findings + ']');
    std::string protection = "{";
    for (const scan::EditionProtection& p : report.protection)
        member(protection, p.folder, jsonString(std::string(scan::protectionName(p.state))));
    member(out, "protection", protection + '}');
    std::string unread = "[";
    for (const scan::UnreadFile& file : report.unread) {
        std::string one = "{";
        member(one, "file", jsonString(file.file));
        member(one, "reason", jsonString(file.reason));
        unread.append(unread.size() > 1 ? "," : "").append(one).append("}");
    }
    member(out, "unread", unread + ']');
    return out + "}\n";
}

std::string asText(const std::string& game, const ScanReport& report) {
    std::string out;
    for (const Finding& f : report.findings) {
        out.append(f.file);
        if (f.line > 0)
            out.append(":").append(std::to_string(f.line));
        out.append(": ").append(scan::levelName(f.level())).append(": ").append(f.rule->id);
        out.append(": ").append(f.rule->reason).append("\n");
        if (f.line > 0)
            out.append("    ").append(f.text).append("\n");
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
    return out.append(" found in ").append(game).append("\n");
}

}  // namespace

CommandResult runScan(TreeReader& reader, const std::vector<std::string>& games, bool json) {
    CommandResult result;
    for (const std::string& game : games) {
        if (!scan::holdsScannedFolders(reader, game)) {
            result.err += "morvane-cli: '" + game +
                          "' holds no cstrike, cstrike_russian, cstrike_downloads or valve folder; "
                          "is it the game folder?\n";
            result.status = 2;
            continue;
        }
        const ScanReport report = scan::scanGame(reader, game);
        if (!result.out.empty() && !json)
            result.out += "\n";
        result.out += json ? asJson(game, report) : asText(game, report);
        for (const scan::UnreadFile& unread : report.unread)
            result.err +=
                "morvane-cli: " + game + ": " + unread.file + ": not read: " + unread.reason + "\n";
        const int status = !report.unread.empty() ? 2 : plantedCount(report) == 0 ? 0 : 1;
        result.status = std::max(result.status, status);
    }
    return result;
}

}  // namespace morvane::cli

#include "ScanCommand.h"

#include <algorithm>

#include "CliReport.h"
#include "Scanner.h"

namespace morvane::cli {
namespace {

using scan::Finding;
using scan::ScanReport;

std::string asJson(const std::string& game, const ScanReport& report) {
    std::string out = "{\"game\":" + jsonString(game) + ",\"findings\":[";
    for (std::size_t i = 0; i < report.findings.size(); ++i) {
        const Finding& f = report.findings[i];
        out += (i > 0 ? "," : "") + std::string("{\"file\":") + jsonString(f.file) +
               ",\"line\":" + std::to_string(f.line) + ",\"text\":" + jsonString(f.text) +
               ",\"rule\":" + jsonString(std::string(f.rule->id)) +
               ",\"reason\":" + jsonString(std::string(f.rule->reason)) + "}";
    }
    out += "],\"protection\":{";
    for (std::size_t i = 0; i < report.protection.size(); ++i) {
        out += (i > 0 ? "," : "") + jsonString(report.protection[i].folder) + ":" +
               jsonString(std::string(scan::protectionName(report.protection[i].state)));
    }
    out += "},\"unread\":[";
    for (std::size_t i = 0; i < report.unread.size(); ++i) {
        out += (i > 0 ? "," : "") + std::string("{\"file\":") + jsonString(report.unread[i].file) +
               ",\"reason\":" + jsonString(report.unread[i].reason) + "}";
    }
    return out + "]}\n";
}

std::string asText(const std::string& game, const ScanReport& report) {
    std::string out;
    for (const Finding& f : report.findings) {
        out += f.file + (f.line > 0 ? ":" + std::to_string(f.line) : "") + ": " +
               std::string(f.rule->id) + ": " + std::string(f.rule->reason) + "\n";
        if (f.line > 0)
            out += "    " + f.text + "\n";
    }
    if (!report.protection.empty()) {
        out += std::string(scan::kFilterSetting) + ":";
        for (const scan::EditionProtection& p : report.protection) {
            out += std::string(&p == &report.protection.front() ? " " : ", ") + p.folder + " " +
                   std::string(scan::protectionName(p.state));
        }
        out += "\n";
    }
    const std::size_t n = report.findings.size();
    out += (n == 0 ? std::string("nothing planted") : std::to_string(n) + " planted") +
           (n == 1  ? " thing"
            : n > 1 ? " things"
                    : "") +
           " found in " + game + "\n";
    return out;
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
        const int status = !report.unread.empty() ? 2 : report.findings.empty() ? 0 : 1;
        result.status = std::max(result.status, status);
    }
    return result;
}

}  // namespace morvane::cli

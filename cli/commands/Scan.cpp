// scan: what servers and distributors planted, folder by folder.
#include <algorithm>

#include "cli/ExitStatus.h"
#include "cli/Json.h"
#include "cli/Report.h"
#include "cli/Text.h"
#include "cli/commands/Handlers.h"
#include "core/game/GameLayout.h"
#include "core/scan/Scanner.h"
#include "platform/Translate.h"

namespace morvane::cli {
namespace {

using i18n::tr;
using i18n::trn;
using scan::Finding;
using scan::ScanReport;

// Suspect findings are listed, but a scan that finds only those found nothing planted.
std::size_t plantedCount(const ScanReport& report) {
    return static_cast<std::size_t>(
        std::count_if(report.findings.begin(), report.findings.end(),
                      [](const Finding& f) { return f.level() == scan::Level::Planted; }));
}

std::string levelWord(scan::Level level) {
    // TRANSLATORS: the levels of a scan's findings: put there by a server or a distributor (and
    // taken out by clean --keep-settings), or perhaps so (listed, and kept).
    return level == scan::Level::Planted ? tr("planted") : tr("suspect");
}

// "115 planted things and 4 suspect ones found in GAME".
std::string summary(const ScanReport& report, const std::string& game) {
    const std::size_t n = plantedCount(report);
    const std::size_t suspect = report.findings.size() - n;
    const std::string planted =
        n == 0 ? tr("nothing planted") : trn("%d planted thing", "%d planted things", n, n);
    if (suspect == 0)
        return tr("%s found in %s", planted, printable(game));
    return tr("%s and %s found in %s", planted,
              trn("%d suspect one", "%d suspect ones", suspect, suspect), printable(game));
}

std::string asText(const std::string& game, const ScanReport& report, char sep, bool heading) {
    std::string out = heading ? tr("game: %s", printable(game)) + "\n" : "";
    for (const Finding& f : report.findings) {
        out.append(printable(native(f.file, sep)));
        if (f.line > 0)
            out.append(":").append(std::to_string(f.line));
        out.append(": ").append(levelWord(f.level())).append(": ").append(f.rule->id);
        out.append(": ").append(tr(f.rule->reason)).append("\n");
        if (f.line > 0)
            out.append("    ").append(printable(f.text)).append("\n");
    }
    if (!report.protection.empty()) {
        out.append(scan::kFilterSetting).append(":");
        for (const scan::EditionProtection& p : report.protection) {
            out.append(&p == &report.protection.front() ? " " : ", ").append(p.folder);
            out.append(" ").append(protectionWord(p.state));
        }
        out += '\n';
    }
    return out.append(summary(report, game)).append("\n");
}

}  // namespace

int runScan(const CliOptions& options, Seams& seams, Output& output) {
    int status = kDone;
    const std::vector<std::string> games = chooseGames(options, seams, output, status);
    bool first = true;
    for (const std::string& game : games) {
        if (!lookAt(seams.reader, game).anyScannedFolder) {
            output.problem(
                tr("'%s' holds no cstrike, cstrike_russian, cstrike_downloads or valve "
                   "folder; is it the game folder?",
                   game));
            status = kBadInput;
            continue;
        }
        const ScanReport report = scan::scanGame(seams.reader, game);
        if (!first && !options.json)
            output.out("\n");
        first = false;
        const char sep = seams.reader.separator();
        output.out(options.json ? jsonScan(game, report, sep)
                                : asText(game, report, sep, options.allFound));
        for (const Outcome& unread : report.unread) {
            output.problem(tr("%s: not read: %s", below(game, unread.path, sep),
                              reasonOf(unread).translated()));
        }
        const int found = !report.unread.empty()      ? kBadInput
                          : plantedCount(report) == 0 ? kDone
                                                      : kFound;
        status = std::max(status, found);
    }
    return status;
}

}  // namespace morvane::cli

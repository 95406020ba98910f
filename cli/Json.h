#pragma once

#include <string>

#include "cli/Report.h"
#include "core/Outcome.h"
#include "core/find/Installations.h"
#include "core/scan/Scanner.h"

// Every report the driver prints for programs (--json), the same in every language: names as they
// are and our texts in English (platform/Reason.h), whatever the reader's language is.
namespace morvane::cli {

// A search's report, or a clean's: "status" (and a clean's "game", "verdict", "files" and
// "backup"), one object on one line.
std::string jsonReport(const Report& report);

// A clean of `game` that stopped before it changed anything: why (`stop`, as "stop" names it for
// programs to rely on) and the detail, if there is one.
std::string jsonStop(const std::string& game, const Stopped& stop);

// A scan's report: "game", "findings", "protection", "unread"; paths with the separator `sep`.
std::string jsonScan(const std::string& game, const scan::ScanReport& report, char sep);

// What find found: "installations", "problems", "skipped".
std::string jsonFind(const find::FoundInstallations& found);

// `text` as a JSON string, quotes included. Bytes that are not UTF-8 become U+FFFD.
std::string jsonString(const std::string& text);

}  // namespace morvane::cli

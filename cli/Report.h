#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/clean/FileOutcomes.h"
#include "engine/RemovalRun.h"
#include "engine/TargetTable.h"

namespace morvane::cli {

// What the result label shows for a verdict.
std::string verdictCaption(Verdict verdict);

// What a search, or a clean, of one game folder came to.
struct Report {
    std::string game;  // a clean's: in its JSON object, and at the head of its text with heading
    std::array<bool, kGroupCount> asked{};  // the others were not searched
    std::array<bool, kGroupCount> found{};
    std::optional<Verdict> verdict;  // a clean's
    std::vector<FileOutcome> files;
    std::string backup;  // the backup a clean made, if it made one
};

// The report as text lines (a group not asked "not searched") or as one JSON object (null).
std::string formatReport(const Report& report, bool json, bool heading = false);

// The JSON object of a clean of `game` that stopped before it changed anything: why (`stop`, a
// name that programs may rely on) and the system's reason, if there is one.
std::string formatStop(const std::string& game, const std::string& stop, const std::string& reason);

}  // namespace morvane::cli

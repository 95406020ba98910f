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

// The report of a search (no verdict, no files) or a clean, as text lines or as one JSON object;
// a clean that made a backup names it.
std::string formatReport(const std::array<bool, kGroupCount>& status,
                         std::optional<Verdict> verdict, const std::vector<FileOutcome>& files,
                         bool json, const std::string& backup = {});

}  // namespace morvane::cli

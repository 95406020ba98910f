#pragma once

#include <array>
#include <optional>
#include <string>

#include "RemovalRun.h"
#include "TargetTable.h"

namespace morvane::cli {

// What the result label shows for a verdict.
std::string verdictCaption(Verdict verdict);

// The report of a search (no verdict) or a clean, as text lines or as one JSON object.
std::string formatReport(const std::array<bool, kGroupCount>& status,
                         std::optional<Verdict> verdict, bool json);

}  // namespace morvane::cli

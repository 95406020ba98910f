#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/Outcome.h"
#include "core/scan/Protection.h"
#include "engine/RemovalRun.h"
#include "engine/TargetTable.h"

namespace morvane::cli {

// What a search, or a clean, of one game folder came to.
struct Report {
    std::string game;  // a clean's: in its JSON object, and at the head of its text with heading
    std::array<bool, kGroupCount> asked{};  // the others were not searched
    std::array<bool, kGroupCount> found{};
    std::optional<Verdict> verdict;  // a clean's
    std::vector<Outcome> files;
    std::string backup;  // the backup a clean made, if it made one
};

// The report as text lines in the reader's language (a group not asked "not searched"), headed by
// its game folder when asked. Its JSON is cli/Json.h's.
std::string formatReport(const Report& report, bool heading = false);

// "PATH: WHAT WAS DONE" for one file in the reader's language, a failure's reason after it
// ("PATH: failed (copy: ...)") and a rewritten file's guards ("(it was read-only: it still is)").
std::string outcomeLine(const Outcome& file);

// What guarded a rewritten file, which it has again, in the reader's language or (`english`) as
// JSON says it: "read-only, hidden"; empty when nothing did.
std::string guardsText(const Guards& guards, bool english);

// Where the game's guard stands in an edition folder, in the reader's language.
std::string protectionWord(scan::Protection state);

}  // namespace morvane::cli

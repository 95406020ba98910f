#pragma once

#include <string>
#include <vector>

#include "engine/Steps.h"
#include "platform/FileHost.h"
#include "platform/Permissions.h"

namespace morvane {

// What became of one target of a clean.
enum class FileAction {
    Replaced,   // the replacement is in place
    Rewritten,  // the planted lines were taken out, every other line kept
    Deleted,    // the file is gone
    Absent,     // there was nothing to treat: the file, or its folder, did not exist
    Failed,     // it could not be treated as asked
};

// What guarded a file against change (the player's mark, or a booster's on what it planted),
// which a rewrite got past and gave back.
struct Guards {
    bool readOnly = false;
    bool hidden = false;
    bool system = false;

    bool any() const { return readOnly || hidden || system; }
};

Guards guardsOf(const Permissions& permissions);

struct FileOutcome {
    std::string path;
    FileAction action = FileAction::Absent;
    std::string reason;  // for a failure, which operation failed and why; the host's word else
    Guards guards{};     // of a rewritten file: those it had, and has again
};

// One outcome per target the run copied to or deleted, and per target on which any operation
// failed, in the order the run first met them. Taken in the run's order, a failure makes the
// target failed, with the first failure's reason; a copy or deletion that goes through makes it
// replaced or deleted, whatever failed before it (a link that could not be made writable is
// replaced all the same); a copy or deletion with nothing to treat leaves it absent. Targets of
// size readings and of attribute changes that all went through are left out.
std::vector<FileOutcome> fileOutcomes(const std::vector<Step>& steps);

// One outcome per temporary file that a killed run left and the clean removed before its run:
// deleted, or failed with why.
std::vector<FileOutcome> leftoverOutcomes(const std::vector<Leftover>& leftovers);

// Whether any target could not be treated.
bool anyFailed(const std::vector<FileOutcome>& files);

// The name of an operation in a failure's reason ("copy: ...").
const char* operationName(Operation what);

}  // namespace morvane

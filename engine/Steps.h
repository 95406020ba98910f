#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/FileHost.h"

namespace morvane {

// The host operations of a removal run, as they are recorded.
enum class Operation {
    SetAttributes,
    Delete,
    Copy,
    FolderSize,
    ProgramFolder,  // where the replacement files are, asked for a copy to the target: unknown
};

// One recorded operation: what it was, on which path, and how it went. The engine words nothing:
// a failure holds the host's reason as the host gave it, or none where the operation says it all.
struct Step {
    Operation what;
    std::string path;  // the target; the game folder for a size reading
    bool succeeded = false;
    bool absent = false;  // failed only because there was nothing at the path
    Reason reason;        // the host's reason for a failure, not yet worded
};

// The engine's single failure policy: every host operation is one step, and a step that fails is
// skipped silently while the run goes on with the next one. Callers pass each step's outcome here
// instead of testing it, so the policy stays in one place, and every outcome is kept, in order,
// for whoever wants to report them.
class Steps {
  public:
    void attempt(Operation what, const std::string& path, const ChangeResult& result) {
        steps_.push_back({what, path, result.succeeded, result.absent, result.reason});
    }
    const std::vector<Step>& all() const { return steps_; }
    std::size_t attempted() const { return steps_.size(); }
    std::size_t failed() const {
        std::size_t count = 0;
        for (const Step& step : steps_)
            count += step.succeeded ? 0 : 1;
        return count;
    }

  private:
    std::vector<Step> steps_;
};

}  // namespace morvane

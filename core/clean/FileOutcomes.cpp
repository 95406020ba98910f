#include "core/clean/FileOutcomes.h"

#include <algorithm>

namespace morvane {
namespace {

// The cause of a failed step, and its detail: the host's reason, or what the engine could not ask
// the host for.
Outcome failedStep(const Step& step) {
    switch (step.what) {
        case Operation::SetAttributes:
            return {step.path, Done::Failed, Cause::Attributes, step.reason};
        case Operation::Delete:
            return {step.path, Done::Failed, Cause::Delete, step.reason};
        case Operation::ProgramFolder:
            return {step.path, Done::Failed, Cause::Copy,
                    because("the program's folder is unknown")};
        case Operation::Copy:
        case Operation::FolderSize:
            break;
    }
    return {step.path, Done::Failed, Cause::Copy, step.reason};
}

}  // namespace

std::vector<Outcome> fileOutcomes(const std::vector<Step>& steps) {
    std::vector<Outcome> files;
    for (const Step& step : steps) {
        if (step.what == Operation::FolderSize)
            continue;
        const bool treat = step.what != Operation::SetAttributes;
        const bool failed = !step.succeeded && !step.absent;
        auto found = std::find_if(files.begin(), files.end(),
                                  [&](const Outcome& file) { return file.path == step.path; });
        if (found == files.end()) {
            if (!treat && !failed)
                continue;
            files.push_back({step.path, Done::Absent, Cause::None, {}});
            found = files.end() - 1;
        }
        Outcome& file = *found;
        if (failed) {
            if (file.done != Done::Failed)
                file = failedStep(step);
        } else if (treat && step.succeeded) {
            file.done = step.what == Operation::Copy ? Done::Replaced : Done::Deleted;
            file.cause = Cause::None;
            file.detail = {};
        } else if (treat && file.done == Done::Absent) {
            file.detail = step.reason;
        }
    }
    return files;
}

}  // namespace morvane

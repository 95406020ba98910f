#include "core/clean/FileOutcomes.h"

#include <algorithm>

namespace morvane {

Guards guardsOf(const Permissions& permissions) {
    const std::uint32_t attributes = permissions.attributes.value_or(0);
    return {(permissions.mode & 0200) == 0, (attributes & kHiddenAttribute) != 0,
            (attributes & kSystemAttribute) != 0};
}

const char* operationName(Operation what) {
    switch (what) {
        case Operation::SetAttributes:
            return "attributes";
        case Operation::Delete:
            return "delete";
        case Operation::Copy:
            return "copy";
        case Operation::FolderSize:
            return "size";
    }
    return "";
}

std::vector<FileOutcome> fileOutcomes(const std::vector<Step>& steps) {
    std::vector<FileOutcome> files;
    for (const Step& step : steps) {
        if (step.what == Operation::FolderSize)
            continue;
        const bool treat = step.what != Operation::SetAttributes;
        const bool failed = !step.succeeded && !step.absent;
        auto found = std::find_if(files.begin(), files.end(),
                                  [&](const FileOutcome& file) { return file.path == step.path; });
        if (found == files.end()) {
            if (!treat && !failed)
                continue;
            files.push_back({step.path, FileAction::Absent, {}, {}});
            found = files.end() - 1;
        }
        FileOutcome& file = *found;
        if (failed) {
            if (file.action != FileAction::Failed) {
                file.action = FileAction::Failed;
                file.reason = std::string(operationName(step.what)) + ": " + step.reason;
            }
        } else if (treat && step.succeeded) {
            file.action = step.what == Operation::Copy ? FileAction::Replaced : FileAction::Deleted;
            file.reason.clear();
        } else if (treat && file.action == FileAction::Absent) {
            file.reason = step.reason;
        }
    }
    return files;
}

std::vector<FileOutcome> leftoverOutcomes(const std::vector<Leftover>& leftovers) {
    std::vector<FileOutcome> files;
    for (const Leftover& file : leftovers) {
        if (file.removed.succeeded)
            files.push_back({file.path, FileAction::Deleted, {}});
        else
            files.push_back(
                {file.path, FileAction::Failed,
                 std::string(operationName(Operation::Delete)) + ": " + file.removed.reason});
    }
    return files;
}

bool anyFailed(const std::vector<FileOutcome>& files) {
    return std::any_of(files.begin(), files.end(),
                       [](const FileOutcome& file) { return file.action == FileAction::Failed; });
}

}  // namespace morvane

#include "windows/Notices.h"

#include "windows/Messages.h"

namespace morvane::ui {

namespace {

// `heading`, then the first `named` items, one a line, then how many more there are.
std::string listed(std::string_view heading, const std::vector<std::string>& items,
                   std::size_t named) {
    std::string text(heading);
    for (std::size_t i = 0; i < items.size() && i < named; ++i)
        text += "\n" + items[i];
    if (items.size() > named)
        text += "\n" + std::string(kAndMore) + std::to_string(items.size() - named);
    return text;
}

}  // namespace

std::string missingReplacementsNotice(const std::vector<std::string>& paths) {
    return listed(kReplacementsMissing, paths, 1) + "\n" + std::string(kReinstall);
}

std::string notTreatedNotice(const std::vector<FileOutcome>& outcomes) {
    std::vector<std::string> failed;
    for (const FileOutcome& file : outcomes) {
        if (file.action == FileAction::Failed)
            failed.push_back(file.path + " (" + file.reason + ")");
    }
    return failed.empty() ? std::string{} : listed(kFilesNotTreated, failed, 10);
}

}  // namespace morvane::ui

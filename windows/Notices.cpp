#include "windows/Notices.h"

#include "windows/Messages.h"

namespace morvane::ui {

namespace {

// `heading`, then the first `named` items, one a line, then how many more there are.
std::string listed(std::string_view heading, const std::vector<std::string>& items,
                   std::size_t named) {
    // Appended piece by piece: GCC 12 at -O3 misreads the temporaries of "a" + b as overlaps.
    std::string text(heading);
    for (std::size_t i = 0; i < items.size() && i < named; ++i)
        text.append("\n").append(items[i]);
    if (items.size() > named)
        text.append("\n").append(kAndMore).append(std::to_string(items.size() - named));
    return text;
}

}  // namespace

std::string missingReplacementsNotice(const std::vector<std::string>& paths) {
    return listed(kReplacementsMissing, paths, 1).append("\n").append(kReinstall);
}

std::string notTreatedNotice(const std::vector<FileOutcome>& outcomes) {
    std::vector<std::string> failed;
    for (const FileOutcome& file : outcomes) {
        if (file.action == FileAction::Failed)
            failed.push_back(std::string(file.path).append(" (").append(file.reason).append(")"));
    }
    return failed.empty() ? std::string{} : listed(kFilesNotTreated, failed, 10);
}

}  // namespace morvane::ui

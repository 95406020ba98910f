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

bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

// `path` below `folder`, as the engine joined them (a folder ending in a separator, as a drive root
// does, gets another): short enough not to wrap mid-name. Any other path as it is.
std::string belowFolder(const std::string& path, const std::string& folder) {
    const std::size_t end = folder.size();
    if (folder.empty() || path.compare(0, end, folder) != 0 || path.size() <= end ||
        (!isSeparator(folder.back()) && !isSeparator(path[end])))
        return path;
    const std::size_t name = path.find_first_not_of("\\/", end);
    return name == std::string::npos ? path : path.substr(name);
}

}  // namespace

std::string missingReplacementsNotice(const std::vector<std::string>& paths) {
    return listed(kReplacementsMissing, paths, 1).append("\n").append(kReinstall);
}

std::string notTreatedNotice(const std::vector<FileOutcome>& outcomes,
                             const std::string& gameFolder) {
    std::vector<std::string> failed;
    for (const FileOutcome& file : outcomes) {
        if (file.action == FileAction::Failed)
            failed.push_back(
                belowFolder(file.path, gameFolder).append(" (").append(file.reason).append(")"));
    }
    return failed.empty() ? std::string{} : listed(kFilesNotTreated, failed, 10);
}

std::string backupNotMadeNotice(clean::Stop stop, const std::string& reason) {
    std::string text(kBackupNotMade);
    text.append("\n");
    if (stop == clean::Stop::NoBackupsFolder)
        return text.append(kNoBackupsFolder);
    return text
        .append(stop == clean::Stop::BackupNotWritten ? kBackupNotWritten : kBackupFolderNotMade)
        .append(reason);
}

}  // namespace morvane::ui

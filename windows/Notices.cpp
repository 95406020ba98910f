#include "windows/Notices.h"

#include "windows/Messages.h"

namespace morvane::ui {

namespace {

using i18n::tr;

// `heading`, then the first `named` items, one a line, then how many more there are.
std::string listed(std::string_view heading, const std::vector<std::string>& items,
                   std::size_t named) {
    // Appended piece by piece: GCC 12 at -O3 misreads the temporaries of "a" + b as overlaps.
    std::string text = tr(heading);
    for (std::size_t i = 0; i < items.size() && i < named; ++i)
        text.append("\n").append(items[i]);
    if (const std::size_t more = items.size() > named ? items.size() - named : 0; more > 0) {
        // TRANSLATORS: after the items of a list that are named.
        text.append("\n").append(i18n::trn("and %d more", "and %d more", more, more));
    }
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
    return listed(kReplacementsMissing, paths, 1).append("\n").append(tr(kReinstall));
}

std::string notTreatedNotice(const std::vector<Outcome>& outcomes, const std::string& gameFolder) {
    std::vector<std::string> failed;
    for (const Outcome& file : outcomes) {
        if (file.done == Done::Failed) {
            failed.push_back(belowFolder(file.path, gameFolder)
                                 .append(" (")
                                 .append(reasonOf(file).translated())
                                 .append(")"));
        }
    }
    return failed.empty() ? std::string{} : listed(kFilesNotTreated, failed, 10);
}

std::string backupNotMadeNotice(const Stopped& stop) {
    std::string text = tr(kBackupNotMade);
    text.append("\n");
    if (stop == Stop::NoBackupsFolder)
        return text.append(tr(kNoBackupsFolder));
    return text.append(tr(stop == Stop::BackupNotWritten ? kBackupNotWritten : kBackupFolderNotMade,
                          stop.detail.translated()));
}

}  // namespace morvane::ui

#include "core/scan/ScannedFiles.h"

#include <algorithm>

#include "core/text/AsciiText.h"

namespace morvane::scan {

namespace {

// The scanned name that `relative` stands for, or null; `kind` set as fileKindOf says.
const ScannedName* scannedNameOf(std::string_view relative, std::optional<FileKind>& kind) {
    const std::size_t slash = relative.find('/');
    if (slash == std::string_view::npos)
        return nullptr;
    const std::string_view folder = relative.substr(0, slash);
    const std::string_view rest = relative.substr(slash + 1);
    const auto named = [&](std::string_view name) { return equalsIgnoringCase(folder, name); };
    if (std::none_of(kScannedFolders.begin(), kScannedFolders.end(), named))
        return nullptr;
    if (named(kDownloadsFolder) && rest.size() > 4 &&
        equalsIgnoringCase(rest.substr(rest.size() - 4), ".cfg")) {
        kind = FileKind::Download;
        return &kScannedNames.front();  // config.cfg stands for every config file
    }
    for (const ScannedName& scanned : kScannedNames) {
        if (equalsIgnoringCase(rest, scanned.relative)) {
            if (named(kValveFolder) && !scanned.inValve)
                return nullptr;
            kind = scanned.kind;
            return &scanned;
        }
    }
    return nullptr;
}

}  // namespace

std::optional<FileKind> fileKindOf(std::string_view relative) {
    std::optional<FileKind> kind;
    scannedNameOf(relative, kind);
    return kind;
}

bool isServersFile(std::string_view relative) {
    const std::size_t slash = relative.find('/');
    if (slash == std::string_view::npos)
        return false;
    return equalsIgnoringCase(relative.substr(0, slash), kDownloadsFolder) ||
           equalsIgnoringCase(relative.substr(slash + 1), "motd_temp.html");
}

std::optional<Group> groupOf(std::string_view relative) {
    std::optional<FileKind> kind;
    const ScannedName* name = scannedNameOf(relative, kind);
    return name ? std::optional(name->group) : std::nullopt;
}

}  // namespace morvane::scan

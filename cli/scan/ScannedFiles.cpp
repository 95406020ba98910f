#include "ScannedFiles.h"

#include <algorithm>

#include "AsciiText.h"

namespace morvane::scan {

std::optional<FileKind> fileKindOf(std::string_view relative) {
    const std::size_t slash = relative.find('/');
    if (slash == std::string_view::npos)
        return std::nullopt;
    const std::string_view folder = relative.substr(0, slash);
    const std::string_view rest = relative.substr(slash + 1);
    const auto named = [&](std::string_view name) { return equalsIgnoringCase(folder, name); };
    if (std::none_of(kScannedFolders.begin(), kScannedFolders.end(), named))
        return std::nullopt;
    if (named(kDownloadsFolder) && rest.size() > 4 &&
        equalsIgnoringCase(rest.substr(rest.size() - 4), ".cfg")) {
        return FileKind::Download;
    }
    for (const ScannedName& scanned : kScannedNames) {
        if (equalsIgnoringCase(rest, scanned.relative))
            return named(kValveFolder) && !scanned.inValve ? std::nullopt
                                                           : std::optional(scanned.kind);
    }
    return std::nullopt;
}

}  // namespace morvane::scan

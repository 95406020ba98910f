#include "engine/TargetTable.h"

#include <algorithm>

namespace morvane {

std::string joinPath(std::string_view folder, std::string_view relative, char separator) {
    std::string path;
    path.reserve(folder.size() + relative.size());
    path.append(folder);
    const std::size_t start = path.size();
    path.append(relative);
    std::replace(path.begin() + static_cast<std::ptrdiff_t>(start), path.end(), '\\', separator);
    return path;
}

std::string replacementPath(std::string_view replacementFolder, std::string_view fileName,
                            char separator) {
    std::string path(replacementFolder);
    path += separator;
    path.append(fileName);
    return path;
}

}  // namespace morvane

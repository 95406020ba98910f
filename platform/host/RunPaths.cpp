#include "platform/host/RunPaths.h"

namespace morvane {

std::optional<ChangeResult> refusal(const std::string& path, bool begun, bool gameOpen,
                                    const Reason& gameError, const std::string& gameFolder,
                                    SeparatorTest isSeparator) {
    const std::size_t length = gameFolder.size();
    if (!begun)
        return ChangeResult::failure(because("no run has begun"));
    if (path.empty())
        return ChangeResult::missing(because("no path"));
    if (!gameOpen)
        return ChangeResult::failure(gameError);
    if (path.compare(0, length, gameFolder) != 0 ||
        (path.size() > length && !isSeparator(gameFolder.back()) && !isSeparator(path[length]))) {
        return ChangeResult::failure(because("outside the game folder"));
    }
    return std::nullopt;
}

bool namesBelow(const std::string& path, std::size_t length, SeparatorTest isSeparator,
                std::vector<std::string>& names, ChangeResult& failure) {
    for (std::size_t pos = length; pos < path.size();) {
        std::size_t end = pos;
        while (end < path.size() && !isSeparator(path[end]))
            ++end;
        std::string name = path.substr(pos, end - pos);
        if (name == "..") {
            failure = ChangeResult::failure(because("\"..\" is not followed"));
            return false;
        }
        if (!name.empty() && name != ".")
            names.push_back(std::move(name));
        pos = end + 1;
    }
    if (names.empty())
        failure = ChangeResult::failure(because("the game folder itself"));
    return !names.empty();
}

}  // namespace morvane

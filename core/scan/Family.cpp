#include "core/scan/Family.h"

#include "core/scan/families/Families.h"
#include "core/text/AsciiText.h"

namespace morvane::scan {
namespace {

// The files below the downloads folder come first: there every .cfg is a server's file as a whole,
// whatever its name.
constexpr const Family* kFamilies[] = {&kDownloadedConfigs, &kConfigs,     &kLayouts,
                                       &kWelcomePages,      &kMasterLists, &kFavourites,
                                       &kEmulatorSettings};

// Whether the '/' separated `path` fits the '/' separated `pattern`, part by part; a part "**"
// stands for any number of parts.
bool fitsPath(std::string_view pattern, std::string_view path) {
    const std::size_t patternSlash = pattern.find('/');
    const std::string_view part = pattern.substr(0, patternSlash);
    if (part == "**") {
        if (patternSlash == std::string_view::npos)
            return true;
        const std::string_view rest = pattern.substr(patternSlash + 1);
        for (std::size_t at = 0;; ++at) {
            if (fitsPath(rest, path.substr(at)))
                return true;
            at = path.find('/', at);
            if (at == std::string_view::npos)
                return false;
        }
    }
    const std::size_t pathSlash = path.find('/');
    if (!fitsPattern(part, path.substr(0, pathSlash)))
        return false;
    if (patternSlash == std::string_view::npos || pathSlash == std::string_view::npos)
        return patternSlash == pathSlash;
    return fitsPath(pattern.substr(patternSlash + 1), path.substr(pathSlash + 1));
}

}  // namespace

std::string_view levelName(Level level) {
    return level == Level::Planted ? "planted" : "suspect";
}

std::span<const Family* const> families() {
    return kFamilies;
}

std::vector<const Rule*> allRules() {
    std::vector<const Rule*> all;
    for (const Family* family : kFamilies)
        all.insert(all.end(), family->rules.begin(), family->rules.end());
    return all;
}

Placed placeOf(std::string_view relative) {
    for (const Family* family : kFamilies) {
        for (const Place& place : family->places) {
            for (std::string_view folder : place.folders) {
                const std::string pattern =
                    folder.empty() ? std::string(place.name)
                                   : std::string(folder).append("/").append(place.name);
                if (fitsPath(pattern, relative))
                    return {family, &place};
            }
        }
    }
    return {};
}

Finding findingOn(const ScannedFile& file, const TextLine& line, const Rule* rule) {
    const std::size_t begin = static_cast<std::size_t>(line.text.data() - file.content.data());
    return {file.relative,
            line.number,
            std::string(line.text),
            rule,
            {begin, begin + line.text.size() + line.end.size()},
            file.place};
}

}  // namespace morvane::scan
